#include "game/arena.h"
#include "game/game_flow.h"
#include "physics/body_mechanics.h"
#include "physics_fixture.h"
#include "wrestler/wrestler.h"

#include <cmath>

using namespace bb;

namespace {

struct WrestlerBodyTest : PhysicsWorldTest {
    Wrestler w;
    void build(float angle, Vec3 at = {0, 0, 0}) {
        ASSERT_TRUE(build_wrestler(w, at, angle, 2));
        WrestlersEnd = Wrestlers;
        rebuild_joint_links();
    }
};

void expect_near(Vec3 v, Vec3 e, float tol) {
    EXPECT_NEAR(v.x, e.x, tol);
    EXPECT_NEAR(v.y, e.y, tol);
    EXPECT_NEAR(v.z, e.z, tol);
}

} // namespace

TEST_F(WrestlerBodyTest, CentresAndMassesAtAngleZero) {
    build(0);
    struct Case {
        int body;
        Vec3 centre;
        float mass;
    };
    const Case cases[] = {
        {Pelvis, {0, 13.8f, 0}, 591.36f},
        {Chest, {0, 18.4f, 0}, 427.68f},
        {Head, {0, 22.6f, 0}, 103.68f},
        {Foot0, {1.5f, 2.0f, 1.0f}, 241.92f},
        {Shin0, {1.5f, 4.8f, 0}, 187.68f},
        {Thigh0, {1.5f, 9.6f, 0}, 207.36f},
        {Foot1, {-1.5f, 2.0f, 1.0f}, 241.92f},
        {Shin1, {-1.5f, 4.8f, 0}, 187.68f},
        {Thigh1, {-1.5f, 9.6f, 0}, 207.36f},
        {UpperArm0, {4.7f, 20.4f, 0.1f}, 80.256f},
        {Forearm0, {8.0f, 20.4f, -0.2f}, 76.608f},
        {Hand0, {10.6f, 20.4f, -0.1f}, 44.352f},
        {UpperArm1, {-4.7f, 20.4f, 0.1f}, 80.256f},
        {Forearm1, {-8.0f, 20.4f, -0.2f}, 76.608f},
        {Hand1, {-10.6f, 20.4f, -0.1f}, 44.352f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        const Body& b = *w.FigureBodies[c.body];
        expect_near(b.Position, c.centre, 1e-4f);
        EXPECT_NEAR(b.Mass, c.mass, c.mass * 1e-6f);
        EXPECT_EQ(b.ContactIterations, 40);
    }
    // The soles are 1.3 above the given point.
    EXPECT_NEAR(w.FigureBodies[Foot0]->Position.y - 0.7f, 1.3f, 1e-5f);
    expect_near(w.FigureBodies[Pelvis]->Velocity, {0, 0, 0.1f}, 1e-7f);
    for (int i = 1; i < FigureBodyCount; i++)
        EXPECT_EQ(vec3_length_squared(w.FigureBodies[i]->Velocity), 0.0f);
    EXPECT_FLOAT_EQ(w.ThighLength, 4.7f);
    EXPECT_FLOAT_EQ(w.ShinLength, 4.1f);
    EXPECT_FLOAT_EQ(w.FigureBodies[Foot0]->SoundReferenceVolume, 400.0f);
    EXPECT_FLOAT_EQ(w.FigureBodies[Foot0]->Inertia * w.FigureBodies[Foot0]->InverseInertia, 1.0f);
}

TEST_F(WrestlerBodyTest, BuiltInOneRigidPoseAtAnyAngle) {
    for (float angle : {0.0f, 0.006283186f, 3.1478758f, -1.5770795f, 2.2f}) {
        SCOPED_TRACE(angle);
        SetUp();
        build(angle, {3, 5, -7});
        for (int j = 0; j < FigureJointCount; j++) {
            const Joint& joint = *w.FigureJoints[j];
            expect_near(body_to_world(*joint.BodyA, joint.AnchorA),
                        body_to_world(*joint.BodyB, joint.AnchorB), 1e-4f);
        }
        for (int i = 1; i < FigureBodyCount; i++)
            for (int k = 0; k < 9; k++)
                EXPECT_EQ(w.FigureBodies[i]->Orientation.m[k], w.FigureBodies[0]->Orientation.m[k]);
        // Rest targets: the drives see no error, so at rest they do nothing.
        for (int j = 0; j < FigureJointCount; j++) w.Drives[j].Strength = 0.1f;
        for (Body* b : w.FigureBodies) b->Velocity = b->AngularVelocity = Vec3{0, 0, 0};
        apply_joint_drives(w);
        for (Body* b : w.FigureBodies) EXPECT_LT(vec3_length_squared(b->AngularVelocity), 1e-15f);
    }
}

TEST_F(WrestlerBodyTest, HiddenPartFigureFacesMinusX) {
    build(-1.5770795f);
    Vec3 v = w.FigureBodies[Pelvis]->Velocity;
    expect_near(v, {0.1f, 0, -0.0006f}, 1e-4f);
    Vec3 side = mat3_row(w.FigureBodies[Pelvis]->Orientation, 0);
    Vec3 forward = vec3_cross(vec3_normalized(Vec3{side.x, 0, side.z}), Vec3{0, 1, 0});
    EXPECT_NEAR(forward.x, -1.0f, 1e-4f);
}

TEST_F(WrestlerBodyTest, DriveLaw) {
    build(0);
    Joint& j = *w.FigureJoints[Waist];
    Body& a = *j.BodyA;
    Body& b = *j.BodyB;
    float k = 0.7f / (a.InverseInertia + b.InverseInertia);

    // Strength 0: nothing, whatever the targets.
    JointDrive off = {{1, 0, 0}, {0, 0, 1}, 0};
    w.Drives[Waist] = off;
    apply_joint_drives(w);
    EXPECT_EQ(vec3_length_squared(a.AngularVelocity), 0.0f);

    // Relative spin beyond Strength: an impulse of exactly Strength * k against it.
    w.Drives[Waist] = w.RestDrives[Waist];
    w.Drives[Waist].Strength = 0.1f;
    for (int i = 0; i < FigureJointCount; i++)
        if (i != Waist) w.Drives[i].Strength = 0;
    a.AngularVelocity = {0, 0.5f, 0};
    apply_joint_drives(w);
    EXPECT_NEAR(a.AngularVelocity.y, 0.5f - a.InverseInertia * 0.1f * k, 1e-6f);
    EXPECT_NEAR(b.AngularVelocity.y, b.InverseInertia * 0.1f * k, 1e-6f);

    // A fixed body is not turned; the other one is.
    a.AngularVelocity = {0, 0.5f, 0};
    b.AngularVelocity = {0, 0, 0};
    make_static(b);
    apply_joint_drives(w);
    EXPECT_EQ(b.AngularVelocity.y, 0.0f);
    EXPECT_LT(a.AngularVelocity.y, 0.5f);
}

TEST_F(WrestlerBodyTest, NoRoomBuildsNothing) {
    while (BodyCount < MaxBodies - 14) make_box(1, -1, 1, 0, 0, 0, 0, 1);
    int32_t bodies = BodyCount, joints = JointCount;
    EXPECT_FALSE(build_wrestler(w, {0, 0, 0}, 0, 2));
    EXPECT_EQ(BodyCount, bodies);
    EXPECT_EQ(JointCount, joints);
}

TEST_F(WrestlerBodyTest, PreparedDrivesMatchTheDriveLawToTheBit) {
    Score[0] = Score[1] = 0;
    start_bout();
    for (int i = 0; i < 2; i++)
        for (int j = 0; j < FigureJointCount; j++) {
            Wrestlers[i].Drives[j].Strength = 0.05f;
            Wrestlers[i].Drives[j].TargetAxis1 = vec3_normalized(Vec3{0.1f * j, -1, 0.3f});
        }
    for (Body* b : Wrestlers[1].FigureBodies) b->AngularVelocity = Vec3{0.01f, -0.02f, 0.03f};
    Body saved[2 * FigureBodyCount];
    int first = Wrestlers[0].FigureBodies[0] - Bodies;
    for (int i = 0; i < 2 * FigureBodyCount; i++) saved[i] = Bodies[first + i];
    for (Wrestler* w = Wrestlers; w != WrestlersEnd; w++) apply_joint_drives(*w);
    Body reference[2 * FigureBodyCount];
    for (int i = 0; i < 2 * FigureBodyCount; i++) {
        reference[i] = Bodies[first + i];
        Bodies[first + i] = saved[i];
    }
    prepare_all_joint_drives();
    apply_all_joint_drives();
    for (int i = 0; i < 2 * FigureBodyCount; i++) {
        EXPECT_EQ(Bodies[first + i].AngularVelocity.x, reference[i].AngularVelocity.x);
        EXPECT_EQ(Bodies[first + i].AngularVelocity.y, reference[i].AngularVelocity.y);
        EXPECT_EQ(Bodies[first + i].AngularVelocity.z, reference[i].AngularVelocity.z);
    }
}
