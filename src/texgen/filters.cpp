#include "texgen/filters.h"

#include "texgen/texgen_state.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace bb {

void shift_difference(int target, const uint8_t* p) {
    const uint32_t* in = layer_pixels(target);
    uint32_t* out = TextureGenerator.ScratchA.Pixels;
    int offset = 257 * p[0];
    for (int i = 0; i < TexturePixelCount; i++) {
        uint32_t s = in[(i + offset) & (TexturePixelCount - 1)], v = in[i];
        uint32_t result = 0;
        for (int shift = 0; shift <= 16; shift += 8) {
            int d = int((s >> shift) & 255) - int((v >> shift) & 255);
            result |= uint32_t(std::max(d, 0)) << shift;
        }
        out[i] = result;
    }
    commit_scratch_to_layer(target);
}

void blur_passes(int target, int passes) {
    if (passes <= 0) return;
    // Passes alternate between the layer and ScratchA; an odd count ends in
    // ScratchA and is copied back.
    uint32_t* src = layer_pixels(target);
    uint32_t* dst = TextureGenerator.ScratchA.Pixels;
    for (int pass = 0; pass < passes; pass++) {
        for (int y = 0; y < 256; y++) {
            const uint32_t* up = src + ((y - 1) & 255) * 256;
            const uint32_t* row = src + y * 256;
            const uint32_t* down = src + ((y + 1) & 255) * 256;
            uint32_t* out = dst + y * 256;
            auto blur_at = [&](int x, int left, int right) {
                uint64_t sum = 4 * spread_channels(row[x]) + spread_channels(row[left]) +
                               spread_channels(row[right]) + spread_channels(up[x]) +
                               spread_channels(down[x]);
                out[x] = pack_channels((sum >> 3) & LaneLowBytes);
            };
            // The wrap is only at the two edge columns; the rest runs unmasked.
            blur_at(0, 255, 1);
            for (int x = 1; x < 255; x++) blur_at(x, x - 1, x + 1);
            blur_at(255, 254, 0);
        }
        std::swap(src, dst);
    }
    if (src != layer_pixels(target)) commit_scratch_to_layer(target);
}

void blur(int target, const uint8_t* p) {
    blur_passes(target, p[0]);
}

void directional_blur(int target, const uint8_t* p) {
    int count = p[2];
    if (count == 0) return; // would divide by zero; the game never asks for it
    float sin_of[256], cos_of[256];
    for (int v = 0; v < 256; v++) {
        float a = static_cast<float>(v) * TexturePi / 128.0f;
        sin_of[v] = std::sin(a);
        cos_of[v] = std::cos(a);
    }
    const uint32_t* in = layer_pixels(target);
    const uint32_t* dir = layer_pixels(p[0]);
    int dir_shift = channel_shift(p[1]);
    uint32_t* out = TextureGenerator.ScratchA.Pixels;
    for (int y = 0; y < 256; y++)
        for (int x = 0; x < 256; x++) {
            uint32_t a = (dir[y * 256 + x] >> dir_shift) & 255;
            float sr = 0.0f, sg = 0.0f, sb = 0.0f;
            for (int n = 0; n < count; n++) {
                float t = static_cast<float>(2 * n);
                int col = static_cast<int>(static_cast<float>(x) + t * sin_of[a]) & 255;
                int row = static_cast<int>(static_cast<float>(y) + t * cos_of[a]) & 255;
                uint32_t s = in[row * 256 + col];
                sr += static_cast<float>((s >> 16) & 255);
                sg += static_cast<float>((s >> 8) & 255);
                sb += static_cast<float>(s & 255);
            }
            float n = static_cast<float>(count);
            out[y * 256 + x] =
                (uint32_t(sr / n) << 16) | (uint32_t(sg / n) << 8) | uint32_t(sb / n);
        }
    commit_scratch_to_layer(target);
    blur_passes(target, 2);
}

void horizontal_edge(int target) {
    const uint32_t* in = layer_pixels(target);
    uint32_t* out = TextureGenerator.ScratchA.Pixels;
    for (int y = 0; y < 256; y++)
        for (int x = 0; x < 256; x++) {
            uint32_t result = 0;
            for (int shift = 0; shift <= 16; shift += 8) {
                int sum = 128;
                for (int dy = -1; dy <= 1; dy++) {
                    const uint32_t* row = in + ((y + dy) & 255) * 256;
                    sum += int((row[(x + 1) & 255] >> shift) & 255) -
                           int((row[(x - 1) & 255] >> shift) & 255);
                }
                result |= uint32_t(std::clamp(sum, 0, 255)) << shift;
            }
            out[y * 256 + x] = result;
        }
    commit_scratch_to_layer(target);
}

} // namespace bb
