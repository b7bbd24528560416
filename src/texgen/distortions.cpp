#include "texgen/distortions.h"

#include "texgen/texgen_state.h"

#include <cmath>
#include <cstdint>
#if defined(__SSE__)
#include <xmmintrin.h>
#endif

namespace bb {

// Nearest integer, ties to even. The SSE conversion does this in the default
// rounding mode without a library call, and gives a defined value (INT_MIN)
// for a coordinate far out of range.
static inline int32_t round_to_int(float x) {
#if defined(__SSE__)
    return _mm_cvtss_si32(_mm_set_ss(x));
#else
    float r = std::nearbyint(x);
    return r >= -2147483648.0f && r < 2147483648.0f ? static_cast<int32_t>(r) : INT32_MIN;
#endif
}

static inline uint32_t sample(const uint32_t* layer, float u, float v) {
    int32_t x = round_to_int(u * 256.0f);
    int32_t y = round_to_int(v * 256.0f);
    uint64_t fx = uint32_t(x) & 255, fy = uint32_t(y) & 255;
    uint32_t col = uint32_t(x >> 8) & 255, row = uint32_t(y >> 8) & 255;
    uint32_t col1 = (col + 1) & 255, row1 = (row + 1) & 255;
    uint64_t p00 = spread_channels(layer[row * 256 + col]);
    uint64_t p10 = spread_channels(layer[row * 256 + col1]);
    uint64_t p01 = spread_channels(layer[row1 * 256 + col]);
    uint64_t p11 = spread_channels(layer[row1 * 256 + col1]);
    // Each lane stays below 65,536: the four weights sum to 255 * 255 and every
    // product has been shifted down by 8 first.
    uint64_t sum = (((p11 * fx) >> 8) & LaneLowBytes) * fy +
                   (((p01 * fy) >> 8) & LaneLowBytes) * (255 - fx) +
                   (((p10 * fx) >> 8) & LaneLowBytes) * (255 - fy) +
                   (((p00 * (255 - fx)) >> 8) & LaneLowBytes) * (255 - fy);
    return pack_channels((sum >> 8) & LaneLowBytes);
}

uint32_t sample_bilinear(const uint32_t* layer, float u, float v) {
    return sample(layer, u, v);
}

void sine_warp(int target, const uint8_t* p) {
    const float step = TexturePi / 128.0f;
    const uint32_t* in = layer_pixels(target);
    uint32_t* out = TextureGenerator.ScratchA.Pixels;
    float dy[256];
    for (int c = 0; c < 256; c++)
        dy[c] = static_cast<float>(p[3]) * std::cos(static_cast<float>((c + p[5]) * p[1]) * step);
    for (int r = 0; r < 256; r++) {
        float dx =
            static_cast<float>(p[2]) * std::sin(static_cast<float>((r + p[4]) * p[0]) * step);
        for (int c = 0; c < 256; c++)
            out[r * 256 + c] =
                sample(in, static_cast<float>(c) + dx, static_cast<float>(r) + dy[c]);
    }
    commit_scratch_to_layer(target);
}

void scroll(int target, const uint8_t* p) {
    const uint32_t* in = layer_pixels(target);
    uint32_t* out = TextureGenerator.ScratchA.Pixels;
    for (int y = 0; y < 256; y++)
        for (int x = 0; x < 256; x++)
            out[y * 256 + x] = in[((y + p[1]) & 255) * 256 + ((x + p[0]) & 255)];
    commit_scratch_to_layer(target);
}

void swirl(int target, const uint8_t* p) {
    float k = (static_cast<float>(p[0]) - 127.5f) / 32.0f;
    float sign = k > 0.0f ? -1.0f : 1.0f;
    const float step = TexturePi / 256.0f;
    const uint32_t* in = layer_pixels(target);
    uint32_t* out = TextureGenerator.ScratchA.Pixels;
    for (int y = 0; y < 256; y++)
        for (int x = 0; x < 256; x++) {
            float xv = static_cast<float>(x) - 127.5f, yv = static_cast<float>(y) - 127.5f;
            float h = std::sqrt(xv * xv + yv * yv);
            float theta = std::atan2(xv, yv);
            float w = h <= 128.0f ? 128.0f + 128.0f * std::cos((128.0f - h) * k * step) : 0.0f;
            float phi = (theta * 128.0f / TexturePi + sign * w) * TexturePi / 128.0f;
            out[y * 256 + x] = sample(in, 128.0f + h * std::sin(phi), 128.0f + h * std::cos(phi));
        }
    commit_scratch_to_layer(target);
}

void displace(int target, const uint8_t* p) {
    float sx = static_cast<float>(p[2]) / 256.0f, sy = static_cast<float>(p[5]) / 256.0f;
    const uint32_t* in = layer_pixels(target);
    const uint32_t* xs = layer_pixels(p[0]);
    const uint32_t* ys = layer_pixels(p[3]);
    int xshift = channel_shift(p[1]), yshift = channel_shift(p[4]);
    uint32_t* out = TextureGenerator.ScratchA.Pixels;
    for (int r = 0; r < 256; r++)
        for (int c = 0; c < 256; c++) {
            int i = r * 256 + c;
            float a = static_cast<float>((xs[i] >> xshift) & 255);
            float b = static_cast<float>((ys[i] >> yshift) & 255);
            out[i] = sample(in, static_cast<float>(c) + a * sx, static_cast<float>(r) + b * sy);
        }
    commit_scratch_to_layer(target);
}

} // namespace bb
