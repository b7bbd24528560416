#include "game/arena.h"
#include "physics/body.h"
#include "render/lights.h"
#include "render/scene_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace bb;

namespace {

struct GeometryTest : ::testing::Test {
    float SavedShadowLength = 0;
    void SetUp() override {
        BodyCount = 0;
        SavedShadowLength = ShadowLength;
        ShadowLength = 40.0f;
        LightDir = Vec3{0, 1, 0};
    }
    void TearDown() override {
        ShadowLength = SavedShadowLength;
        BodyCount = 0;
    }
};

// The face whose unit inward normal is closest to dir.
BodyFace* face_along(Body& b, Vec3 dir) {
    BodyFace* best = nullptr;
    float most = -2.0f;
    for (BodyFace* f = b.Faces; f != b.FacesEnd; f++) {
        float d = vec3_dot(vec3_normalized(f->Normal), dir);
        if (d > most) {
            most = d;
            best = f;
        }
    }
    return best;
}

// A prism of `sides` corners a ring, wound like a made box (inward normals):
// bottom corners 0..sides-1, top corners sides..2*sides-1.
Body* add_prism(int sides, float radius, float height, Vec3 at, int texture) {
    std::vector<Vec3> points;
    for (int k = 0; k < 2; k++)
        for (int i = 0; i < sides; i++) {
            float a = 6.2831853f * static_cast<float>(i) / static_cast<float>(sides);
            points.push_back(Vec3{radius * std::cos(a), k * height, radius * std::sin(a)});
        }
    std::vector<int> rings;
    for (int i = 0; i < sides; i++) rings.push_back(i);
    rings.push_back(-1);
    for (int i = sides - 1; i >= 0; i--) rings.push_back(sides + i);
    rings.push_back(-1);
    for (int i = 0; i < sides; i++) {
        int j = (i + 1) % sides;
        for (int v : {j, i, sides + i, sides + j}) rings.push_back(v);
        rings.push_back(-1);
    }
    Body& b = Bodies[BodyCount++];
    clear_body(b);
    EXPECT_TRUE(build_polyhedron(b, points.data(), static_cast<int>(points.size()), rings.data(),
                                 static_cast<int>(rings.size())));
    finish_body(b);
    b.Position = at;
    b.TextureIndex = texture;
    b.TextureScale = 1.0f;
    return &b;
}

Vec3 vertex_position(const LitVertex& v) {
    return Vec3{v.X, v.Y, v.Z};
}
Vec3 vertex_position(const ShadowVertex& v) {
    return Vec3{v.X, v.Y, v.Z};
}

} // namespace

TEST(Lights, ColoursAndDirectionsForEachCount) {
    struct Case {
        int count;
        uint32_t colour;
    };
    const Case cases[] = {{1, 0x483F36}, {2, 0x302A24}, {4, 0x201C18}, {12, 0x080706}};
    for (const Case& c : cases) {
        LightSet set = make_light_set(c.count);
        ASSERT_EQ(set.Count, c.count);
        EXPECT_EQ(set.Colour, c.colour) << c.count << " lights";
        for (int i = 0; i < c.count; i++) {
            // (0.3, 1, 0.5) turned about +y by i * 5.2 / n: x' = x cos - z sin, z' = z cos + x sin.
            double a = i * 5.2 / c.count, x = 0.3, z = 0.5;
            double tx = x * std::cos(a) - z * std::sin(a), tz = z * std::cos(a) + x * std::sin(a);
            double len = std::sqrt(tx * tx + 1.0 + tz * tz);
            Vec3 d = set.Directions[i];
            EXPECT_NEAR(d.x, tx / len, 1e-5) << c.count << " lights, light " << i;
            EXPECT_NEAR(d.y, 1.0 / len, 1e-5);
            EXPECT_NEAR(d.z, tz / len, 1e-5);
        }
    }
    for (int bad : {0, 13, -1}) EXPECT_EQ(make_light_set(bad).Count, 0) << bad;
}

TEST_F(GeometryTest, BoxLitFromAboveShadowsTheColumnUnderItsBottomFace) {
    Body* box = make_box(2, -1, 3, 0, 5, 0, 0, 1);
    build_light_geometry();
    const LightGeometry& g = FrameGeometry;

    // Only the bottom face (stored normal up, into the body) is turned away.
    int lit = 0;
    for (BodyFace* f = box->Faces; f != box->FacesEnd; f++) lit += f->Lit;
    EXPECT_EQ(lit, 1);
    EXPECT_EQ(face_along(*box, Vec3{0, 1, 0})->Lit, 1);

    // Six quads drawn, clockwise seen from outside: each triangle's normal points out.
    ASSERT_EQ(g.LitCount, 12);
    for (int t = 0; t < g.LitCount; t++) {
        Vec3 a = vertex_position(g.Lit[3 * t]), b = vertex_position(g.Lit[3 * t + 1]),
             c = vertex_position(g.Lit[3 * t + 2]);
        Vec3 out = vec3_sub(vec3_scale(vec3_add(vec3_add(a, b), c), 1.0f / 3.0f), box->Position);
        EXPECT_GT(vec3_dot(vec3_cross(vec3_sub(b, a), vec3_sub(c, a)), out), 0.0f) << t;
    }

    // Four silhouette edges: a column from the bottom (y 4) down to 4 - 40,
    // each side wound counter-clockwise seen from outside (normal inward).
    ASSERT_EQ(g.ShadowCount, 8);
    for (int t = 0; t < g.ShadowCount; t++) {
        Vec3 p[3];
        for (int k = 0; k < 3; k++) {
            p[k] = vertex_position(g.Shadow[3 * t + k]);
            EXPECT_TRUE(p[k].y == 4.0f || p[k].y == -36.0f) << p[k].y;
            EXPECT_TRUE(std::fabs(p[k].x) == 2.0f || std::fabs(p[k].z) == 3.0f);
        }
        Vec3 centre = vec3_scale(vec3_add(vec3_add(p[0], p[1]), p[2]), 1.0f / 3.0f);
        Vec3 out = {centre.x, 0, centre.z};
        EXPECT_LT(vec3_dot(vec3_cross(vec3_sub(p[1], p[0]), vec3_sub(p[2], p[0])), out), 0.0f);
    }
}

TEST_F(GeometryTest, FaceColourComesFromTheDotProductsTruncated) {
    Body* box = make_box(2, -1, 3, 0, 5, 0, 0, 0.5f);
    box->TextureOffset = Vec3{1, 0, 0};
    LightDir = Vec3{0.6f, 0.8f, 0.0f};
    build_light_geometry();
    // Unit inward normal n, texture axes t = unit(h x n), s = t x n:
    // top n (0,-1,0), t (0,0,-1), s (-1,0,0); face at -x n (1,0,0), t (0,0,-1), s (0,-1,0).
    struct Case {
        Vec3 normal;
        uint32_t colour;
    };
    const Case cases[] = {
        {{0, -1, 0}, 0x00E5CC80}, // R 128 + 127 * 0.8 = 229.6, G 128 + 127 * 0.6 = 204.2
        {{1, 0, 0}, 0x0033E580},  // R 128 - 127 * 0.6 = 51.8, G 128 + 127 * 0.8 = 229.6
        {{0, 1, 0}, 0x001ACC80},  // R 128 - 127 * 0.8 = 26.4; t (0,0,1), s (-1,0,0)
    };
    for (const Case& c : cases) {
        BodyFace* f = face_along(*box, c.normal);
        int first = 0;
        for (BodyFace* g = box->Faces; g != f; g++) first += g->Count - 2;
        const LitVertex& v = FrameGeometry.Lit[3 * first];
        EXPECT_EQ(v.Colour, c.colour) << c.normal.x << " " << c.normal.y << " " << c.normal.z;
    }
    // u = TextureScale * t . (local + offset), v likewise with s, on the top face.
    BodyFace* top = face_along(*box, Vec3{0, -1, 0});
    int first = 0;
    for (BodyFace* g = box->Faces; g != top; g++) first += g->Count - 2;
    Vec3 local = top->Refs[0].Vertex->Position;
    EXPECT_FLOAT_EQ(FrameGeometry.Lit[3 * first].U, 0.5f * -local.z);
    EXPECT_FLOAT_EQ(FrameGeometry.Lit[3 * first].V, 0.5f * -(local.x + 1.0f));
}

TEST_F(GeometryTest, RemovedBodiesAreNeitherDrawnNorShadowing) {
    make_box(2, -1, 3, 0, 5, 0, 0, 1);
    Body* gone = make_box(1, -1, 1, 10, 5, 0, 0, 1);
    gone->Removed = 1;
    build_light_geometry();
    EXPECT_EQ(FrameGeometry.LitCount, 12);
    EXPECT_EQ(FrameGeometry.ShadowCount, 8);
    for (BodyFace* f = gone->Faces; f != gone->FacesEnd; f++) EXPECT_EQ(f->Lit, 0);
    for (int i = 0; i < FrameGeometry.LitCount * 3; i++) EXPECT_LT(FrameGeometry.Lit[i].X, 5.0f);
}

TEST_F(GeometryTest, CountingSortGroupsByTextureIndexKeepingBuildOrder) {
    const int textures[] = {3, 1, 3, 0};
    for (int i = 0; i < 4; i++) make_box(1, -1, 1, 10.0f * i, 0, 0, textures[i], 1);
    build_light_geometry();
    std::vector<LitVertex> sorted(FrameGeometry.LitCount * 3);
    sort_lit_triangles(sorted.data());
    const LightGeometry& g = FrameGeometry;
    EXPECT_EQ(g.TextureCounts[0], 12);
    EXPECT_EQ(g.TextureCounts[1], 12);
    EXPECT_EQ(g.TextureCounts[3], 24);
    EXPECT_EQ(g.TextureFirst[0], 0);
    EXPECT_EQ(g.TextureFirst[1], 12);
    EXPECT_EQ(g.TextureFirst[3], 24);
    // Index 0 is body 3 (x 30), then body 1 (x 10), then bodies 0 and 2 in that order.
    const float body_x[] = {30, 10, 0, 20};
    for (int t = 0; t < 48; t++) EXPECT_NEAR(sorted[3 * t].X, body_x[t / 12], 1.01f) << t;
}

TEST_F(GeometryTest, FullArraysTakeNoMoreTriangles) {
    // Prisms of 128 sides: 256 vertices (the most a body may have), 508 lit
    // triangles and, lit from above, 128 silhouette edges each.
    for (int i = 0; i < 40; i++) add_prism(128, 1, 1, Vec3{0, 3.0f * i, 0}, 0);
    build_light_geometry();
    const LightGeometry& g = FrameGeometry;
    EXPECT_EQ(g.LitCount, MaxLightTriangles);
    EXPECT_EQ(g.ShadowCount, MaxLightTriangles);
    EXPECT_EQ(g.DroppedTriangles, 40 * 508 - MaxLightTriangles + 40 * 256 - MaxLightTriangles);
    EXPECT_EQ(g.TextureCounts[0], MaxLightTriangles);
    // The first bodies came in whole, in order.
    EXPECT_TRUE(g.Lit[3 * 507].Y >= 0.0f && g.Lit[3 * 507].Y <= 1.0f);
    EXPECT_TRUE(g.Lit[3 * 508].Y >= 3.0f && g.Lit[3 * 508].Y <= 4.0f);
}

TEST_F(GeometryTest, BodyWithTooManyVerticesDrawsOnlyWhatFits) {
    // 400 vertices: the bottom cap (0..199) and the sides whose top corners
    // 200 + i, 200 + i + 1 are below 256 (i = 0..54) are placed.
    Body* b = add_prism(200, 5, 2, Vec3{0, 0, 0}, 0);
    ASSERT_EQ(vertex_count(*b), 400);
    build_light_geometry();
    const LightGeometry& g = FrameGeometry;
    EXPECT_EQ(g.LitCount, 198 + 55 * 2);
    EXPECT_EQ(g.ShadowCount, 2 * 200); // the bottom cap's ring casts the column
    for (int i = 0; i < g.ShadowCount * 3; i++)
        EXPECT_TRUE(g.Shadow[i].Y == 0.0f || g.Shadow[i].Y == -40.0f) << g.Shadow[i].Y;
}
