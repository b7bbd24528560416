#include "physics/joint.h"
#include "physics/world_step.h"
#include "physics_fixture.h"

#include <cmath>

using namespace bb;

namespace {

struct JointTest : PhysicsWorldTest {
    Body* a = nullptr;
    Body* b = nullptr;
    Joint* j = nullptr;
    void SetUp() override {
        PhysicsWorldTest::SetUp();
        a = make_box(1, -1, 1, 0, 0, 0, 0, 1);
        b = make_box(1, -1, 1, 0, -2, 0, 0, 1);
        j = &Joints[JointCount++];
        *j = Joint{};
        j->BodyA = a;
        j->BodyB = b;
        j->AnchorA = {0, -1, 0};
        j->AnchorB = {0, 1, 0};
        j->AxisA = j->AxisB = {0, -1, 0};
        j->RefA = j->RefB = {1, 0, 0};
        j->ConeLimit = 0.09f;
        j->TwistLimit = 0.16f;
        rebuild_joint_links();
    }
};

} // namespace

TEST_F(JointTest, SpinDampingTakesAFifthOfTheRelativeSpin) {
    a->AngularVelocity = {0, 0.1f, 0};
    prepare_joint(*j);
    Vec3 rel = vec3_sub(a->AngularVelocity, b->AngularVelocity);
    EXPECT_FLOAT_EQ(rel.y, 0.08f);
    EXPECT_EQ(j->ActiveLimits, 0);
}

TEST_F(JointTest, CoincidentAnchorsAtRestApplyNothing) {
    prepare_joint(*j);
    for (int pass = 0; pass < 40; pass++) solve_joint(*j);
    EXPECT_EQ(vec3_length_squared(a->Velocity), 0.0f);
    EXPECT_EQ(vec3_length_squared(a->AngularVelocity), 0.0f);
    EXPECT_EQ(vec3_length_squared(b->Velocity), 0.0f);
}

TEST_F(JointTest, ThirtyDegreeConeIsActive) {
    j->TwistLimit = 1.0f; // leave the twist out of it
    mat3_post_rotate_z(b->Orientation, 0.5235988f);
    prepare_joint(*j);
    EXPECT_EQ(j->ActiveLimits, 1);
    Vec3 a1 = mat3_transpose_mul_vec(j->AxisA, a->Orientation);
    Vec3 b1 = mat3_transpose_mul_vec(j->AxisB, b->Orientation);
    Vec3 g = vec3_normalized(vec3_cross(a1, b1));
    float s = (0.5f - 0.3f) * 0.2f / (a->InverseInertia + b->InverseInertia);
    EXPECT_NEAR(j->ConeAxis.z, g.z, 1e-6f);
    // A receives -I^-1 G s and B the opposite.
    EXPECT_NEAR(a->AngularVelocity.z, -a->InverseInertia * g.z * s, 1e-7f);
    EXPECT_NEAR(b->AngularVelocity.z, b->InverseInertia * g.z * s, 1e-7f);
}

TEST_F(JointTest, OppositeAxesLeaveTheConeInactive) {
    j->AxisB = {0, 1, 0};
    j->TwistLimit = 1.0f;
    prepare_joint(*j);
    EXPECT_EQ(j->ActiveLimits & 1, 0);
}

TEST_F(JointTest, AlignedTwistLockDoesNothing) {
    j->LockTwist = 1;
    prepare_joint(*j);
    EXPECT_EQ(j->ActiveLimits, 4);
    EXPECT_EQ(vec3_length_squared(j->TwistAxis), 0.0f);
    for (int pass = 0; pass < 40; pass++) solve_joint(*j);
    EXPECT_EQ(vec3_length_squared(a->AngularVelocity), 0.0f);
    EXPECT_EQ(vec3_length_squared(b->AngularVelocity), 0.0f);
}

TEST_F(JointTest, TwistBeyondItsLimitIsPushedBack) {
    // Twist B by 40 degrees about the shared primary axis: |RefA x RefB|^2 = 0.41 > 0.16.
    mat3_post_rotate_y(b->Orientation, 0.6981317f);
    prepare_joint(*j);
    EXPECT_EQ(j->ActiveLimits, 2);
    // The correction spins the bodies against each other about the vertical.
    Vec3 rel = vec3_sub(a->AngularVelocity, b->AngularVelocity);
    EXPECT_GT(std::fabs(rel.y), 0.0f);
    EXPECT_NEAR(rel.x, 0.0f, 1e-9f);
    EXPECT_NEAR(rel.z, 0.0f, 1e-9f);
}

TEST_F(JointTest, LinksListNewestJointFirst) {
    Body* c = make_box(1, -1, 1, 0, -4, 0, 0, 1);
    Joint& j2 = Joints[JointCount++];
    j2 = Joint{};
    j2.BodyA = b;
    j2.BodyB = c;
    j->ConeImpulse = 5;
    rebuild_joint_links();
    ASSERT_NE(b->JointLinks, nullptr);
    EXPECT_EQ(b->JointLinks->Joint, &j2);
    EXPECT_EQ(b->JointLinks->Other, c);
    ASSERT_NE(b->JointLinks->Next, nullptr);
    EXPECT_EQ(b->JointLinks->Next->Joint, j);
    EXPECT_EQ(b->JointLinks->Next->Other, a);
    EXPECT_EQ(b->JointLinks->Next->Next, nullptr);
    EXPECT_EQ(j->ConeImpulse, 0.0f);
}

TEST_F(JointTest, LinkPoolFullLeavesLaterJointsUnlinked) {
    JointCount = 0;
    for (int i = 0; i < MaxJoints; i++) {
        Joint& k = Joints[JointCount++];
        k = Joint{};
        k.BodyA = a;
        k.BodyB = b;
    }
    rebuild_joint_links();
    int links = 0;
    for (JointLink* l = a->JointLinks; l; l = l->Next) links++;
    EXPECT_EQ(links, MaxJointLinks / 2);
}

TEST_F(JointTest, LimitsTurnTheBodiesBackOverTicks) {
    struct Case {
        const char* what;
        void (*turn)(Mat3&);
        float (*measure)(const Joint&);
    };
    auto cone = [](const Joint& k) {
        Vec3 a1 = mat3_transpose_mul_vec(k.AxisA, k.BodyA->Orientation);
        Vec3 b1 = mat3_transpose_mul_vec(k.AxisB, k.BodyB->Orientation);
        return vec3_length_squared(vec3_cross(a1, b1));
    };
    auto twist = [](const Joint& k) {
        Vec3 a2 = mat3_transpose_mul_vec(k.RefA, k.BodyA->Orientation);
        Vec3 b2 = mat3_transpose_mul_vec(k.RefB, k.BodyB->Orientation);
        return vec3_length_squared(vec3_cross(a2, b2));
    };
    const Case cases[] = {
        {"cone", [](Mat3& m) { mat3_post_rotate_z(m, 0.7f); }, cone},
        {"twist", [](Mat3& m) { mat3_post_rotate_y(m, 0.9f); }, twist},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        c.turn(b->Orientation);
        float before = c.measure(*j);
        for (int tick = 0; tick < 100; tick++) {
            prepare_joint(*j);
            for (int pass = 0; pass < 40; pass++) solve_joint(*j);
            integrate_body(*a);
            integrate_body(*b);
        }
        EXPECT_LT(c.measure(*j), before * 0.7f);
    }
}
