#include "physics/body_mechanics.h"
#include "physics_fixture.h"

#include <cmath>

using namespace bb;

using BodyTest = PhysicsWorldTest;

TEST_F(BodyTest, MadeBoxHasInwardPlanesVolumeMassAndEdges) {
    Body* box = make_box(1, -2, 3, 5, 6, 7, 4, 0.25f);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(BodyCount, 1);
    EXPECT_EQ(vertex_count(*box), 8);
    EXPECT_EQ(face_ref_count(*box), 24);
    ASSERT_EQ(face_count(*box), 6);
    for (BodyFace* f = box->Faces; f != box->FacesEnd; f++) {
        EXPECT_FLOAT_EQ(f->Offset, -48.0f);
        float len = std::sqrt(vec3_length_squared(f->Normal));
        // Twice the face's area: 2*(2*6), 2*(2*4) or 2*(4*6), for the faces across x, z, y.
        Vec3 u = vec3_normalized(f->Normal);
        float area2 = std::fabs(u.x) > 0.5f ? 48.0f : std::fabs(u.y) > 0.5f ? 24.0f : 16.0f;
        EXPECT_FLOAT_EQ(len, area2);
        // Inward: the normal points from the face towards the centre.
        EXPECT_GT(vec3_dot(f->Normal, vec3_sub(Vec3{0, 0, 0}, f->Refs[0].Vertex->Position)), 0);
        EXPECT_EQ(f->Weight, 1.0f);
        EXPECT_EQ(f->Tag, 1);
    }
    EXPECT_FLOAT_EQ(box->Volume, 288.0f);
    EXPECT_FLOAT_EQ(box->Centroid.x, 0);
    EXPECT_FLOAT_EQ(box->Centroid.y, 0);
    EXPECT_FLOAT_EQ(box->Centroid.z, 0);
    EXPECT_FLOAT_EQ(box->Radius, std::sqrt(14.0f));
    EXPECT_FLOAT_EQ(box->Mass, 288.0f);
    EXPECT_FLOAT_EQ(box->Inertia, 645.12f);
    EXPECT_FLOAT_EQ(box->SoundReferenceVolume, 170.0f);
    EXPECT_FLOAT_EQ(box->BreakThreshold, 100000.0f);
    EXPECT_EQ(box->ContactIterations, 3);
    EXPECT_EQ(box->Density, 1.0f);
    EXPECT_EQ(box->TextureIndex, 4);
    EXPECT_EQ(box->TextureScale, 0.25f);
    EXPECT_EQ(box->Position.x, 5.0f);

    ASSERT_EQ(edge_count(*box), 12);
    for (BodyEdge* e = box->Edges; e != box->EdgesEnd; e++) {
        EXPECT_GT(e->V0, e->V1);
        EXPECT_NE(e->FaceA, nullptr);
        EXPECT_NE(e->FaceB, nullptr);
        EXPECT_NE(e->FaceA, e->FaceB);
    }

    EXPECT_TRUE(point_inside(*box, {0, 0, 0}));
    for (BodyVertex* v = box->Vertices; v != box->VerticesEnd; v++)
        EXPECT_TRUE(point_inside(*box, v->Position));
    EXPECT_FALSE(point_inside(*box, {0, 2.001f, 0}));
}

TEST_F(BodyTest, BoxWithPositiveExtentsIsInsideOut) {
    Body* box = make_box(1, 2, 3, 0, 0, 0, 0, 1);
    EXPECT_FLOAT_EQ(box->Volume, -288.0f);
    EXPECT_FALSE(point_inside(*box, {0, 0, 0}));
    EXPECT_FALSE(point_inside(*box, {0.5f, 0.5f, 0.5f}));
}

TEST_F(BodyTest, ScaleMassAndMakeStatic) {
    Body* box = make_box(1, -2, 3, 0, 0, 0, 0, 1);
    scale_mass(*box, 3);
    EXPECT_FLOAT_EQ(box->Mass, 864.0f);
    EXPECT_FLOAT_EQ(box->InverseMass, 1.0f / 864.0f);
    EXPECT_FLOAT_EQ(box->Density, 3.0f);
    EXPECT_FLOAT_EQ(box->Inertia, 1935.36f);

    Body* wall = make_box(1, -1, 1, 3, 4, 5, 0, 1);
    wall->Velocity = {1, 2, 3};
    wall->AngularVelocity = {0.1f, 0, 0};
    make_static(*wall);
    EXPECT_EQ(wall->Fixed, 1);
    EXPECT_EQ(wall->Position.y, 4.0f);
    EXPECT_FLOAT_EQ(wall->Volume, 48.0f);
    apply_impulse(*wall, {3, 5, 5}, {10, 10, 10});
    apply_angular_impulse(*wall, {10, 10, 10});
    EXPECT_EQ(wall->Velocity.x, 1.0f);
    EXPECT_EQ(wall->AngularVelocity.x, 0.1f);
    Vec3 v = point_velocity(*wall, {3, 5, 5});
    EXPECT_EQ(vec3_length_squared(v), 0.0f);
}

TEST_F(BodyTest, ImpulsesFollowTheNegatedSpinConvention) {
    Body* box = make_box(1, -1, 1, 0, 0, 0, 0, 1);
    box->Velocity = {1, 0, 0};
    box->AngularVelocity = {0, 1, 0};
    Vec3 v = point_velocity(*box, {0, 0, 1});
    EXPECT_EQ(v.x, 0.0f);
    EXPECT_EQ(v.y, 0.0f);
    EXPECT_EQ(v.z, 0.0f);

    box->Velocity = {0, 0, 0};
    box->AngularVelocity = {0, 0, 0};
    apply_impulse(*box, {0, 0, 1}, {1, 0, 0});
    EXPECT_FLOAT_EQ(box->Velocity.x, box->InverseMass);
    // -(r x J) = -((0,0,1) x (1,0,0)) = (0,-1,0) times InverseInertia.
    EXPECT_FLOAT_EQ(box->AngularVelocity.y, -box->InverseInertia);

    // The response matrix is what a unit impulse does at the point.
    Vec3 p = {0.3f, -0.7f, 0.9f};
    Mat3 k = response_matrix(*box, p);
    for (int axis = 0; axis < 3; axis++) {
        Body probe = *box;
        probe.Velocity = {0, 0, 0};
        probe.AngularVelocity = {0, 0, 0};
        Vec3 e = {axis == 0 ? 1.0f : 0, axis == 1 ? 1.0f : 0, axis == 2 ? 1.0f : 0};
        apply_impulse(probe, p, e);
        Vec3 dv = point_velocity(probe, p);
        EXPECT_NEAR(k.m[3 * axis], dv.x, 1e-7f);
        EXPECT_NEAR(k.m[3 * axis + 1], dv.y, 1e-7f);
        EXPECT_NEAR(k.m[3 * axis + 2], dv.z, 1e-7f);
    }
    Mat3 inv = mat3_inverse(mat3_add(k, k));
    for (int i = 0; i < 3; i++)
        for (int j = 0; j < 3; j++) {
            float s = 0;
            for (int t = 0; t < 3; t++) s += 2 * k.m[3 * i + t] * inv.m[3 * t + j];
            EXPECT_NEAR(s, i == j ? 1.0f : 0.0f, 1e-4f);
        }
}

TEST_F(BodyTest, RecentreMovesTheOriginToTheCentroid) {
    Body* box = make_box(1, -1, 1, 0, 0, 0, 0, 1);
    for (BodyVertex* v = box->Vertices; v != box->VerticesEnd; v++) v->Position.x += 2;
    box->Faces[0].Weight = -1;
    compute_mass_properties(*box);
    EXPECT_FLOAT_EQ(box->Centroid.x, 2.0f);
    recentre_body(*box, -1);
    EXPECT_EQ(box->Faces[0].Tag, -1);
    EXPECT_EQ(box->Faces[0].Weight, 1.0f);
    EXPECT_EQ(box->Faces[1].Tag, 1);
    finish_body(*box);
    EXPECT_NEAR(box->Centroid.x, 0.0f, 1e-6f);
    EXPECT_FLOAT_EQ(box->Radius, std::sqrt(3.0f));
    EXPECT_TRUE(point_inside(*box, {0.99f, 0, 0}));
}

TEST_F(BodyTest, FullWorldMakesNoBox) {
    for (int i = 0; i < MaxBodies; i++) ASSERT_NE(make_box(1, -1, 1, 0, 0, 0, 0, 1), nullptr);
    EXPECT_EQ(make_box(1, -1, 1, 0, 0, 0, 0, 1), nullptr);
    EXPECT_EQ(BodyCount, MaxBodies);
}

TEST_F(BodyTest, RebuildingScenesReusesGeometryStorage) {
    for (int i = 0; i < MaxBodies; i++) make_box(1, -1, 1, 0, 0, 0, 0, 1);
    BodyVertex* first = Bodies[0].Vertices;
    BodyVertex* last = Bodies[MaxBodies - 1].Vertices;
    for (int scene = 0; scene < 2000; scene++) {
        BodyCount = 0;
        for (int i = 0; i < MaxBodies; i++) make_box(1, -1, 1, 0, 0, 0, 0, 1);
    }
    EXPECT_EQ(Bodies[0].Vertices, first);
    EXPECT_EQ(Bodies[MaxBodies - 1].Vertices, last);
}

TEST_F(BodyTest, BadIndexListBuildsNothing) {
    Body& b = Bodies[0];
    clear_body(b);
    Vec3 pts[3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    const int bad[] = {0, 1, 7, -1};
    EXPECT_FALSE(build_polyhedron(b, pts, 3, bad, 4));
    EXPECT_EQ(face_count(b), 0);
    // Corners after the last closing entry belong to no face.
    const int open[] = {0, 1, 2, -1, 2, 1};
    EXPECT_TRUE(build_polyhedron(b, pts, 3, open, 6));
    EXPECT_EQ(face_count(b), 1);
    EXPECT_EQ(face_ref_count(b), 3);
}
