// The triangles of one light, built on the processor from the physics bodies
// alone: the lit triangles with the light baked into their vertex colours, and
// the shadow volume quads of every silhouette edge.
//
// Colour of a face, with n its unit inward normal, q the light direction in
// body axes and (t, s) the face's texture axes (t = unit(h x n), s = t x n):
//   R = 128 - 127 n.q, G = 128 - 127 s.q, B = 128 - 127 t.q (truncated),
// the vector the relief map's normal is dotted with per pixel.
#pragma once

#include "physics/body.h"

#include <cstdint>

namespace bb {

struct LitVertex {
    float X, Y, Z;   // world position
    uint32_t Colour; // 0x00RRGGBB: the light in face axes, 128 + 127 * component
    float U, V;      // texture coordinates
};
static_assert(sizeof(LitVertex) == 24);

struct ShadowVertex {
    float X, Y, Z; // world position
};
static_assert(sizeof(ShadowVertex) == 12);

constexpr int MaxLightTriangles = 8192; // lit, and again shadow, triangles per light
constexpr int MaxLightVertices = MaxLightTriangles * 3;
constexpr int MaxBodyVertices = 256; // vertices of a body the renderer places
constexpr int TextureIndexCount = 128;

struct LightGeometry {
    LitVertex Lit[MaxLightVertices];           // in build order, 3 per triangle
    uint8_t LitTexture[MaxLightTriangles];     // texture index of each triangle
    uint16_t LitRunning[MaxLightTriangles];    // its number among that index's triangles
    int32_t LitCount;                          // triangles, at most MaxLightTriangles
    ShadowVertex Shadow[MaxLightVertices];     // 3 per triangle, no caps
    int32_t ShadowCount;                       // triangles, at most MaxLightTriangles
    uint16_t TextureCounts[TextureIndexCount]; // triangles per texture index
    uint16_t TextureFirst[TextureIndexCount];  // first triangle of each index once sorted
    int32_t DroppedTriangles;                  // lit and shadow triangles that did not fit
};

extern LightGeometry FrameGeometry;

// Empties FrameGeometry for the next light.
void reset_light_geometry();
// Adds one body's triangles for LightDir and ShadowLength and writes each
// face's Lit flag (set on faces turned away from the light, as the stored
// normals point inward). A removed body adds nothing. A full array takes no
// more triangles; of a body with more than MaxBodyVertices vertices, only the
// faces and edges within the first MaxBodyVertices are placed; a body whose
// TextureIndex is outside 0..127 adds nothing.
void build_body_geometry(Body& body);
// Resets, then builds every body of the world in body order.
void build_light_geometry();
// Counting sort by texture index: fills TextureFirst and writes the LitCount
// triangles to out so that each index's triangles lie together, in build order.
void sort_lit_triangles(LitVertex* out);

} // namespace bb
