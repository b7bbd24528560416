// The screen font: a 16 by 16 grid of 16-pixel cells, character code c in
// cell (c mod 16, c / 16), white with the glyph's coverage as alpha.
#pragma once

#include "platform/gfx.h"

#include <cstdint>

namespace bb {

constexpr int FontAtlasSize = 256; // pixels per side
constexpr int FontCellSize = 16;   // pixels per cell side

extern GfxTexture FontAtlas;

// Top-left pixel of the cell of character code c (0..255).
inline void font_atlas_cell(int c, int& x, int& y) {
    x = (c % 16) * FontCellSize;
    y = (c / 16) * FontCellSize;
}

// The atlas image: every code drawn in 12-point bold "Lucida Console" black on
// white, then every bit inverted (glyphs white with alpha = coverage, the
// background nearly black with alpha 2; code 0 stays empty).
void build_font_atlas_image(uint32_t* atlas);
// Makes FontAtlas once at start-up, with a full mipmap chain.
void build_font_atlas();

} // namespace bb
