// Standing and stepping: a step moves the stepping foot's target by
// +StepVector and the standing foot's by -StepVector (pelvis frame), so the
// two targets stay point-symmetric about the pelvis.
#include "game/game_flow.h"
#include "wrestler/control.h"

#include <cmath>

namespace bb {

static Vec3 horizontal(Vec3 v) {
    return Vec3{v.x, 0.0f, v.z};
}

void gait_stand(Wrestler& w, ControlValues& c) {
    w.GaitTicks += 1;
    w.FootTarget[0].y = w.StandHeight;
    w.FootTarget[1].y = w.StandHeight;
    w.WeightShare = 0.5f;

    Vec3 e = horizontal(
        vec3_sub(vec3_sub(c.Support, vec3_add(c.Centre, vec3_scale(c.CentreVelocity, 19.0f))),
                 vec3_scale(w.WalkDrive, 3.0f)));

    bool foot_touched = w.FigureBodies[Foot0]->LastContactTick > TickCount - 30 ||
                        w.FigureBodies[Foot1]->LastContactTick > TickCount - 30;
    if (TickCount > 250 && foot_touched) {
        float r = GameState == BoutDecided ? 1.5f : 0.9f;
        if (vec3_length_squared(e) > r * r && !c.HoldSteps) {
            Vec3 e2 = horizontal(
                vec3_sub(c.Support, vec3_add(c.Centre, vec3_scale(c.CentreVelocity, 10.0f))));
            float d = float_sqrt(vec3_length_squared(e2));
            float l = 1.5f * d;
            if (l < 1.4f) l = 1.4f;
            w.GaitTicks = 0;
            w.Gait = 8;
            Vec3& sv = w.StepVector;
            sv = Vec3{-0.6f * l * vec3_dot(c.Side, e2) / d, 0.0f, -l * vec3_dot(c.Forward, e2) / d};
            w.StepLift = float_sqrt(vec3_length_squared(sv)) * 0.8f + 0.5f;
            w.StepSide =
                vec3_dot(c.Side, e2) > vec3_dot(vec3_sub(w.FootTarget[1], w.FootTarget[0]), sv) ? 1
                                                                                                : 0;
            const Vec3& ft0 = w.FootTarget[0];
            if (w.StepSide == 1 && ft0.x - sv.x < 0.25f) sv.x = ft0.x - 0.25f;
            if (w.StepSide == 0 && sv.x + ft0.x < 0.25f) sv.x = 0.25f - ft0.x;
            // Repeated steps drift the stance towards FT0.x = 1.3.
            float f = (ft0.x - 0.5f) * 0.2f - 0.16f;
            if (w.StepSide == 1)
                sv.x += f;
            else
                sv.x -= f;
        }
    }

    if (w.GaitTicks == 90 || (w.GaitTicks > 10 && w.FootTarget[0].x < 0.25f) || c.StepRequest) {
        Vec3 sv = vec3_sub(Vec3{1.1f, w.StandHeight, 0.0f}, w.FootTarget[0]);
        if (vec3_length_squared(sv) > 0.16f || c.StepRequest) {
            // NOTE: the push-off counts its 6 ticks from 0, as after a balance step;
            // left at 90 it would never end and the leg would stretch without limit.
            w.GaitTicks = 0;
            w.StepSide = 0;
            w.Gait = 8;
            w.StepLift = float_sqrt(vec3_length_squared(sv)) * 0.3f + 0.5f;
            if (sv.z < 0.1f) {
                w.StepSide = 1;
                sv = vec3_negate(sv);
            }
            w.StepVector = sv;
        }
    }
    c.TurnGain = 1.0f;
}

void gait_push_off(Wrestler& w, ControlValues& c) {
    w.FootTarget[w.StepSide].y = w.StandHeight - w.GaitTicks * 0.05f;
    w.GaitTicks += 1;
    if (w.GaitTicks == 6) {
        w.GaitTicks = 0;
        w.Gait = 9;
    }
    vec3_sub_from(c.Support, vec3_scale(c.Forward, w.StepVector.z * w.GaitTicks * 0.05f));
    vec3_add_to(c.CentreVelocity, vec3_scale(c.Forward, w.StepVector.z * -0.025f));
    if (GameState == BoutRunning) c.TurnGain = 1.0f;
}

void gait_swing(Wrestler& w, ControlValues& c) {
    const float pi = 3.14159265f;
    float f = w.GaitTicks * 0.05f;
    float speed = 6.0f * f * (1.0f - f);
    float h = 3.0f * f * f - 2.0f * f * f * f;
    float a = pi * h;
    int other = 1 - w.StepSide;
    w.FootTarget[w.StepSide].y = float_sin(a) * w.StepLift + w.StandHeight - 0.3f + a * 0.3f / pi;
    w.FootTarget[other].y = w.StandHeight - float_sin(a) * w.StepLift * 0.2f;
    Vec3 move = vec3_scale(w.StepVector, 0.05f * speed);
    vec3_add_to(w.FootTarget[w.StepSide], move);
    vec3_sub_from(w.FootTarget[other], move);
    w.GaitTicks += 1;
    if (w.GaitTicks == 20) {
        w.StepSide = 1 - w.StepSide;
        w.Gait = 0;
        w.GaitTicks = 0;
        w.FootTarget[0].y = w.StandHeight;
        w.FootTarget[1].y = w.StandHeight;
    }
    float progress = (w.GaitTicks + 6) / 26.0f;
    vec3_sub_from(c.Support, vec3_scale(c.Forward, w.StepVector.z * ((progress - h) * 1.3f)));
    vec3_add_to(c.CentreVelocity, vec3_scale(c.Forward, w.StepVector.z * -0.025f));
    c.TurnGain = 0.0f;
}

} // namespace bb
