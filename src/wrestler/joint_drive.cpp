#include "physics/body_mechanics.h"
#include "wrestler/wrestler.h"

namespace bb {

Wrestler Wrestlers[2];
Wrestler* WrestlersEnd = Wrestlers;

// The pose part of the drive law: the turn that brings A's axes onto the
// targets, the first axis pair weighing four times the second. It depends
// only on the bodies' orientations, which the solver's passes do not change.
static Vec3 drive_turn(const Joint& j, const JointDrive& d) {
    const Body& a = *j.BodyA;
    const Body& b = *j.BodyB;
    Vec3 t1 = mat3_transpose_mul_vec(d.TargetAxis1, b.Orientation);
    Vec3 a1 = mat3_transpose_mul_vec(j.AxisA, a.Orientation);
    Vec3 v = vec3_scale(vec3_cross(t1, a1), 0.4f);
    Vec3 t2 = mat3_transpose_mul_vec(d.TargetAxis2, b.Orientation);
    Vec3 a2 = mat3_transpose_mul_vec(j.RefA, a.Orientation);
    vec3_add_to(v, vec3_scale(vec3_scale(vec3_cross(t2, a2), 0.4f), 0.25f));
    return v;
}

// The turn less the joint's relative spin, limited to Strength, as a torque.
static void drive_joint(Joint& j, const JointDrive& d, Vec3 turn) {
    Body& a = *j.BodyA;
    Body& b = *j.BodyB;
    Vec3 v = turn;
    vec3_sub_from(v, vec3_sub(a.AngularVelocity, b.AngularVelocity));
    float len2 = vec3_length_squared(v);
    if (len2 > d.Strength * d.Strength) {
        float len = float_sqrt(len2);
        v = vec3_scale(v, d.Strength);
        v = Vec3{v.x / len, v.y / len, v.z / len};
    }
    float k = 0.7f / (a.InverseInertia + b.InverseInertia);
    apply_joint_torque(j, vec3_scale(v, k));
}

void apply_joint_drives(Wrestler& w) {
    for (int j = 0; j < FigureJointCount; j++) {
        Joint& joint = *w.FigureJoints[j];
        drive_joint(joint, w.Drives[j], drive_turn(joint, w.Drives[j]));
    }
}

// Each wrestler's drive turns of this tick, made once before the passes.
static Vec3 DriveTurns[2][FigureJointCount];

void prepare_all_joint_drives() {
    for (Wrestler* w = Wrestlers; w != WrestlersEnd; w++)
        for (int j = 0; j < FigureJointCount; j++)
            DriveTurns[w - Wrestlers][j] = drive_turn(*w->FigureJoints[j], w->Drives[j]);
}

void apply_all_joint_drives() {
    for (Wrestler* w = Wrestlers; w != WrestlersEnd; w++)
        for (int j = 0; j < FigureJointCount; j++)
            drive_joint(*w->FigureJoints[j], w->Drives[j], DriveTurns[w - Wrestlers][j]);
}

} // namespace bb
