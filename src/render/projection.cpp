#include "render/projection.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace bb {

static float float_from_bits(uint32_t bits) {
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

const float WindowedAspect = float_from_bits(0x3FAAA993u);

Projection CurrentProjection = projection_for_display(1024, 768, true);
float Aspect = CurrentProjection.Aspect;
float RayOffsetX = CurrentProjection.RayOffsetX;
float RayOffsetY = CurrentProjection.RayOffsetY;
float RayScaleX = CurrentProjection.RayScaleX;
float RayScaleY = CurrentProjection.RayScaleY;

Projection projection_for_display(int display_width, int display_height, bool windowed) {
    Projection p;
    p.Width = display_width;
    p.Height = display_height;
    if (display_width <= 0 || display_height <= 0) {
        p.Width = 1024;
        p.Height = 768;
    }
    p.Aspect =
        windowed ? WindowedAspect : static_cast<float>(p.Width) / static_cast<float>(p.Height);
    // 37.5 degrees: half of a 75-degree horizontal field of view.
    p.Tx = static_cast<float>(std::tan(0.6544984877109528));
    p.Ty = p.Tx / p.Aspect;
    // On wide screens the vertical field keeps its minimum and the horizontal one widens.
    if (p.Ty < 0.55f) {
        p.Ty = 0.55f;
        p.Tx = p.Aspect * 0.55f;
    }
    // NOTE: from the back buffer's size, not the chosen mode's: a window's mode
    // is 0 by 0, which would make the scales infinite.
    p.RayOffsetX = static_cast<float>(-p.Width) / 2.0f;
    p.RayOffsetY = static_cast<float>(-p.Height) / 2.0f;
    p.RayScaleX = 2.0f * p.Tx / static_cast<float>(p.Width);
    p.RayScaleY = 2.0f * p.Ty / static_cast<float>(p.Height);
    return p;
}

void projection_matrix(float tx, float ty, float out[16]) {
    std::memset(out, 0, 16 * sizeof(float));
    out[0] = 1.0f / tx;
    out[5] = 1.0f / ty;
    out[10] = float_from_bits(0x3F8000D2u); // q = 1.0000250
    out[11] = 1.0f;
    out[14] = float_from_bits(0xBDCCCE1Du); // -p = -0.1000025
}

void view_matrix(const Mat3& view, Vec3 position, float out[16]) {
    const float* m = view.m;
    Vec3 v = mat3_mul_vec(view, position);
    const float rows[16] = {m[0], m[3], m[6], 0, m[1], m[4], m[7], 0,
                            m[2], m[5], m[8], 0, -v.x, -v.y, -v.z, 1};
    std::memcpy(out, rows, sizeof rows);
}

bool project_to_pixel(const Projection& projection, const Mat3& view, Vec3 position, Vec3 world,
                      float& px, float& py, float& depth) {
    Vec3 c = mat3_mul_vec(view, vec3_sub(world, position));
    if (c.z <= 0.0f) return false;
    float x = c.x / (projection.Tx * c.z);
    float y = c.y / (projection.Ty * c.z);
    float proj[16];
    projection_matrix(projection.Tx, projection.Ty, proj);
    depth = (proj[10] * c.z + proj[14]) / c.z;
    px = (x + 1.0f) * 0.5f * static_cast<float>(projection.Width);
    py = (1.0f - y) * 0.5f * static_cast<float>(projection.Height);
    return true;
}

} // namespace bb
