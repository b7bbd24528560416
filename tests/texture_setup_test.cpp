// The start-up textures: relief maps, menu labels, what is uploaded.
#include "game/menu.h"
#include "physics_fixture.h"
#include "render/scene_geometry.h"
#include "render/texture_slots.h"
#include "texgen/relief_map.h"
#include "texgen/texture_programs.h"
#include "texgen/texture_setup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

using namespace bb;

TEST(ReliefMap, UniformHeightsGiveTheFlatRelief) {
    // Only the blue byte is a height: red and green may hold anything.
    for (uint32_t pixel : {0x000000u, 0x7F7F7Fu, 0x12AB34u, 0xFFFFFFu}) {
        std::vector<uint32_t> heights(5 * 3, pixel), out(5 * 3, 0);
        make_normal_map(heights.data(), 5, 3, ReliefStrength, out.data());
        for (uint32_t p : out) EXPECT_EQ(p, FlatRelief) << std::hex << pixel;
    }
}

TEST(ReliefMap, RaisedPixelTiltsItselfAndTheNeighboursPastItsWrappedEdges) {
    // Height 200 at the last column and row of a 4 x 3 image (green and red
    // bytes are noise): the first column's pixel of that row has it as its
    // left neighbour, the first row's pixel of that column as the one above.
    std::vector<uint32_t> heights(4 * 3, 0x5A3C00), out(4 * 3, 0);
    heights[2 * 4 + 3] = 0xFFFF00 | 200;
    make_normal_map(heights.data(), 4, 3, ReliefStrength, out.data());
    // The raised pixel: dx = dy = 200, len = trunc(sqrt(90000) * -2) = -600;
    // blue = green = 51200 / -600 + 127 = 42, red = -25600 / -600 + 127 = 169.
    // Right of it (wrapped to x = 0): dx = -200, len = trunc(sqrt(50000) * -2)
    // = -447; blue = -51200 / -447 + 127 = 241, red = 57 + 127 = 184. Below it
    // (wrapped to y = 0): the same in green.
    for (int y = 0; y < 3; y++)
        for (int x = 0; x < 4; x++) {
            uint32_t want = FlatRelief;
            if (x == 3 && y == 2) want = 0x00A92A2A;
            if (x == 0 && y == 2) want = 0x00B87FF1;
            if (x == 3 && y == 0) want = 0x00B8F17F;
            EXPECT_EQ(out[y * 4 + x], want) << std::hex << x << "," << y;
        }
}

TEST(ReliefMap, StrengthZeroWrapsBytesAndNeverDividesByZero) {
    // Heights 0, 5 and 5 in one row, strength 0. Pixel 0: dx = -5 (its left
    // neighbour wraps to the last), len = 10, blue = -128 + 127 = -1, taken
    // modulo 256; pixel 1: dx = 5, blue = 255; pixel 2 is flat, len = 0.
    const uint32_t heights[3] = {0, 5, 5};
    uint32_t out[3] = {};
    make_normal_map(heights, 3, 1, 0, out);
    EXPECT_EQ(out[0], 0x007F7FFFu);
    EXPECT_EQ(out[1], 0x007F7FFFu);
    EXPECT_EQ(out[2], FlatRelief);
}

namespace {

bool is_white(uint32_t p) {
    return p == 0xFFFFFFu;
}

// Rows of a white image that a slot's labels changed, and rows with ink
// (blue below 200), over the label columns.
struct LabelRows {
    std::vector<bool> Touched, Ink;
    int Darkest = 255;
    bool LeftColumnsTouched = false;
};

LabelRows draw_labels_on_white(int slot) {
    static TextureImage image;
    for (uint32_t& p : image.Pixels) p = 0xFFFFFF;
    EXPECT_TRUE(draw_menu_labels(image, slot));
    LabelRows rows{std::vector<bool>(TextureSize), std::vector<bool>(TextureSize)};
    for (int y = 0; y < TextureSize; y++)
        for (int x = 0; x < TextureSize; x++) {
            uint32_t p = image.Pixels[y * TextureSize + x];
            if (x < MenuLabelX) {
                rows.LeftColumnsTouched |= !is_white(p);
                continue;
            }
            rows.Touched[y] = rows.Touched[y] || !is_white(p);
            rows.Ink[y] = rows.Ink[y] || (p & 0xFF) < 200;
            rows.Darkest = std::min(rows.Darkest, static_cast<int>(p & 0xFF));
        }
    return rows;
}

int band_of_row(int y) {
    for (int k = 0; k < MenuLabelFieldCount; k++)
        if (y >= menu_label_top(k) && y < menu_label_top(k) + MenuLabelBoxHeight) return k;
    return -1;
}

} // namespace

TEST(MenuLabels, EachLabelFillsItsBandAndTheFirstEmptyFieldEndsThePage) {
    struct Case {
        int slot;
        bool inked[4]; // bands with letters; bands 0-3 are drawn, 4 and 5 not
        int darkest_at_most, darkest_at_least;
    };
    const Case cases[] = {
        {8, {true, true, true, true}, 10, 0},     // black letters
        {9, {true, true, true, true}, 140, 100},  // grey letters: never darker than mid-grey
        {11, {true, true, true, true}, 140, 100}, // "No shadow" ... "12 lights"
        // " ", " Documentation", " ", "     OK": the blanks draw nothing but
        // still take their rows, so "OK" lies in band 3.
        {12, {false, true, false, true}, 10, 0},
    };
    for (const Case& c : cases) {
        LabelRows rows = draw_labels_on_white(c.slot);
        EXPECT_FALSE(rows.LeftColumnsTouched) << c.slot;
        bool inked[MenuLabelFieldCount] = {};
        for (int y = 0; y < TextureSize; y++) {
            int band = band_of_row(y);
            EXPECT_EQ(rows.Touched[y], band >= 0 && band < 4) << "slot " << c.slot << " row " << y;
            if (band >= 0) inked[band] = inked[band] || rows.Ink[y];
        }
        for (int k = 0; k < 4; k++)
            EXPECT_EQ(inked[k], c.inked[k]) << "slot " << c.slot << " " << k;
        EXPECT_LE(rows.Darkest, c.darkest_at_most) << c.slot;
        EXPECT_GE(rows.Darkest, c.darkest_at_least) << c.slot;
    }
    // Slots without labels are left alone.
    for (int slot : {0, 7, 14}) {
        LabelRows rows = draw_labels_on_white(slot);
        EXPECT_EQ(std::count(rows.Touched.begin(), rows.Touched.end(), true), 0) << slot;
    }
}

TEST_F(GameSceneTest, MenuSignsMapTheirLabelBands) {
    // Each sign's broad faces (the planes x = -85 +- 0.6 as built) cover the
    // texture rows of the band of its row plus the column's label offset.
    for (int page : {0, 1, 3}) {
        MenuPage = page;
        build_menu();
        int signs = 0;
        for (int b = 0; b < BodyCount; b++) {
            Body& body = Bodies[b];
            if (body.ItemId <= 0 || body.TextureIndex < 4) continue; // signs only
            signs++;
            int label = (body.ItemId - 1) % 16 + (page == 3 ? 2 : 0);
            reset_light_geometry();
            build_body_geometry(body);
            float v_min = 1e9f, v_max = -1e9f;
            for (int t = 0; t < FrameGeometry.LitCount; t++) {
                const LitVertex* v = FrameGeometry.Lit + 3 * t;
                if (std::abs(v[0].X - v[1].X) > 1e-3f || std::abs(v[0].X - v[2].X) > 1e-3f)
                    continue;
                for (int i = 0; i < 3; i++) {
                    v_min = std::min(v_min, v[i].V * TextureSize);
                    v_max = std::max(v_max, v[i].V * TextureSize);
                }
            }
            EXPECT_LE(v_min, menu_label_top(label) + 0.01f)
                << "page " << page << " item " << body.ItemId;
            EXPECT_GE(v_max, menu_label_top(label) + MenuLabelBoxHeight - 0.01f)
                << "page " << page << " item " << body.ItemId;
        }
        EXPECT_GT(signs, 0) << page;
    }
}

namespace {

// What the start-up uploads, made once for the suite.
struct UploadedImages : ::testing::Test {
    static inline std::vector<TextureImage>* Images = nullptr;
    static inline std::vector<std::string> Problems;
    static void SetUpTestSuite() {
        Images = new std::vector<TextureImage>(make_texture_images(2, Problems));
    }
    static void TearDownTestSuite() { delete Images; }
    static bool same(int a, int b) {
        return std::memcmp((*Images)[a].Pixels, (*Images)[b].Pixels, sizeof(TextureImage)) == 0;
    }
};

} // namespace

TEST_F(UploadedImages, WrestlersShareTheirReliefAndEachMenuPageHasItsOwn) {
    ASSERT_EQ(Images->size(), size_t(TextureSlotCount));
    EXPECT_TRUE(Problems.empty()) << Problems.front();
    EXPECT_TRUE(same(4, 6));
    for (auto [a, b] : {std::pair{8, 10}, {8, 12}, {10, 12}, {9, 11}, {9, 13}, {11, 13}})
        EXPECT_FALSE(same(a, b)) << a << " " << b;
    // Relief maps are made of normals: red (along the face) never below the
    // middle, top byte 0; most of the ring's relief is not flat.
    for (int slot = 0; slot < TextureSlotCount; slot += 2)
        for (uint32_t p : (*Images)[slot].Pixels) {
            ASSERT_EQ(p >> 24, 0u) << slot;
            ASSERT_GE((p >> 16) & 0xFF, 127u) << slot;
        }
    const uint32_t* ring = (*Images)[0].Pixels;
    EXPECT_GT(
        std::count_if(ring, ring + TexturePixelCount, [](uint32_t p) { return p != FlatRelief; }),
        TexturePixelCount / 2);
}

TEST_F(UploadedImages, ColourImagesAreTheProgramsOutputWithLabels) {
    std::vector<TextureImage> generated = generate_textures(TextureList, nullptr);
    for (int slot = 1; slot < TextureSlotCount; slot += 2) {
        bool labelled = menu_label_page(slot) >= 0;
        EXPECT_EQ(
            std::memcmp(generated[slot].Pixels, (*Images)[slot].Pixels, sizeof(TextureImage)) == 0,
            !labelled)
            << slot;
    }
}

namespace {

struct UploadCall {
    const uint32_t* Pixels;
    int W, H, Levels;
    uint32_t First;
};
std::vector<UploadCall> Uploads;
const uint32_t* Refused[2];

GfxTexture fake_upload(const uint32_t* pixels, int w, int h, int levels) {
    Uploads.push_back(UploadCall{pixels, w, h, levels, pixels[0]});
    if (pixels == Refused[0] || pixels == Refused[1]) return 0;
    return static_cast<GfxTexture>(100 + Uploads.size());
}

} // namespace

TEST(TextureUpload, EverySlotGetsAFullMipChainAndARefusedOneStaysPlain) {
    std::vector<TextureImage> images(TextureSlotCount);
    for (int i = 0; i < TextureSlotCount; i++) images[i].Pixels[0] = 0xAB0000u + i;
    Refused[0] = images[3].Pixels;
    Refused[1] = images[8].Pixels;
    Uploads.clear();
    std::vector<std::string> problems;
    upload_texture_slots(images, fake_upload, problems);

    ASSERT_EQ(Uploads.size(), size_t(TextureSlotCount + 2));
    for (const UploadCall& c : Uploads) EXPECT_EQ(c.Levels, 0);
    // Slot 3's refused image, then an 8 x 8 mid-grey; slot 8's, then the flat relief.
    EXPECT_EQ(Uploads[4].W, 8);
    EXPECT_EQ(Uploads[4].First, PlainSlotColour);
    EXPECT_EQ(Uploads[10].W, 8);
    EXPECT_EQ(Uploads[10].First, FlatRelief);
    EXPECT_EQ(TextureSlots[3], GfxTexture(100 + 5));
    EXPECT_EQ(TextureSlots[8], GfxTexture(100 + 11));
    EXPECT_EQ(TextureSlots[13], GfxTexture(100 + 16));
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0], "slot 3: the driver refused its texture; it stays plain");
    EXPECT_EQ(problems[1], "slot 8: the driver refused its texture; it stays plain");
    for (GfxTexture& t : TextureSlots) t = 0;
}
