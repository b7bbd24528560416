#include "render/text_raster.h"

namespace bb {

uint32_t text_image_pixel(uint8_t coverage, uint32_t text_colour, uint32_t background) {
    uint32_t ink = text_colour ^ 0xFFFFFFu, paper = background ^ 0xFFFFFFu;
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        uint32_t i = (ink >> shift) & 0xFF, p = (paper >> shift) & 0xFF;
        uint32_t c = (i * coverage + p * (255u - coverage) + 127u) / 255u;
        out |= c << shift;
    }
    return out;
}

void darken_with_text_image(uint32_t* pixels, int x, int y, int pitch, const uint32_t* image,
                            int width, int height) {
    if (!pixels || !image || x < 0 || y < 0 || width <= 0 || height <= 0) return;
    int columns = width < pitch - x ? width : pitch - x;
    for (int row = 0; row < height; row++) {
        uint32_t* d = pixels + static_cast<int64_t>(y + row) * pitch + x;
        const uint32_t* g = image + static_cast<int64_t>(row) * width;
        for (int col = 0; col < columns; col++) {
            uint32_t gb = g[col] & 0xFF, gg = (g[col] >> 8) & 0xFF, gr = (g[col] >> 16) & 0xFF;
            uint32_t db = d[col] & 0xFF, dg = (d[col] >> 8) & 0xFF, dr = (d[col] >> 16) & 0xFF;
            db = (255 - gb) * db >> 8;
            dg = (255 - gg) * dg >> 8;
            dr = (255 - gr) * dr >> 8;
            uint32_t da = (255 - gr) * dr >> 8;
            d[col] = (da << 24) | (dr << 16) | (dg << 8) | db;
        }
    }
}

} // namespace bb
