#include "texgen/combine_ops.h"

#include "texgen/texgen_state.h"

#include <algorithm>

namespace bb {

// Combines red, green and blue of every target pixel with the other layer's.
template <typename Combine> static void combine_channels(int target, int other, Combine combine) {
    uint32_t* t = layer_pixels(target);
    const uint32_t* o = layer_pixels(other);
    for (int i = 0; i < TexturePixelCount; i++) {
        uint32_t v = t[i], w = o[i], result = 0;
        for (int shift = 0; shift <= 16; shift += 8)
            result |= uint32_t(combine(int((v >> shift) & 255), int((w >> shift) & 255))) << shift;
        t[i] = result;
    }
}

void cross_fade(int target, const uint8_t* p) {
    int k = p[1] >> 1;
    const uint8_t* mine = TextureGenerator.BrightnessTable[k];
    const uint8_t* theirs = TextureGenerator.BrightnessTable[127 - k];
    uint32_t* t = layer_pixels(target);
    const uint32_t* o = layer_pixels(p[0]);
    for (int i = 0; i < TexturePixelCount; i++) {
        uint32_t v = t[i], w = o[i];
        uint32_t result = v & 0xFF000000u; // the top byte keeps its value
        for (int shift = 0; shift <= 16; shift += 8)
            result |= uint32_t(mine[(v >> shift) & 255] + theirs[(w >> shift) & 255]) << shift;
        t[i] = result;
    }
}

void multiply(int target, const uint8_t* p) {
    combine_channels(target, p[0], [](int v, int o) { return (v * o) >> 8; });
}

void add(int target, const uint8_t* p) {
    combine_channels(target, p[0], [](int v, int o) { return std::min(v + o, 255); });
}

void lighten(int target, const uint8_t* p) {
    combine_channels(target, p[0], [](int v, int o) { return std::max(v, o); });
}

void mask_blend(int target, const uint8_t* p) {
    uint32_t* t = layer_pixels(target);
    const uint32_t* o = layer_pixels(p[0]);
    const uint32_t* mask = layer_pixels(p[1]);
    for (int i = 0; i < TexturePixelCount; i++) {
        int w = 255 - int(read_channel(mask[i], p[2]));
        uint32_t v = t[i], ov = o[i], result = 0;
        // trunc(v + (o - v) * w / 256) is exact in floats and never negative,
        // so the integer floor gives the same value.
        for (int shift = 0; shift <= 16; shift += 8) {
            int a = int((v >> shift) & 255), b = int((ov >> shift) & 255);
            result |= uint32_t((256 * a + (b - a) * w) >> 8) << shift;
        }
        t[i] = result;
    }
}

} // namespace bb
