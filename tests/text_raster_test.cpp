#include "render/text_raster.h"

#include <gtest/gtest.h>

using namespace bb;

TEST(TextRaster, GlyphImageIsInvertedTextOverInvertedBackground) {
    EXPECT_EQ(text_image_pixel(255, 0x000000, 0xFFFFFF), 0xFFFFFFu);
    EXPECT_EQ(text_image_pixel(0, 0x000000, 0xFFFFFF), 0x000000u);
    EXPECT_EQ(text_image_pixel(255, 0x7F7F7F, 0xFFFFFF), 0x808080u);
    EXPECT_EQ(text_image_pixel(128, 0x000000, 0xFFFFFF), 0x808080u);
}

TEST(TextRaster, DarkeningRule) {
    struct Case {
        const char* what;
        uint32_t before, image, after;
    };
    const Case cases[] = {
        // Full ink on white: black, alpha 0; inverted later, a white glyph of alpha 255.
        {"ink", 0xFFFFFFFF, 0xFFFFFF, 0x00000000},
        // Background: 255 * 255 >> 8 = 254, alpha 255 * 254 >> 8 = 253 (inverted: alpha 2).
        {"background", 0xFFFFFFFF, 0x000000, 0xFDFEFEFE},
        // Grey ink 0x7F7F7F: (255 - 128) * 255 >> 8 = 126, alpha 127 * 126 >> 8 = 62.
        {"grey ink", 0xFFFFFFFF, 0x808080, 0x3E7E7E7E},
        // Channels apart; alpha follows red: b 0x80 -> 127, g 0x40 -> 63, r 0x20 -> 31, a 30.
        {"coloured", 0x11204080, 0x000000, 0x1E1F3F7F},
        // The image's red alone sets the alpha's factor.
        {"red ink", 0xFFFFFFFF, 0xFF0000, 0x0000FEFE},
    };
    for (const Case& c : cases) {
        uint32_t pixel = c.before;
        darken_with_text_image(&pixel, 0, 0, 1, &c.image, 1, 1);
        EXPECT_EQ(pixel, c.after) << c.what;
    }
}

TEST(TextRaster, BoxIsPlacedByRowLengthAndClippedToTheRow) {
    // A 4 x 2 image of 3-pixel boxes at (2, 1): the box's third column would
    // pass the row's end and is left out.
    uint32_t pixels[4 * 3];
    for (uint32_t& p : pixels) p = 0xFFFFFFFF;
    const uint32_t ink[3 * 2] = {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
    darken_with_text_image(pixels, 2, 1, 4, ink, 3, 2);
    for (int y = 0; y < 3; y++)
        for (int x = 0; x < 4; x++)
            EXPECT_EQ(pixels[y * 4 + x], y >= 1 && x >= 2 ? 0u : 0xFFFFFFFFu) << x << "," << y;
}
