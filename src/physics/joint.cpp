#include "physics/joint.h"

#include "physics/body_mechanics.h"

namespace bb {

Joint Joints[MaxJoints];
int32_t JointCount = 0;
JointLink JointLinkPool[MaxJointLinks];

void rebuild_joint_links() {
    for (int i = 0; i < BodyCount; i++) Bodies[i].JointLinks = nullptr;
    JointLink* link = JointLinkPool;
    JointLink* end = JointLinkPool + MaxJointLinks;
    for (int i = 0; i < JointCount; i++) {
        Joint& j = Joints[i];
        j.ActiveLimits = 0;
        j.ConeImpulse = 0.0f;
        j.TwistImpulse = 0.0f;
        if (end - link < 2) continue;
        *link = JointLink{j.BodyA->JointLinks, &j, j.BodyB};
        j.BodyA->JointLinks = link++;
        *link = JointLink{j.BodyB->JointLinks, &j, j.BodyA};
        j.BodyB->JointLinks = link++;
    }
}

void apply_joint_torque(Joint& joint, Vec3 t) {
    apply_angular_impulse(*joint.BodyA, vec3_negate(t));
    apply_angular_impulse(*joint.BodyB, t);
}

static Vec3 dir(const Body& b, Vec3 v) {
    return mat3_transpose_mul_vec(v, b.Orientation);
}

void prepare_joint(Joint& j) {
    Body& a = *j.BodyA;
    Body& b = *j.BodyB;
    float s = a.InverseInertia + b.InverseInertia;
    apply_joint_torque(j, vec3_scale(vec3_sub(a.AngularVelocity, b.AngularVelocity), -0.2f / s));
    j.ActiveLimits = 0;

    Vec3 l = body_to_world(a, j.AnchorA);
    Vec3 h = body_to_world(b, j.AnchorB);
    j.WorldAnchorA = l;
    j.WorldAnchorB = h;
    j.InverseK = mat3_inverse(mat3_add(response_matrix(a, l), response_matrix(b, h)));

    Vec3 a1 = dir(a, j.AxisA), b1 = dir(b, j.AxisB);
    Vec3 g = vec3_cross(a1, b1);
    float f = vec3_length_squared(g);
    vec3_normalize(g);
    Vec3 a2 = dir(a, j.RefA), b2 = dir(b, j.RefB);
    Vec3 o = vec3_cross(a2, b2);

    if (j.LockTwist != 0.0f) {
        apply_angular_impulse(a, vec3_scale(o, 0.01f));
        apply_angular_impulse(b, vec3_scale(vec3_negate(o), 0.01f));
        j.ActiveLimits |= 4;
        j.TwistAxis = vec3_normalized(o);
        apply_angular_impulse(a, vec3_scale(j.TwistAxis, j.TwistImpulse));
        apply_angular_impulse(b, vec3_scale(vec3_negate(j.TwistAxis), j.TwistImpulse));
    } else {
        float theta = angle_atan2(float_sqrt(f), vec3_dot(a1, b1));
        Vec3 a2s = a2;
        vec3_rotate_axis(a2s, g, float_cos(-theta), float_sin(-theta));
        float t = vec3_length_squared(o);
        if (t > j.TwistLimit) {
            j.ActiveLimits |= 2;
            Vec3 k = vec3_cross(a2s, b2);
            float half = theta / 2.0f;
            vec3_rotate_axis(k, g, float_cos(half), float_sin(half));
            vec3_normalize(k);
            j.TwistAxis = k;
            float st = (float_sqrt(t) - float_sqrt(j.TwistLimit)) * 0.04f / s + j.TwistImpulse;
            apply_angular_impulse(a, vec3_scale(k, st));
            apply_angular_impulse(b, vec3_scale(vec3_negate(k), st));
        } else {
            j.TwistImpulse = 0.0f;
        }
    }

    if (f >= j.ConeLimit) {
        j.ActiveLimits |= 1;
        j.ConeAxis = g;
        float sc = (float_sqrt(f) - float_sqrt(j.ConeLimit)) * 0.2f / s + j.ConeImpulse;
        apply_angular_impulse(a, vec3_scale(g, sc));
        apply_angular_impulse(b, vec3_scale(vec3_negate(g), sc));
    }
}

// One-sided angular row: the accumulated impulse never goes negative.
static void solve_angular_row(Joint& j, Vec3 w, float& accumulated) {
    Body& a = *j.BodyA;
    Body& b = *j.BodyB;
    float s = a.InverseInertia + b.InverseInertia;
    float next =
        0.9f / s * vec3_dot(vec3_sub(a.AngularVelocity, b.AngularVelocity), w) + accumulated;
    if (!(next >= 0.0f)) next = 0.0f;
    float delta = next - accumulated;
    accumulated = next;
    apply_angular_impulse(a, vec3_scale(w, delta));
    apply_angular_impulse(b, vec3_scale(vec3_negate(w), delta));
}

void solve_joint(Joint& j) {
    Body& a = *j.BodyA;
    Body& b = *j.BodyB;
    Vec3 l = j.WorldAnchorA;
    Vec3 h = j.WorldAnchorB;
    Vec3 u = vec3_sub(point_velocity(a, l), point_velocity(b, h));
    Vec3 impulse = mat3_mul_vec(j.InverseK, vec3_sub(u, vec3_scale(vec3_sub(h, l), 0.03f)));
    apply_impulse(a, l, vec3_negate(impulse));
    apply_impulse(b, h, impulse);
    if (j.ActiveLimits & 4) solve_angular_row(j, j.TwistAxis, j.TwistImpulse);
    if (j.ActiveLimits & 1) solve_angular_row(j, j.ConeAxis, j.ConeImpulse);
    if (j.ActiveLimits & 2) solve_angular_row(j, j.TwistAxis, j.TwistImpulse);
}

} // namespace bb
