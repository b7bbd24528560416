// Balance and pose: turns the requests of the earlier layers into joint drive
// targets. Leg targets are written in the pelvis frame, arm targets in the
// chest frame: a drive target is always in its joint's body B frame.
#include "wrestler/control.h"

#include <cmath>

namespace bb {

float negated_cosine(float a, float b, float c) {
    if (a + b <= c) return 1.0f;
    if (a + c < b) return -1.0f;
    float ba = b / a, ca = c / a;
    float k = -((ba * ba) - (ca * ca) + 1.0f) / (2.0f * ba);
    // NOTE: c < a - b leaves the triangle; clamp so the square roots stay real.
    if (k > 1.0f) k = 1.0f;
    if (k < -1.0f) k = -1.0f;
    return k;
}

void clamp_to_down_cone(Vec3& d, float alpha) {
    if (d.y > -float_cos(alpha)) {
        d.y = -float_sqrt(1.0f - d.y * d.y) /
              static_cast<float>(std::tan(static_cast<double>(alpha)));
        vec3_normalize(d);
    }
}

float smoothstep(float x) {
    return 3.0f * x * x - 2.0f * x * x * x;
}

float limit_filter_input(float x) {
    if (x * x > 0.09f) return 0.3f * (x < 0 ? -x : x);
    return x;
}

static void turn_feet(Wrestler& w, Wrestler& o, ControlValues& c) {
    if (w.FootTarget[0].z * w.FootTarget[0].z > 6.25f) c.TurnGain = 0.0f;
    Vec3 g = vec3_sub(o.FigureBodies[Pelvis]->Position, w.FigureBodies[Pelvis]->Position);
    float a = vec3_dot(g, c.Side) / float_sqrt(vec3_length_squared(g)) * -0.1f;
    if (a * a > 0.0016f) a = a < 0 ? -0.04f : 0.04f;
    if (a != a) a = 0.0f; // the two pelvises coincide (a lone wrestler)
    w.Turn = (c.TurnCommand + a) * c.TurnGain;

    float t = w.Turn, co = float_cos(t), si = float_sin(t);
    Vec3 ft0 = w.FootTarget[0], ft1 = w.FootTarget[1];
    float x = co * ft0.x + si * ft0.z;
    float z = co * ft0.z - si * ft0.x;
    w.FootTarget[0].x = x;
    w.FootTarget[0].z = z;
    w.FootTarget[1].x = -x;
    w.FootTarget[1].z = -z;
    // Refused: foot 0 would come closer than 0.2 to the pelvis's centre line.
    if (x < 0.2f) {
        w.FootTarget[0] = ft0;
        w.FootTarget[1] = ft1;
    }
}

static void pose_legs(Wrestler& w, ControlValues& c) {
    Body& pelvis = *w.FigureBodies[Pelvis];
    Vec3 u = mat3_mul_vec(pelvis.Orientation, Vec3{0, 1, 0});
    for (int k = 0; k < 2; k++) {
        float s = k == 0 ? 1.0f : -1.0f;
        JointDrive& hip = w.Drives[k == 0 ? Hip0 : Hip1];
        JointDrive& knee = w.Drives[k == 0 ? Knee0 : Knee1];
        JointDrive& ankle = w.Drives[k == 0 ? Ankle0 : Ankle1];
        Body& shin = *w.FigureBodies[k == 0 ? Shin0 : Shin1];
        Vec3 ft = w.FootTarget[k];

        float ty = 0.7f * (ft.x * u.x + ft.z * u.z) + 0.5f * s * w.Roll - 2.0f * c.Squat;
        Vec3 d = vec3_sub(Vec3{0, ty, 0}, ft);
        float len = float_sqrt(vec3_length_squared(d));
        float tilt = c.Bend + w.Pitch;
        vec3_rotate_axis(d, Vec3{1, 0, 0}, float_cos(tilt), float_sin(tilt));
        vec3_rotate_axis(d, Vec3{0, 0, 1}, float_cos(w.Roll), -float_sin(w.Roll));
        hip.TargetAxis1 = vec3_normalized(vec3_negate(d));

        float kc = negated_cosine(w.ThighLength, w.ShinLength, len);
        knee.TargetAxis1 = vec3_normalized(Vec3{0, -kc, -float_sqrt(1.0f - kc * kc)});

        float k2 = negated_cosine(w.ThighLength, len, w.ShinLength);
        hip.TargetAxis2 = vec3_normalized(Vec3{s, 0, -0.1f});
        vec3_rotate_axis(hip.TargetAxis1, vec3_scale(hip.TargetAxis2, s), -k2,
                         float_sqrt(1.0f - k2 * k2));
        vec3_normalize(hip.TargetAxis1);

        // The sole tilts to push the body back over the support.
        Vec3 g = vec3_normalized(
            vec3_add(vec3_sub(c.Support, vec3_add(c.Centre, vec3_scale(c.CentreVelocity, 20.0f))),
                     Vec3{0, 1, 0}));
        clamp_to_down_cone(g, 0.3f);
        ankle.TargetAxis1 = mat3_mul_vec(shin.Orientation, g);
    }
}

static void pose_trunk_and_arms(Wrestler& w, ControlValues& c) {
    float zc = w.FootTarget[1].z - w.FootTarget[0].z;
    if (zc * zc > 16.0f) zc = zc < 0 ? -4.0f : 4.0f;
    float r4 = w.Roll / 4.0f, p4 = w.Pitch / 4.0f;
    w.Drives[Waist].TargetAxis1 =
        vec3_normalized(Vec3{float_sin(r4), -float_cos(r4) * float_cos(p4), float_sin(p4)});
    w.Drives[Waist].TargetAxis2 = vec3_normalized(Vec3{40, 0, -zc});
    float a = p4 - 0.9f * c.Bend - c.Nod;
    w.Drives[Neck].TargetAxis1 =
        vec3_normalized(Vec3{float_sin(r4), -float_cos(r4) * float_cos(a), float_sin(a)});

    for (int i = 0; i < 2; i++) {
        float s = i == 0 ? 1.0f : -1.0f;
        JointDrive& shoulder = w.Drives[i == 0 ? Shoulder0 : Shoulder1];
        JointDrive& elbow = w.Drives[i == 0 ? Elbow0 : Elbow1];
        JointDrive& wrist = w.Drives[i == 0 ? Wrist0 : Wrist1];
        float wt = c.AimWeight[i], e2 = c.ElbowBend[i], e3 = c.WristBend[i];

        float b = (w.Pitch - 0.08f) * 3.0f + w.BowBend - 2.0f * c.Bend - 0.4f * c.Squat;
        shoulder.TargetAxis1 = vec3_normalized(Vec3{
            0.3f * s, -float_cos(b) - s * float_sin(4.0f * w.Roll), 0.05f * s * zc - float_sin(b)});
        // The arm's aim counts only with a weight; without one it need not exist.
        if (wt != 0.0f) {
            Vec3 r = c.ArmDirection[i];
            vec3_rotate_by_vector(r, vec3_scale(shoulder.TargetAxis2, -0.75f * s * e2));
            shoulder.TargetAxis1 = vec3_normalized(
                vec3_add(vec3_scale(shoulder.TargetAxis1, 1.0f - wt), vec3_scale(r, wt)));
        }
        float h = 0.66f - 0.2f * s * zc;
        if (h > 1.66f) h = 1.66f;
        float se = float_sin(e2), ce = float_cos(e2);
        elbow.TargetAxis1 = vec3_normalized(Vec3{s * ((1.66f * se + ce) * wt + (1.0f - wt)), 0,
                                                 (1.66f * ce - se) * wt + h * (1.0f - wt)});
        wrist.TargetAxis1 =
            vec3_normalized(vec3_add(vec3_scale(Vec3{s, 0, 0}, 1.0f - wt),
                                     vec3_scale(Vec3{s * float_cos(e3), -float_sin(e3), 0}, wt)));
    }
}

void synthesise_pose(Wrestler& w, Wrestler& o, ControlValues& c) {
    turn_feet(w, o, c);

    float m = c.Squat * 0.1f;
    c.Lean += m;
    Vec3 ahead20 = vec3_add(c.Centre, vec3_scale(c.CentreVelocity, 20.0f));
    Vec3 err = vec3_sub(ahead20, c.Support);
    w.BalanceError = Vec3{err.x, 0.0f, err.z};
    w.BalanceGain += (1.0f - w.BalanceGain) * 0.01f;

    Vec3 ahead15 = vec3_add(c.Centre, vec3_scale(c.CentreVelocity, 15.0f));
    float p = ((10.0f * w.PitchDrift + w.Pitch) * 0.1f +
               vec3_dot(c.Forward, vec3_sub(ahead15, c.Support))) *
                  0.04f +
              vec3_dot(c.Spin, c.Side) * 0.00004f - w.PitchBias;
    p = limit_filter_input(p);
    p *= w.BalanceGain;
    w.PitchDrift += (p - w.PitchDrift) * 0.01f;
    w.Pitch = (m + p + w.Pitch) * 0.8f;
    w.PitchBias += (w.Pitch - c.Lean - w.PitchBias) * 0.004f;

    float r = (vec3_dot(c.Side, vec3_sub(c.Centre, c.Support)) +
               20.0f * vec3_dot(c.Side, c.CentreVelocity)) *
                  0.002f +
              vec3_dot(c.Spin, c.Forward) * 0.00003f;
    r = limit_filter_input(r);
    r *= w.BalanceGain;
    w.Roll = (r + w.Roll) * 0.94f + (c.SupportShare - 0.5f) * 0.0047f + w.Turn * 0.376f;

    pose_legs(w, c);
    pose_trunk_and_arms(w, c);
}

} // namespace bb
