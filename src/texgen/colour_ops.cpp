#include "texgen/colour_ops.h"

#include "texgen/texgen_state.h"

#include <algorithm>
#include <cmath>

namespace bb {

// trunc(start + k * (end - start) / 256) for k in 0..255, exactly: the value
// lies between start and end, so it is never negative and trunc is floor.
static inline uint32_t ramp(int start, int end, int k) {
    return static_cast<uint32_t>((256 * start + k * (end - start)) >> 8);
}

void swap_channels(int target, const uint8_t* p) {
    uint32_t* t = layer_pixels(target);
    uint32_t* o = layer_pixels(p[1]);
    int tc = p[0], oc = p[2];
    for (int i = 0; i < TexturePixelCount; i++) {
        uint32_t a = read_channel(t[i], tc), b = read_channel(o[i], oc);
        t[i] = write_channel(t[i], tc, b);
        // Read again: with the target as the other layer this is the pixel
        // just written.
        o[i] = write_channel(o[i], oc, a);
    }
}

void channel_to_grey(int target, const uint8_t* p) {
    uint32_t* px = layer_pixels(target);
    for (int i = 0; i < TexturePixelCount; i++) px[i] = read_channel(px[i], p[0]) * 0x010101u;
}

void copy_channel(int target, const uint8_t* p) {
    uint32_t* px = layer_pixels(target);
    const uint32_t* src = layer_pixels(p[1]);
    for (int i = 0; i < TexturePixelCount; i++)
        px[i] = write_channel(px[i], p[0], read_channel(src[i], p[2]));
}

// Applies a 256-entry table to red, green and blue of every pixel.
static void map_channels(int target, const uint8_t* table) {
    uint32_t* px = layer_pixels(target);
    for (int i = 0; i < TexturePixelCount; i++) {
        uint32_t v = px[i];
        px[i] = (uint32_t(table[(v >> 16) & 255]) << 16) | (uint32_t(table[(v >> 8) & 255]) << 8) |
                table[v & 255];
    }
}

void contrast(int target, const uint8_t* p) {
    // f * (v - 128) with f = p0 / 32 is exact in floats, so integer division
    // (which truncates toward zero) gives the same value.
    uint8_t table[256];
    for (int v = 0; v < 256; v++)
        table[v] = static_cast<uint8_t>(std::clamp(p[0] * (v - 128) / 32, -127, 127) + 128);
    map_channels(target, table);
}

void invert_blue(int target) {
    uint32_t* px = layer_pixels(target);
    for (int i = 0; i < TexturePixelCount; i++) px[i] ^= 0xFFu;
}

void modulate_by_layer(int target, const uint8_t* p) {
    uint32_t* px = layer_pixels(target);
    const uint32_t* other = layer_pixels(p[0]);
    for (int i = 0; i < TexturePixelCount; i++) {
        const uint8_t* row = TextureGenerator.BrightnessTable[read_channel(other[i], p[1])];
        uint32_t v = px[i];
        px[i] = (uint32_t(row[(v >> 16) & 255]) << 16) | (uint32_t(row[(v >> 8) & 255]) << 8) |
                row[v & 255];
    }
}

void brightness(int target, const uint8_t* p) {
    map_channels(target, TextureGenerator.BrightnessTable[p[0]]);
}

void cosine_bands(int target, const uint8_t* p) {
    const float step = 2.0f * TexturePi / 256.0f;
    uint32_t table[256];
    for (int v = 0; v < 256; v++)
        table[v] = static_cast<uint32_t>(
            127.0f - 127.0f * std::cos(static_cast<float>(p[1]) * step * static_cast<float>(v)));
    uint32_t* px = layer_pixels(target);
    for (int i = 0; i < TexturePixelCount; i++)
        px[i] = write_channel(px[i], p[0], table[read_channel(px[i], p[0])]);
}

void channel_range(int target, const uint8_t* p) {
    uint32_t* px = layer_pixels(target);
    for (int i = 0; i < TexturePixelCount; i++)
        px[i] = write_channel(px[i], p[0], ramp(p[1], p[2], int(read_channel(px[i], p[0]))));
}

static uint32_t hue_saturation_pixel(uint32_t pixel, float hue_shift, float saturation_scale) {
    float r = static_cast<float>((pixel >> 16) & 255);
    float g = static_cast<float>((pixel >> 8) & 255);
    float b = static_cast<float>(pixel & 255);
    float mx = std::max({r, g, b}), mn = std::min({r, g, b});
    float v = mx;
    float s = mx == 0.0f ? 0.0f : (mx - mn) / mx;
    float h = -1.0f;
    if (s != 0.0f) {
        float delta = mx - mn;
        float rc = mx - r, gc = mx - g, bc = mx - b;
        if (r == mx)
            h = (bc - gc) / delta;
        else if (g == mx)
            h = 2.0f + (rc - bc) / delta;
        else
            h = 4.0f + (gc - rc) / delta;
        h *= 60.0f;
        while (h < 0.0f) h += 360.0f;
        while (h >= 360.0f) h -= 360.0f;
    }
    h += hue_shift;
    s *= saturation_scale;
    if (s == 0.0f) {
        r = g = b = v;
    } else {
        while (h < 0.0f) h += 360.0f;
        while (h >= 360.0f) h -= 360.0f;
        float hh = h / 60.0f;
        float fi = std::floor(hh);
        // A hue a hair below 360 may round to a sector of 6; it is sector 5.
        int sector = std::min(static_cast<int>(fi), 5);
        float f = hh - fi;
        float pv = v * (1.0f - s), qv = v * (1.0f - s * f), tv = v * (1.0f - s * (1.0f - f));
        switch (sector) {
        case 0:
            r = v, g = tv, b = pv;
            break;
        case 1:
            r = qv, g = v, b = pv;
            break;
        case 2:
            r = pv, g = v, b = tv;
            break;
        case 3:
            r = pv, g = qv, b = v;
            break;
        case 4:
            r = tv, g = pv, b = v;
            break;
        default:
            r = v, g = pv, b = qv;
            break;
        }
    }
    auto byte = [](float x) {
        return static_cast<uint32_t>(std::clamp(std::trunc(x), 0.0f, 255.0f));
    };
    return (byte(r) << 16) | (byte(g) << 8) | byte(b);
}

void hue_saturation(int target, const uint8_t* p) {
    float hue_shift = static_cast<float>(p[0]) * 1.40625f;
    float saturation_scale = static_cast<float>(255 - p[1]) * (1.0f / 255.0f);
    uint32_t* px = layer_pixels(target);
    for (int i = 0; i < TexturePixelCount; i++)
        px[i] = hue_saturation_pixel(px[i], hue_shift, saturation_scale);
}

void gradient_map(int target, const uint8_t* p) {
    uint32_t table[256];
    for (int k = 0; k < 256; k++)
        table[k] = (ramp(p[1], p[2], k) << 16) | (ramp(p[3], p[4], k) << 8) | ramp(p[5], p[6], k);
    uint32_t* px = layer_pixels(target);
    for (int i = 0; i < TexturePixelCount; i++) px[i] = table[read_channel(px[i], p[0])];
}

} // namespace bb
