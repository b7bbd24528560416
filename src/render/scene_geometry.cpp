#include "render/scene_geometry.h"

#include "game/arena.h"
#include "render/lights.h"

#include <cstring>

namespace bb {

LightGeometry FrameGeometry;

// World positions of the body being built.
static Vec3 WorldVertices[MaxBodyVertices];

void reset_light_geometry() {
    FrameGeometry.LitCount = 0;
    FrameGeometry.ShadowCount = 0;
    FrameGeometry.DroppedTriangles = 0;
    std::memset(FrameGeometry.TextureCounts, 0, sizeof FrameGeometry.TextureCounts);
}

static uint32_t colour_channel(Vec3 axis, Vec3 q) {
    float c = 128.0f - 127.0f * vec3_dot(axis, q);
    if (!(c > 0.0f)) return 0; // also a NaN from a degenerate face
    if (c > 255.0f) return 255;
    return static_cast<uint32_t>(c);
}

static LitVertex lit_vertex(int index, uint32_t colour, Vec3 local, Vec3 t, Vec3 s) {
    Vec3 w = WorldVertices[index];
    return LitVertex{w.x, w.y, w.z, colour, vec3_dot(t, local), vec3_dot(s, local)};
}

static bool add_shadow_triangle_pair(Vec3 a, Vec3 b, Vec3 c, Vec3 d, Vec3 e, Vec3 f) {
    LightGeometry& g = FrameGeometry;
    if (g.ShadowCount + 2 > MaxLightTriangles) {
        g.DroppedTriangles += 2;
        return false;
    }
    ShadowVertex* v = g.Shadow + g.ShadowCount * 3;
    const Vec3 p[6] = {a, b, c, d, e, f};
    for (int i = 0; i < 6; i++) v[i] = ShadowVertex{p[i].x, p[i].y, p[i].z};
    g.ShadowCount += 2;
    return true;
}

void build_body_geometry(Body& body) {
    if (body.Removed) return;
    if (body.TextureIndex < 0 || body.TextureIndex >= TextureIndexCount) return;
    LightGeometry& g = FrameGeometry;
    int vertices = vertex_count(body);
    if (vertices > MaxBodyVertices) vertices = MaxBodyVertices;
    for (int i = 0; i < vertices; i++)
        WorldVertices[i] = body_to_world(body, body.Vertices[i].Position);

    Vec3 q = mat3_mul_vec(body.Orientation, LightDir);
    int m = body.TextureIndex;
    for (BodyFace* face = body.Faces; face != body.FacesEnd; face++) {
        face->Lit = vec3_dot(face->Normal, q) > 0.0f ? 1 : 0;
        Vec3 n = vec3_normalized(face->Normal);
        Vec3 h = n.x * n.x > n.y * n.y || n.z * n.z > n.y * n.y ? Vec3{0, 1, 0} : Vec3{1, 0, 0};
        Vec3 t = vec3_normalized(vec3_cross(h, n));
        Vec3 s = vec3_cross(t, n);
        uint32_t colour =
            (colour_channel(n, q) << 16) | (colour_channel(s, q) << 8) | colour_channel(t, q);
        t = vec3_scale(t, body.TextureScale);
        s = vec3_scale(s, body.TextureScale);

        const BodyFaceRef* ring = face->Refs;
        bool placed = true;
        for (int j = 0; j < face->Count; j++)
            if (ring[j].Index < 0 || ring[j].Index >= vertices) placed = false;
        if (!placed) continue;
        for (int j = 2; j < face->Count; j++) {
            if (g.LitCount >= MaxLightTriangles) {
                g.DroppedTriangles++;
                continue;
            }
            const int corners[3] = {ring[0].Index, ring[j - 1].Index, ring[j].Index};
            LitVertex* out = g.Lit + g.LitCount * 3;
            for (int k = 0; k < 3; k++) {
                Vec3 local = vec3_add(body.Vertices[corners[k]].Position, body.TextureOffset);
                out[k] = lit_vertex(corners[k], colour, local, t, s);
            }
            g.LitTexture[g.LitCount] = static_cast<uint8_t>(m);
            g.LitRunning[g.LitCount] = g.TextureCounts[m]++;
            g.LitCount++;
        }
    }

    Vec3 e = vec3_scale(LightDir, -ShadowLength);
    for (const BodyEdge* edge = body.Edges; edge != body.EdgesEnd; edge++) {
        // NOTE: an open surface's edge has no second face and casts nothing.
        if (!edge->FaceB || edge->FaceA->Lit == edge->FaceB->Lit) continue;
        if (edge->V0 < 0 || edge->V0 >= vertices || edge->V1 < 0 || edge->V1 >= vertices) continue;
        Vec3 a = WorldVertices[edge->V0], b = WorldVertices[edge->V1];
        Vec3 a2 = vec3_add(a, e), b2 = vec3_add(b, e);
        if (edge->FaceA->Lit)
            add_shadow_triangle_pair(a, b, b2, a, b2, a2);
        else
            add_shadow_triangle_pair(b, a, a2, b, a2, b2);
    }
}

void build_light_geometry() {
    reset_light_geometry();
    for (int i = 0; i < BodyCount; i++) build_body_geometry(Bodies[i]);
}

void sort_lit_triangles(LitVertex* out) {
    LightGeometry& g = FrameGeometry;
    uint16_t first = 0;
    for (int m = 0; m < TextureIndexCount; m++) {
        g.TextureFirst[m] = first;
        first = static_cast<uint16_t>(first + g.TextureCounts[m]);
    }
    for (int i = 0; i < g.LitCount; i++) {
        int to = g.TextureFirst[g.LitTexture[i]] + g.LitRunning[i];
        std::memcpy(out + to * 3, g.Lit + i * 3, 3 * sizeof(LitVertex));
    }
}

} // namespace bb
