#include "physics/clip.h"
#include "physics_fixture.h"

#include <cmath>
#include <vector>

using namespace bb;

using ClipTest = PhysicsWorldTest;

namespace {

int on_cut_count(const Body& b) {
    int n = 0;
    for (const BodyVertex* v = b.Vertices; v != b.VerticesEnd; v++) n += v->OnCut;
    return n;
}

bool empty(const Body& b) {
    return face_count(b) == 0;
}

} // namespace

TEST_F(ClipTest, SlabOfABox) {
    Body* box = make_box(1, -2, 3, 0, 0, 0, 0, 1);
    Body& out = ClipScratch[0];
    clip_polyhedron(out, *box, {0, 1, 0}, 0.5f);
    // Shared corners copied once, each cut edge making one vertex.
    EXPECT_EQ(vertex_count(out), 8);
    EXPECT_EQ(on_cut_count(out), 4);
    ASSERT_EQ(face_count(out), 6);
    const BodyFace& cap = out.FacesEnd[-1];
    EXPECT_EQ(cap.Weight, -1.0f);
    EXPECT_EQ(cap.Count, 4);
    EXPECT_FLOAT_EQ(cap.Normal.x, 0);
    EXPECT_FLOAT_EQ(cap.Normal.y, 24);
    EXPECT_FLOAT_EQ(cap.Normal.z, 0);
    EXPECT_FLOAT_EQ(cap.Offset, 12);
    compute_mass_properties(out);
    EXPECT_FLOAT_EQ(out.Volume, 108);
    EXPECT_NEAR(out.Centroid.x, 0, 1e-6f);
    EXPECT_FLOAT_EQ(out.Centroid.y, 1.25f);
    EXPECT_NEAR(out.Centroid.z, 0, 1e-6f);
    EXPECT_NEAR(out.FaceAreaSum.x, 0, 1e-5f);
    EXPECT_FLOAT_EQ(out.FaceAreaSum.y, -48);
    EXPECT_NEAR(out.FaceAreaSum.z, 0, 1e-5f);
    // Every face reference points at the vertex its index names.
    for (BodyFace* f = out.Faces; f != out.FacesEnd; f++)
        for (int i = 0; i < f->Count; i++)
            EXPECT_EQ(f->Refs[i].Vertex, &out.Vertices[f->Refs[i].Index]);
}

TEST_F(ClipTest, PlaneThroughTheTopFaceLeavesNothing) {
    Body* box = make_box(1, -2, 3, 0, 0, 0, 0, 1);
    clip_polyhedron(ClipScratch[0], *box, {0, 1, 0}, 2.0f);
    EXPECT_TRUE(empty(ClipScratch[0]));
    EXPECT_EQ(vertex_count(ClipScratch[0]), 0);
}

TEST_F(ClipTest, PlaneKeepingEverythingCopies) {
    Body* box = make_box(1, -2, 3, 0, 0, 0, 0, 1);
    Body& out = ClipScratch[0];
    clip_polyhedron(out, *box, {0, 1, 0}, -10.0f);
    EXPECT_EQ(vertex_count(out), 8);
    EXPECT_EQ(on_cut_count(out), 0);
    ASSERT_EQ(face_count(out), 6);
    for (int i = 0; i < 6; i++) {
        EXPECT_EQ(out.Faces[i].Normal.x, box->Faces[i].Normal.x);
        EXPECT_EQ(out.Faces[i].Normal.y, box->Faces[i].Normal.y);
        EXPECT_EQ(out.Faces[i].Offset, box->Faces[i].Offset);
        EXPECT_EQ(out.Faces[i].Weight, 1.0f);
    }
}

TEST_F(ClipTest, SecondClipKeepsCutFlags) {
    Body* box = make_box(1, -2, 3, 0, 0, 0, 0, 1);
    clip_polyhedron(ClipScratch[0], *box, {0, 1, 0}, 0.5f);
    clip_polyhedron(ClipScratch[1], ClipScratch[0], {1, 0, 0}, 0.0f);
    Body& out = ClipScratch[1];
    EXPECT_EQ(face_count(out), 6);
    // The block 0 < x, 0.5 < y has 8 corners: 4 new on x = 0, and 2 copied from
    // the first cut on y = 0.5 that must keep their flag.
    EXPECT_EQ(vertex_count(out), 8);
    EXPECT_EQ(on_cut_count(out), 6);
    compute_mass_properties(out);
    EXPECT_FLOAT_EQ(out.Volume, 54);
}

TEST_F(ClipTest, ResultTooLargeForTheDestinationIsEmpty) {
    Body* box = make_box(1, -2, 3, 0, 0, 0, 0, 1);
    Body& small = Bodies[BodyCount];
    clear_body(small);
    allocate_polyhedron(small, 4, 64, 16);
    clip_polyhedron(small, *box, {0, 1, 0}, 0.5f);
    EXPECT_TRUE(empty(small));
    allocate_polyhedron(small, 64, 10, 16);
    clip_polyhedron(small, *box, {0, 1, 0}, 0.5f);
    EXPECT_TRUE(empty(small));
    allocate_polyhedron(small, 64, 64, 5); // no room for the cap
    clip_polyhedron(small, *box, {0, 1, 0}, 0.5f);
    EXPECT_TRUE(empty(small));
    allocate_polyhedron(small, 8, 30, 6); // exactly enough
    clip_polyhedron(small, *box, {0, 1, 0}, 0.5f);
    EXPECT_EQ(face_count(small), 6);
}

TEST_F(ClipTest, MoreThan256CrossingsIsEmpty) {
    // A prism over a 300-gon: cutting it across its height crosses 300 edges.
    const int n = 300;
    std::vector<Vec3> pts;
    for (int i = 0; i < n; i++) {
        float a = 6.2831853f * i / n;
        pts.push_back({std::cos(a), -1, std::sin(a)});
    }
    for (int i = 0; i < n; i++) pts.push_back({pts[i].x, 1, pts[i].z});
    std::vector<int> idx;
    for (int i = 0; i < n; i++) idx.push_back(i);
    idx.push_back(-1);
    for (int i = n - 1; i >= 0; i--) idx.push_back(n + i);
    idx.push_back(-1);
    for (int i = 0; i < n; i++) {
        int j = (i + 1) % n;
        idx.insert(idx.end(), {i, n + i, n + j, j, -1});
    }
    Body& prism = Bodies[0];
    BodyCount = 1;
    clear_body(prism);
    ASSERT_TRUE(
        build_polyhedron(prism, pts.data(), 2 * n, idx.data(), static_cast<int>(idx.size())));
    compute_mass_properties(prism);
    ASSERT_GT(std::fabs(prism.Volume), 1.0f);
    clip_polyhedron(ClipScratch[0], prism, {0, 1, 0}, 0.0f);
    EXPECT_TRUE(empty(ClipScratch[0]));
    // A cut that crosses fewer edges still works on the same shape.
    clip_polyhedron(ClipScratch[0], prism, {1, 0, 0}, 0.999f);
    EXPECT_FALSE(empty(ClipScratch[0]));
}
