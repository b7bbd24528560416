#include "wrestler/wrestler.h"

#include <cstring>

namespace bb {

namespace {

Body* figure_box(float x, float y, float z, int texture, float scale, int sound, float gain) {
    Body* b = make_box(x, y, z, 0, 0, 0, texture, 0.125f);
    if (scale != 1.0f) scale_mass(*b, scale);
    if (sound) {
        b->SoundId = sound;
        b->SoundGain = gain;
    }
    b->ContactIterations = 40;
    return b;
}

struct JointSpec {
    Vec3 AnchorA, AnchorB, AxisA, AxisB, RefA, RefB;
    float LockTwist, ConeLimit, TwistLimit;
};

// moved names the body that is placed at the joint: 'A' or 'B'.
Joint* add_joint(Body* a, Body* b, const JointSpec& s, char moved) {
    Joint& j = Joints[JointCount++];
    j = Joint{};
    j.BodyA = a;
    j.BodyB = b;
    j.AnchorA = s.AnchorA;
    j.AnchorB = s.AnchorB;
    j.AxisA = s.AxisA;
    j.AxisB = s.AxisB;
    j.RefA = s.RefA;
    j.RefB = s.RefB;
    j.LockTwist = s.LockTwist;
    j.ConeLimit = s.ConeLimit;
    j.TwistLimit = s.TwistLimit;
    place_at_joint(j, moved == 'B' ? 0 : 1);
    return &j;
}

Vec3 unit(Vec3 v) {
    vec3_normalize(v);
    return v;
}

} // namespace

void place_at_joint(Joint& joint, int reference) {
    Body& ref = reference == 0 ? *joint.BodyA : *joint.BodyB;
    Body& moved = reference == 0 ? *joint.BodyB : *joint.BodyA;
    Vec3 ref_anchor = reference == 0 ? joint.AnchorA : joint.AnchorB;
    Vec3 moved_anchor = reference == 0 ? joint.AnchorB : joint.AnchorA;
    moved.Orientation = ref.Orientation;
    moved.Position =
        vec3_sub(vec3_add(ref.Position, mat3_transpose_mul_vec(ref_anchor, ref.Orientation)),
                 mat3_transpose_mul_vec(moved_anchor, moved.Orientation));
}

void capture_rest_pose(JointDrive* table, const Wrestler& w) {
    for (int j = 0; j < FigureJointCount; j++) {
        const Joint& joint = *w.FigureJoints[j];
        const Mat3& a = joint.BodyA->Orientation;
        const Mat3& b = joint.BodyB->Orientation;
        table[j].TargetAxis1 = mat3_mul_vec(b, mat3_transpose_mul_vec(joint.AxisA, a));
        table[j].TargetAxis2 = mat3_mul_vec(b, mat3_transpose_mul_vec(joint.RefA, a));
    }
}

bool build_wrestler(Wrestler& w, Vec3 position, float angle, int texture) {
    if (BodyCount + FigureBodyCount > MaxBodies || JointCount + FigureJointCount > MaxJoints)
        return false;
    std::memset(&w, 0, sizeof w);
    int first_body = BodyCount, first_joint = JointCount;

    Body* pelvis = figure_box(2.8f, -2.2f, 2.0f, texture, 1, 4, 0.01f);
    pelvis->Position = vec3_add(position, Vec3{0, 13.8f, 0});
    mat3_pre_rotate_y(pelvis->Orientation, angle);
    vec3_add_to(pelvis->Velocity, vec3_scale(Vec3{-float_sin(angle), 0, float_cos(angle)}, 0.1f));

    Body* chest = figure_box(2.7f, -2.2f, 1.5f, texture, 1, 4, 0.01f);
    Body* head = figure_box(1.2f, -1.5f, 1.2f, texture, 1, 0, 0);
    const Vec3 down = {0, -1, 0}, x1 = {1, 0, 0}, y1 = {0, 1, 0};
    add_joint(pelvis, chest, {{0, 2.4f, 0}, {0, -2.2f, 0}, down, down, x1, x1, 0, 0.09f, 0.16f},
              'B');
    add_joint(chest, head, {{0, 2.7f, 0}, {0, -1.5f, 0}, down, down, x1, x1, 0, 0.49f, 0.81f}, 'B');

    for (int side = 0; side < 2; side++) {
        float s = side == 0 ? 1.0f : -1.0f;
        Body* foot = figure_box(1.2f, -0.7f, 2.0f, texture, 3, 3, 0.002f);
        foot->SoundReferenceVolume = 400;
        foot->Inertia *= 0.5f;
        foot->InverseInertia *= 2.0f;
        Body* shin = figure_box(1.0f, -2.3f, 1.0f, texture, 1.7f, 4, 0.005f);
        Body* thigh = figure_box(1.2f, -3.0f, 1.2f, texture, 1, 4, 0.005f);
        add_joint(thigh, pelvis,
                  {{0, 2.2f, 0},
                   {1.5f * s, -2.0f, 0},
                   down,
                   unit({0.8f * s, -1, 0.1f}),
                   {s, 0, 0},
                   unit({s, 0, -0.6f}),
                   0,
                   0.64f,
                   0.36f},
                  'A');
        add_joint(shin, thigh,
                  {{0, 2.3f, 0},
                   {0, -2.5f, 0},
                   down,
                   unit({0, -0.2f, -1}),
                   {s, 0, 0},
                   {s, 0, 0},
                   1,
                   0.9604f,
                   0.25f},
                  'A');
        w.ThighLength =
            float_sqrt(vec3_length_squared(vec3_sub(Vec3{0, 2.2f, 0}, Vec3{0, -2.5f, 0})));
        add_joint(
            foot, shin,
            {{0, 1.0f, -1.0f}, {0, -1.8f, 0}, down, down, {s, 0, 0}, {s, 0, 0}, 0, 0.49f, 0.25f},
            'A');
        w.ShinLength =
            float_sqrt(vec3_length_squared(vec3_sub(Vec3{0, 2.3f, 0}, Vec3{0, -1.8f, 0})));
    }

    for (int side = 0; side < 2; side++) {
        float s = side == 0 ? 1.0f : -1.0f;
        Body* upper = figure_box(1.9f, -0.8f, 1.1f, texture, 1, 4, 0.005f);
        Body* fore = figure_box(1.9f, -0.7f, 0.8f, texture, 1, 4, 0.005f);
        Body* hand = figure_box(1.4f, -0.3f, 1.1f, texture, 1, 4, 0.005f);
        scale_mass(*hand, 2);
        scale_mass(*fore, 1.5f);
        add_joint(upper, chest,
                  {{-1.5f * s, 0, 0},
                   {3.2f * s, 2.0f, 0.1f},
                   {s, 0, 0},
                   {s, 0, 0.2f},
                   unit({0.5f * s, 1, 0}),
                   y1,
                   0,
                   0.9604f,
                   0.49f},
                  'A');
        add_joint(upper, fore,
                  {{1.5f * s, 0, -0.3f},
                   {-1.8f * s, 0, 0},
                   unit({0.6f * s, 0, 1}),
                   {s, 0, 0},
                   y1,
                   y1,
                   1,
                   0.7569f,
                   0.25f},
                  'B');
        add_joint(
            fore, hand,
            {{1.5f * s, 0, 0.1f}, {-1.1f * s, 0, 0}, {s, 0, 0}, {s, 0, 0}, y1, y1, 0, 0.25f, 0.64f},
            'B');
    }

    for (int i = 0; i < FigureBodyCount; i++) w.FigureBodies[i] = &Bodies[first_body + i];
    for (int j = 0; j < FigureJointCount; j++) w.FigureJoints[j] = &Joints[first_joint + j];
    w.FootTarget[0] = Vec3{0.5f, -7.9f, 0};
    w.FootTarget[1] = Vec3{-0.5f, -7.9f, 0};
    w.StandHeight = -7.9f;
    capture_rest_pose(w.Drives, w);
    capture_rest_pose(w.RestDrives, w);
    return true;
}

// The mass-weighted mean of one Vec3 field over the 15 bodies.
static Vec3 mass_weighted_mean(const Wrestler& w, Vec3 Body::*field) {
    Vec3 sum = {0, 0, 0};
    float mass = 0;
    for (Body* b : w.FigureBodies) {
        vec3_add_to(sum, vec3_scale(b->*field, b->Mass));
        mass += b->Mass;
    }
    return Vec3{sum.x / mass, sum.y / mass, sum.z / mass};
}

Vec3 wrestler_centre_of_mass(const Wrestler& w) {
    return mass_weighted_mean(w, &Body::Position);
}
Vec3 wrestler_mean_velocity(const Wrestler& w) {
    return mass_weighted_mean(w, &Body::Velocity);
}

float wrestler_kinetic_energy(const Wrestler& w) {
    float e = 0;
    for (Body* b : w.FigureBodies)
        e += vec3_length_squared(b->Velocity) * b->Mass +
             vec3_length_squared(b->AngularVelocity) * b->Inertia;
    return e;
}

Vec3 wrestler_angular_momentum(const Wrestler& w, Vec3 c, Vec3 u) {
    Vec3 sum = {0, 0, 0};
    for (Body* b : w.FigureBodies) {
        Vec3 orbital = vec3_cross(vec3_sub(b->Velocity, u), vec3_sub(b->Position, c));
        vec3_add_to(sum, vec3_add(vec3_scale(b->AngularVelocity, b->Inertia),
                                  vec3_scale(orbital, b->Mass)));
    }
    return sum;
}

} // namespace bb
