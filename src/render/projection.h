// The fixed perspective of the game and the numbers the click ray needs.
//
// Matrices are in the row-vector convention (a point is a row multiplied from
// the left), left-handed: x right, y up, z into the screen, depth 0 at the near
// plane and 1 at the far one. The graphics layer converts them.
#pragma once

#include "math/vector_math.h"

namespace bb {

// Everything fixed by the display size at device creation.
struct Projection {
    int Width, Height; // back buffer, pixels
    float Aspect;      // width / height; 1.3333 in a window
    float Tx, Ty;      // tangents of half the horizontal and vertical field of view
    // A click at pixel (x, y) looks along ((x + RayOffsetX) RayScaleX,
    // -(y + RayOffsetY) RayScaleY, 1) in camera axes.
    float RayOffsetX, RayOffsetY; // minus half the back buffer, pixels
    float RayScaleX, RayScaleY;   // view-plane units per pixel at distance 1
};

// The aspect a window always gets, a little below 4/3 (bits 0x3FAAA993).
extern const float WindowedAspect;

// Pure: the projection for a chosen display mode (0 by 0 means 1024 by 768).
Projection projection_for_display(int display_width, int display_height, bool windowed);

// The projection in use, set by create_device and setup_projection_and_buffers.
extern Projection CurrentProjection;
extern float Aspect;
extern float RayOffsetX, RayOffsetY, RayScaleX, RayScaleY;

// Row-major 4x4: rows (1/tx, 0, 0, 0), (0, 1/ty, 0, 0), (0, 0, q, 1), (0, 0, -p, 0);
// near plane 0.1, far about 4000.
void projection_matrix(float tx, float ty, float out[16]);
// Row-major 4x4 taking a world point p to mat3_mul_vec(view, p - position).
void view_matrix(const Mat3& view, Vec3 position, float out[16]);

// Pure: where a world point lands in a back buffer of the projection, in pixels
// from the top-left corner, and its depth (0 near .. 1 far). False behind the eye.
bool project_to_pixel(const Projection& projection, const Mat3& view, Vec3 position, Vec3 world,
                      float& px, float& py, float& depth);

} // namespace bb
