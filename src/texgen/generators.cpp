#include "texgen/generators.h"

#include "texgen/texgen_state.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace bb {

int32_t noise_hash(int32_t n) {
    // Two's complement wrap-around throughout, hence the unsigned arithmetic.
    uint32_t u = static_cast<uint32_t>(n);
    uint32_t x = u ^ (u << 13);
    uint32_t h =
        (x * x * 15731u + 789221u) * (x + static_cast<uint32_t>(TextureGenerator.NoiseSeed)) +
        1376312589u;
    return static_cast<int32_t>(h) / 12359;
}

float cubic_interpolate(float s0, float s1, float s2, float s3, float t) {
    float p = (s3 - s2) - (s0 - s1);
    float q = (s0 - s1) - p;
    float r = s2 - s0;
    return p * t * t * t + q * t * t + r * t + s1;
}

void build_cosine_weights(int s) {
    for (int j = 0; j < s; j++) {
        float angle = static_cast<float>(j) * TexturePi / static_cast<float>(s);
        TextureGenerator.CosineWeights[j] =
            static_cast<int32_t>((1.0f - std::cos(angle)) * 0.5f * 256.0f);
    }
}

int32_t seed_from_bytes(const uint8_t* b) {
    return static_cast<int32_t>((uint32_t(b[0]) << 24) | (uint32_t(b[1]) << 16) |
                                (uint32_t(b[2]) << 8) | uint32_t(b[3]));
}

// One octave of cosine-interpolated value noise in 16.16 fixed point.
// Lattice points keep their values in both passes (weight 0), so both passes
// work in place.
static void fractal_octave(int32_t* field, int s, float amplitude) {
    std::memset(field, 0, sizeof(int32_t) * TexturePixelCount);
    int32_t k = 0;
    for (int y = 0; y < 256; y += s)
        for (int x = 0; x < 256; x += s) {
            int32_t v = static_cast<int32_t>(static_cast<float>(noise_hash(k) & 255) *
                                             (amplitude / 256.0f));
            field[y * 256 + x] = v << 16;
            k++;
        }
    build_cosine_weights(s);
    const int32_t* w = TextureGenerator.CosineWeights;
    for (int y = 0; y < 256; y += s) {
        int32_t* row = field + y * 256;
        for (int x = 0; x < 256; x++) {
            int x0 = x & (256 - s);
            int x1 = (x0 + s) & 255;
            int32_t a = row[x0], b = row[x1];
            row[x] = a + (((b - a) * w[x & (s - 1)]) >> 8);
        }
    }
    for (int y = 1; y < 256; y++) {
        int y0 = y & (256 - s);
        int y1 = (y0 + s) & 255;
        int32_t wy = w[y & (s - 1)];
        const int32_t* r0 = field + y0 * 256;
        const int32_t* r1 = field + y1 * 256;
        int32_t* out = field + y * 256;
        if (wy == 0) {
            if (out != r0) std::memcpy(out, r0, sizeof(int32_t) * 256);
            continue;
        }
        for (int x = 0; x < 256; x++) out[x] = r0[x] + (((r1[x] - r0[x]) * wy) >> 8);
    }
}

void fractal_noise(int target, const uint8_t* p) {
    TextureGeneratorState& g = TextureGenerator;
    g.NoiseSeed = seed_from_bytes(p + 2);
    // Signed and unsigned views of one object may alias.
    int32_t* sum = reinterpret_cast<int32_t*>(g.ScratchA.Pixels);
    int32_t* octave = reinterpret_cast<int32_t*>(g.ScratchB.Pixels);
    fractal_octave(sum, 128, 128.0f);
    for (int s = 64; s >= 1; s /= 2) {
        fractal_octave(octave, s, static_cast<float>(s));
        for (int i = 0; i < TexturePixelCount; i++) sum[i] += octave[i];
    }
    uint32_t* px = layer_pixels(target);
    int c = p[0];
    for (int i = 0; i < TexturePixelCount; i++)
        px[i] = write_channel(px[i], c, static_cast<uint32_t>(sum[i] >> 16));
}

void sine_plasma(int target, const uint8_t* p) {
    const float step = TexturePi / 128.0f;
    float column[256], row[256];
    for (int i = 0; i < 256; i++) {
        column[i] = std::sin(static_cast<float>((i + p[2]) * p[0]) * step);
        row[i] = std::sin(static_cast<float>((i + p[3]) * p[1]) * step);
    }
    uint32_t* px = layer_pixels(target);
    int c = p[6];
    for (int y = 0; y < 256; y++)
        for (int x = 0; x < 256; x++) {
            uint32_t v = static_cast<uint32_t>((column[x] + row[y]) * 63.0f + 127.0f);
            px[y * 256 + x] = write_channel(px[y * 256 + x], c, v);
        }
}

void cells(int target, const uint8_t* p) {
    TextureGeneratorState& g = TextureGenerator;
    float scale = static_cast<float>(p[2]) * 0.0390625f;
    uint32_t* cone = g.ScratchB.Pixels;
    for (int r = 0; r < 256; r++)
        for (int c = 0; c < 256; c++) {
            float dc = static_cast<float>(c - 128), dr = static_cast<float>(r - 128);
            float d = std::min(std::sqrt(dc * dc + dr * dr) * scale, 255.0f);
            cone[r * 256 + c] = static_cast<uint32_t>(d);
        }
    g.NoiseSeed = seed_from_bytes(p + 3);
    uint32_t* nearest = g.ScratchA.Pixels;
    std::fill(nearest, nearest + TexturePixelCount, 255u);
    for (int i = 0; i < p[1]; i++) {
        int px = noise_hash(2 * i) & 255;
        int py = noise_hash(2 * i + 1) & 255;
        // The point's 256 by 256 window covers the torus once: cone row j lands
        // on image row py - 128 + j, and each row splits into two straight runs.
        int first_col = (px - 128) & 255;
        int run = 256 - first_col;
        for (int j = 0; j < 256; j++) {
            uint32_t* out = nearest + ((py - 128 + j) & 255) * 256;
            const uint32_t* in = cone + j * 256;
            for (int k = 0; k < run; k++) out[first_col + k] = std::min(out[first_col + k], in[k]);
            for (int k = run; k < 256; k++) out[k - run] = std::min(out[k - run], in[k]);
        }
    }
    uint32_t* out = layer_pixels(target);
    for (int i = 0; i < TexturePixelCount; i++) out[i] = write_channel(out[i], p[0], nearest[i]);
}

void radial_spot(int target, const uint8_t* p) {
    float d;
    if (p[0] == 0)
        d = 1.0f;
    else if (p[0] == 1)
        d = static_cast<float>(p[2]) / 256.0f + 0.8f;
    else
        return;
    uint32_t* px = layer_pixels(target);
    for (int y = 0; y < 256; y++)
        for (int x = 0; x < 256; x++) {
            float dy = static_cast<float>(y - 128), dx = static_cast<float>(x - 128);
            float dist = std::sqrt(dy * dy + dx * dx);
            int v = static_cast<int>(255.0f - 2.0f * d * dist);
            uint32_t g = static_cast<uint32_t>(std::clamp(v, 0, 255));
            uint32_t& out = px[y * 256 + x];
            out = p[0] == 0 ? g * 0x010101u : write_channel(out, p[1], g);
        }
}

void smooth_noise(int target, const uint8_t* p) {
    if (p[1] == 0) return;
    // Steps that are not powers of two do not occur; they are rounded down to
    // one so that the lattice tiles the image.
    int s = 1;
    while (s * 2 <= p[1]) s *= 2;
    TextureGeneratorState& g = TextureGenerator;
    g.NoiseSeed = seed_from_bytes(p + 2);
    float* f = g.SmoothField;
    std::fill(f, f + TexturePixelCount, 0.0f);
    int32_t k = 0;
    for (int y = 0; y < 256; y += s)
        for (int x = 0; x < 256; x += s) {
            f[y * 256 + x] = static_cast<float>(noise_hash(k) & 255) * (255.0f / 256.0f);
            k++;
        }
    float inv_s = 1.0f / static_cast<float>(s);
    for (int y = 0; y < 256; y += s) {
        float* row = f + y * 256;
        for (int x = 1; x < 256; x++) {
            int x0 = x & (256 - s);
            float t = static_cast<float>(x & (s - 1)) * inv_s;
            row[x] = cubic_interpolate(row[(x0 - s) & 255], row[x0], row[(x0 + s) & 255],
                                       row[(x0 + 2 * s) & 255], t);
        }
    }
    for (int y = 1; y < 256; y++) {
        int y0 = y & (256 - s);
        float t = static_cast<float>(y & (s - 1)) * inv_s;
        const float* r0 = f + ((y0 - s) & 255) * 256;
        const float* r1 = f + y0 * 256;
        const float* r2 = f + ((y0 + s) & 255) * 256;
        const float* r3 = f + ((y0 + 2 * s) & 255) * 256;
        float* out = f + y * 256;
        for (int x = 0; x < 256; x++) out[x] = cubic_interpolate(r0[x], r1[x], r2[x], r3[x], t);
    }
    uint32_t* px = layer_pixels(target);
    for (int i = 0; i < TexturePixelCount; i++) {
        float v = std::clamp(std::trunc(f[i]), 0.0f, 255.0f);
        px[i] = write_channel(px[i], p[0], static_cast<uint32_t>(v));
    }
}

void clear_layer(int target) {
    std::memset(layer_pixels(target), 0, sizeof(TextureImage));
}

void bitmap(int target, const uint8_t* p, const uint8_t* data) {
    uint32_t colour0 = (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
    uint32_t colour1 = (uint32_t(p[3]) << 16) | (uint32_t(p[4]) << 8) | p[5];
    uint32_t* px = layer_pixels(target);
    for (int j = 0; j < BitmapDataSize; j++)
        for (int b = 0; b < 8; b++) px[8 * j + b] = (data[j] >> b) & 1 ? colour1 : colour0;
}

} // namespace bb
