// Small helpers shared by the texture generator tests.
#pragma once

#include "texgen/interpreter.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace bb::test {

// Sets every pixel of a layer to one value.
inline void fill_layer(int layer, uint32_t value) {
    uint32_t* px = layer_pixels(layer);
    for (int i = 0; i < TexturePixelCount; i++) px[i] = value;
}

// Layer contents with a pattern that differs in every channel and pixel.
inline void fill_layer_pattern(int layer) {
    uint32_t* px = layer_pixels(layer);
    for (int i = 0; i < TexturePixelCount; i++) {
        uint32_t x = uint32_t(i) & 255, y = uint32_t(i) >> 8;
        px[i] = (((x * 7 + y * 3) & 255) << 16) | (((x ^ y) & 255) << 8) | ((x + 5 * y) & 255);
    }
}

inline std::vector<uint32_t> layer_copy(int layer) {
    const uint32_t* px = layer_pixels(layer);
    return std::vector<uint32_t>(px, px + TexturePixelCount);
}

inline uint32_t pixel_at(int layer, int x, int y) {
    return layer_pixels(layer)[y * 256 + x];
}

inline uint32_t grey(uint32_t v) {
    return v * 0x010101u;
}

// The bytes of a program: the header with the given count, then body.
inline std::vector<uint8_t> program_bytes(int count, const std::vector<uint8_t>& body) {
    std::vector<uint8_t> bytes(4 + body.size());
    bytes[0] = 'Q';
    bytes[1] = 'T';
    bytes[2] = 'X';
    bytes[3] = uint8_t(count);
    std::copy(body.begin(), body.end(), bytes.begin() + 4);
    return bytes;
}

inline TextureProgram as_program(const std::vector<uint8_t>& bytes) {
    return {bytes.data(), uint32_t(bytes.size())};
}

} // namespace bb::test
