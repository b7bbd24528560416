#include "texgen/relief_map.h"

#include <cmath>

namespace bb {

void make_normal_map(const uint32_t* heights, int w, int h, int strength, uint32_t* out) {
    if (!heights || !out || w <= 0 || h <= 0) return;
    const float sign = strength >= 0 ? 2.0f : -2.0f;
    const int64_t a = strength; // 64 bits: a·a and a·256 of any int fit
    for (int y = 0; y < h; y++) {
        const uint32_t* row = heights + static_cast<int64_t>(y) * w;
        const uint32_t* above = heights + static_cast<int64_t>(y == 0 ? h - 1 : y - 1) * w;
        uint32_t* o = out + static_cast<int64_t>(y) * w;
        for (int x = 0; x < w; x++) {
            int c = static_cast<int>(row[x] & 0xFF);
            int dx = c - static_cast<int>(row[x == 0 ? w - 1 : x - 1] & 0xFF);
            int dy = c - static_cast<int>(above[x] & 0xFF);
            // At most 2·255² + a², exact in a float for any a the game uses;
            // 2·sqrt of an integer is never within float error of another integer.
            float sum = static_cast<float>(dx * dx + dy * dy + a * a);
            int64_t len = static_cast<int64_t>(std::sqrt(sum) * sign);
            if (len == 0) {
                o[x] = FlatRelief;
                continue;
            }
            uint32_t blue = static_cast<uint32_t>(dx * 256 / len + 127) & 0xFF;
            uint32_t green = static_cast<uint32_t>(dy * 256 / len + 127) & 0xFF;
            uint32_t red = static_cast<uint32_t>(a * 256 / len + 127) & 0xFF;
            o[x] = (red << 16) | (green << 8) | blue;
        }
    }
}

} // namespace bb
