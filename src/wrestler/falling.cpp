// Falling and getting up: limp as a ragdoll, then get up from the rest pose
// with a scripted fold of the limbs, rolling over first when lying on the back.
// t below is GaitTicks.
#include "game/game_flow.h"
#include "wrestler/control.h"

#include <cmath>

namespace bb {

static Vec3 local_to_world(const Body& b, Vec3 v) {
    return mat3_transpose_mul_vec(v, b.Orientation);
}

static float min1(float x) {
    return x < 1.0f ? x : 1.0f;
}

// Every drive back to the rest pose, at a strength ramping with t to 0.05.
static void ramp_rest_pose(Wrestler& w) {
    float k = w.GaitTicks * 0.00025f;
    if (k > 0.05f) k = 0.05f;
    for (int j = 0; j < FigureJointCount; j++) {
        w.Drives[j] = w.RestDrives[j];
        w.Drives[j].Strength = k;
    }
}

static void turn(Vec3& target, Vec3 by) {
    vec3_rotate_by_vector(target, by);
}

void gait_limp(Wrestler& w, ControlValues& c) {
    for (JointDrive& d : w.Drives) d = JointDrive{{0, 0, 0}, {0, 0, 0}, 0.0f};
    if (w.GaitTicks >= 8000 || wrestler_kinetic_energy(w) < 2.0f) {
        w.GaitTicks = 0;
        w.Gait = 12;
    }
    // With chest and head clear of the ground, low hands reach up a little.
    if (w.FigureBodies[Chest]->LastGroundTick < TickCount - 100 &&
        w.FigureBodies[Head]->LastGroundTick < TickCount - 100) {
        for (int side = 0; side < 2; side++) {
            if (!(w.FigureBodies[side == 0 ? Hand0 : Hand1]->Position.y < c.Support.y + 3.0f))
                continue;
            JointDrive& shoulder = w.Drives[side == 0 ? Shoulder0 : Shoulder1];
            JointDrive& elbow = w.Drives[side == 0 ? Elbow0 : Elbow1];
            shoulder.Strength = elbow.Strength = 0.01f;
            shoulder.TargetAxis1 = mat3_mul_vec(w.FigureBodies[Chest]->Orientation, Vec3{0, 1, 0});
            elbow.TargetAxis1 = w.RestDrives[side == 0 ? Elbow0 : Elbow1].TargetAxis1;
        }
    }
    w.GaitTicks += 1;
}

void gait_get_up(Wrestler& w, ControlValues& c) {
    w.WalkDrive = Vec3{0, 0, 0};
    ramp_rest_pose(w);
    int& t = w.GaitTicks;
    float u = t * 0.018f - 0.5f;
    if (u < 0.0f) u = 0.0f;
    if (u > 2.0f) u = 2.0f;
    float v = 1.0f, wr = 0.0f, lift = 0.0f, fold = 0.0f;
    bool give_up = false;
    const Body& pelvis = *w.FigureBodies[Pelvis];

    if (t == 100 && local_to_world(pelvis, Vec3{0, 0, 1}).y > 0.0f) {
        // On its back: roll over first, to the other side each attempt.
        w.RollSide = 1 - w.RollSide;
        t = 0;
        w.HipFold = 0.0f;
        w.Gait = 13;
    }
    if (t > 100) {
        float side_y = local_to_world(pelvis, Vec3{1, 0, 0}).y;
        if (side_y * side_y > 0.25f && t > 300) give_up = true;
        lift = fold = smoothstep(min1((t - 100) * 0.01f)) * 2.5f;
        if (t > 170) {
            float s2 = smoothstep(min1((t - 170) / 150.0f));
            u = 2.0f - 1.8f * s2;
            v = 1.0f - 2.5f * s2;
            if (t <= 300) {
                w.KneeFold = lift;
                w.HipFold = fold;
            } else {
                float r = min1((t - 300) * 0.01f);
                Vec3 ahead = vec3_add(c.Centre, vec3_scale(c.CentreVelocity, 20.0f));
                float d = vec3_dot(c.Forward, vec3_sub(ahead, c.Support));
                w.KneeFold -= (1.0f - static_cast<float>(std::exp(-2.0 * r))) * w.KneeFold * 0.02f;
                lift = w.KneeFold;
                fold = w.HipFold;
                if (t > 10000) {
                    float q = min1((t - 20000) / 150.0f);
                    float s3 = smoothstep(q);
                    u += 0.6f * s3;
                    v += 2.7f * s3;
                    wr = 2.5f * s3;
                    if (w.FigureBodies[Foot0]->LastGroundTick < TickCount - 300 ||
                        w.FigureBodies[Foot1]->LastGroundTick < TickCount - 300)
                        give_up = true;
                    w.KneeFold =
                        lift + 0.002f * d + 0.1f * (d - w.RiseOffset) - 0.01f * (0.2f - lift);
                    if (w.KneeFold < 0.1f) give_up = true;
                    if (w.HipFold <= 0.22f) {
                        give_up = true; // up
                    } else {
                        float step = (w.HipFold - 0.05f) / (3.0f * d * d + 1.0f) * (q * q) * 0.35f;
                        w.HipFold -= step < 0.05f ? step : 0.05f;
                    }
                    if (w.HipFold > 2.5f) w.HipFold = 2.5f;
                    lift = w.KneeFold;
                    fold = w.HipFold;
                }
                Vec3 dd = vec3_normalized(
                    vec3_sub(vec3_add(vec3_sub(c.Support, ahead), Vec3{0, -5.0f, 0}),
                             vec3_scale(c.Forward, 0.1f)));
                if (dd.y < -float_cos(0.1f) && t < 20000) t = 20000; // over the feet: final stage
                if (dd.y > -float_cos(0.3f)) {
                    clamp_to_down_cone(dd, 0.3f);
                    if (t > 600) give_up = true;
                }
                for (int side = 0; side < 2; side++) {
                    Vec3 a =
                        mat3_mul_vec(w.FigureBodies[side == 0 ? Shin0 : Shin1]->Orientation, dd);
                    if (a.y > -float_cos(0.5f)) clamp_to_down_cone(a, 0.5f);
                    w.Drives[side == 0 ? Ankle0 : Ankle1].TargetAxis1 = a;
                }
                w.RiseOffset = d;
            }
        }
    }
    if (give_up) {
        w.BalanceGain = 0.0f;
        w.Gait = 0;
        w.FootTarget[0] = Vec3{0.3f, w.StandHeight, 0};
        w.FootTarget[1] = Vec3{-0.3f, w.StandHeight, 0};
        if (w.FigureBodies[Head]->Position.y < c.Support.y + 10.0f) w.Gait = 3;
        t = 0;
        w.Pitch = w.PitchDrift = w.PitchBias = w.Roll = 0.0f;
        w.WeightShare = 0.5f;
    }
    for (int side = 0; side < 2; side++) {
        float s = side == 0 ? 1.0f : -1.0f;
        Vec3& shoulder = w.Drives[side == 0 ? Shoulder0 : Shoulder1].TargetAxis1;
        turn(shoulder, Vec3{0, -s * v, 0});
        turn(shoulder, Vec3{0, 0, s * wr});
        turn(w.Drives[side == 0 ? Elbow0 : Elbow1].TargetAxis1, Vec3{0, -s * u, 0});
        turn(w.Drives[side == 0 ? Hip0 : Hip1].TargetAxis1, Vec3{fold, -0.3f * s, 0});
        turn(w.Drives[side == 0 ? Knee0 : Knee1].TargetAxis1, Vec3{-lift, 0, 0});
    }
    t += 1;
}

void gait_roll_over(Wrestler& w, ControlValues&) {
    ramp_rest_pose(w);
    int& t = w.GaitTicks;
    Vec3 f = local_to_world(*w.FigureBodies[Pelvis], Vec3{0, 0, 1});
    if (f.x * f.x + f.z * f.z > 0.36f)
        w.HipFold += 0.04f;
    else if (w.HipFold > 0.0f)
        w.HipFold -= 0.08f;
    if (w.HipFold > 4.6f || t > 600) {
        t = 0;
        w.Gait = 3;
    }
    bool side0 = w.RollSide != 0;
    float g = side0 ? 1.0f : -1.0f;
    float p = w.HipFold;
    Vec3& shoulder_a = w.Drives[side0 ? Shoulder0 : Shoulder1].TargetAxis1;
    Vec3& shoulder_b = w.Drives[side0 ? Shoulder1 : Shoulder0].TargetAxis1;
    Vec3& hip_a = w.Drives[side0 ? Hip0 : Hip1].TargetAxis1;
    Vec3& hip_b = w.Drives[side0 ? Hip1 : Hip0].TargetAxis1;
    turn(shoulder_a, Vec3{0, g * (1.0f + 0.3f * p), 0});
    vec3_add_to(shoulder_a, Vec3{-0.2f * g * p, 0.5f * p, 0});
    vec3_normalize(shoulder_a);
    turn(shoulder_b, Vec3{0, 1.1f * g * (1.0f - p), 0});
    turn(hip_a, Vec3{0.9f - p, 1.5f * g * p, -1.2f * g});
    turn(hip_b, Vec3{-0.3f * (1.0f - p), 0, 0});
    if (t > 100 && wrestler_kinetic_energy(w) < 0.5f) t += 10; // stuck at rest: time out sooner
    t += 1;
}

} // namespace bb
