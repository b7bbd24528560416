// Text drawn into 32-bit images: the font atlas and the menu labels.
#pragma once

#include <cstdint>

namespace bb {

// Draws text with its top-left corner at (0, 0) of a width x height box at
// (x, y) of pixels (pitch pixels a row; bytes blue, green, red, alpha) in the
// face's bold style at point_size points (96 dpi), and darkens the box with it:
// the box's pixels take the darkening rule of darken_with_text_image for the
// glyph image of text_colour on background (0x00RRGGBB). Nothing is drawn for
// an empty text or when no font can be loaded; false only for the latter.
// Defined by the platform layer, which owns the font rasteriser.
bool render_text_into(uint32_t* pixels, const char* text, int x, int y, int pitch, int width,
                      int height, int point_size, uint32_t text_colour, uint32_t background,
                      const char* face);

// The glyph image's pixel (0x00RRGGBB) at a coverage of 0..255: the inverted
// text colour over the inverted background, so that ink is bright.
uint32_t text_image_pixel(uint8_t coverage, uint32_t text_colour, uint32_t background);

// With d a box pixel and g the image's: each of blue, green and red becomes
// (255 - g) * d >> 8, then alpha = (255 - g.red) * (the new red) >> 8. The box
// is clipped to the row length; x and y must not be negative.
void darken_with_text_image(uint32_t* pixels, int x, int y, int pitch, const uint32_t* image,
                            int width, int height);

} // namespace bb
