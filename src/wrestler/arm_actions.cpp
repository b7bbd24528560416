// Arm actions: a two-hand push at the opponent's chest, a one-hand slap at
// the head, and the slap series of a held one-hand key. Each leans the body
// into the push by shifting the perceived centre of mass backwards.
#include "game/game_flow.h"
#include "wrestler/control.h"

#include <initializer_list>

namespace bb {

static void stiffen_arms(Wrestler& w, float strength) {
    for (int d : {Shoulder0, Elbow0, Shoulder1, Elbow1}) w.Drives[d].Strength = strength;
}

static void aim_arm(ControlValues& c, int arm, float weight, float elbow, float wrist, Vec3 at) {
    c.AimWeight[arm] = weight;
    c.ElbowBend[arm] = elbow;
    c.WristBend[arm] = wrist;
    c.AimPoint[arm] = at;
    c.AimSet[arm] = true;
}

static void action_idle(Wrestler& w, ControlValues& c) {
    if (c.Command & CommandPushBoth) {
        w.ArmTicks = 0;
        w.ArmAction = 1;
    }
    if (c.Command & CommandPushOne) {
        w.ArmTicks = 0;
        w.ArmAction = 2;
        w.ArmSide = 1;
        Vec3 apart = vec3_sub(w.FigureBodies[Hand0]->Position, w.FigureBodies[Hand1]->Position);
        if (vec3_dot(c.Forward, apart) < 0.0f) w.ArmSide = 0; // the rearmost hand pushes
        if (w.ArmCooldown > 0) w.ArmCooldown = 1000;
    }
}

static void action_push_both(Wrestler& w, Wrestler& o, ControlValues& c) {
    stiffen_arms(w, 0.14f);
    c.TurnGain = 0.5f;
    float k = -1.3f;
    if (w.FigureBodies[Hand1]->LastContactTick > TickCount - 10) k = -2.0f;
    if (w.FigureBodies[Hand0]->LastContactTick > TickCount - 10) k -= 0.7f;
    vec3_add_to(c.Centre, vec3_scale(c.Forward, k));

    int n = w.ArmTicks;
    float f = (n - 8) / 30.0f;
    if (n < 8) f = 0.0f;
    if (n > 38) f = 1.0f;
    if (n > 43) {
        w.ArmAction = 0;
        w.ArmTicks = 0;
    }
    c.Bend += f * f * 0.4f;
    Vec3 chest = o.FigureBodies[Chest]->Position;
    Vec3 at = vec3_sub(vec3_add(chest, Vec3{0, 2.0f - 4.0f * (1.0f - f * f), 0}),
                       vec3_scale(w.BalanceError, 4.0f));
    for (int arm = 0; arm < 2; arm++)
        aim_arm(c, arm, f * 0.3f + 0.7f, (1.0f - f * f) * 2.7f, 1.5f, at);
    w.ArmTicks += 1;
}

// Returns true when the slap ended and the idle action should run again.
static bool action_push_one(Wrestler& w, Wrestler& o, ControlValues& c) {
    stiffen_arms(w, 0.06f);
    int a = w.ArmSide, other = 1 - a;
    vec3_add_to(c.Centre, vec3_scale(c.Forward, -0.7f));
    int n = w.ArmTicks;
    float f = n * 0.05f;
    bool rerun = false;
    if (n > 20) {
        w.ArmAction = 0;
        w.ArmTicks = 0;
        w.ArmCooldown = 10;
        rerun = true;
    }
    c.Bend += (1.0f - f) * f * 0.1f;
    Vec3 at = vec3_add(o.FigureBodies[Head]->Position, Vec3{0, -2.0f, 0});
    aim_arm(c, a, f * 0.3f + 0.7f, (1.0f - f * f) * 2.7f, 1.3f, at);
    if (w.ArmCooldown > 200) aim_arm(c, other, (1.0f - f) * 0.3f + 0.7f, f * f * 2.7f, 1.3f, at);
    w.ArmTicks += 1;
    return rerun;
}

static bool run_action(Wrestler& w, Wrestler& o, ControlValues& c) {
    switch (w.ArmAction) {
    case 0:
        action_idle(w, c);
        return false;
    case 1:
        action_push_both(w, o, c);
        return false;
    case 2:
        return action_push_one(w, o, c);
    default:
        return false; // 3: the start crouch poses the arms itself
    }
}

void arm_layer(Wrestler& w, Wrestler& o, ControlValues& c) {
    if (run_action(w, o, c)) run_action(w, o, c);
    w.ArmCooldown -= 1;
    if (w.ArmAction == 3) return;
    Body& chest = *w.FigureBodies[Chest];
    for (int arm = 0; arm < 2; arm++) {
        if (!c.AimSet[arm]) continue;
        Vec3 local_shoulder = {arm == 0 ? 3.5f : -3.5f, 2.4f, 1.0f};
        Vec3 shoulder =
            vec3_add(chest.Position, mat3_transpose_mul_vec(local_shoulder, chest.Orientation));
        Vec3 d = mat3_mul_vec(chest.Orientation, vec3_sub(c.AimPoint[arm], shoulder));
        if (d.z < 0.0f) d.z = 0.0f;
        vec3_normalize(d);
        c.ArmDirection[arm] = d;
    }
}

} // namespace bb
