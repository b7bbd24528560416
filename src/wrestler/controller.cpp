#include "app/input.h"
#include "audio/sound_effects.h"
#include "game/arena.h"
#include "game/game_flow.h"
#include "game/scoring.h"
#include "wrestler/control.h"

namespace bb {

int read_keys(int set) {
    static const uint8_t Keys[2][6] = {
        {ScanLeft, ScanRight, ScanUp, ScanDown, ScanBackspace, ScanEnter},
        {ScanA, ScanD, ScanW, ScanS, ScanLeftShift, ScanCtrl},
    };
    int command = 0;
    for (int i = 0; i < 6; i++)
        if (InputState.KeyDown[Keys[set][i]]) command |= 1 << i;
    return command;
}

void flinch(Wrestler& w) {
    w.PhaseTicks = 0;
    w.Phase = 8;
    play_sound_effect(5, 1.0f, 0.75f, 2);
}

int command_word(Wrestler& w, Wrestler& o, ControlValues& c) {
    int command = 0;
    switch (w.ControlSource) {
    case 0:
    case 1:
        command = read_keys(w.ControlSource);
        break;
    case 2:
        command = computer_commands(w, o, c);
        break;
    default:
        break;
    }
    if (w.Phase != 0 && w.Phase != 3) command &= CommandStart;
    if (GameState == BoutDecided) command = 0;
    return command;
}

static bool is_foot_or_shin(int i) {
    return i == Foot0 || i == Shin0 || i == Foot1 || i == Shin1;
}

static void referee(Wrestler& w) {
    if (!(BoutStartTick < TickCount - 50)) return;
    for (int i = 0; i < FigureBodyCount; i++) {
        Body& b = *w.FigureBodies[i];
        bool down = (!is_foot_or_shin(i) && b.LastGroundTick >= TickCount - 1) ||
                    b.LastOutsideTick >= TickCount - 1;
        if (down && GameState == BoutRunning) decide_bout(w, b);
    }
}

static Vec3 horizontal(Vec3 v) {
    return Vec3{v.x, 0.0f, v.z};
}

void controller_tick(Wrestler& w, Wrestler& o) {
    ControlValues c = {};
    c.Centre = wrestler_centre_of_mass(w);
    c.CentreVelocity = wrestler_mean_velocity(w);
    c.Spin = wrestler_angular_momentum(w, c.Centre, c.CentreVelocity);
    c.Lean = 0.1f;
    c.ElbowBend[0] = c.ElbowBend[1] = 0.2f;
    c.WristBend[0] = c.WristBend[1] = 1.5f;

    referee(w);
    ResultTicks += 1;

    Body& pelvis = *w.FigureBodies[Pelvis];
    c.Side = vec3_normalized(horizontal(mat3_transpose_mul_vec(Vec3{1, 0, 0}, pelvis.Orientation)));
    c.Forward = vec3_cross(c.Side, Vec3{0, 1, 0});

    c.Command = command_word(w, o, c);

    // Walk towards a fallen or beaten opponent after a bout.
    if ((ResultTicks < 200 && GameState == BoutDecided) ||
        (o.Gait == 3 && GameState == BoutWaiting)) {
        Vec3 d = horizontal(vec3_sub(wrestler_centre_of_mass(o), wrestler_centre_of_mass(w)));
        if (vec3_length_squared(d) < 1600.0f && vec3_length_squared(w.BalanceError) > 0.16f)
            vec3_add_to(w.WalkDrive, vec3_scale(vec3_normalized(d), 0.14f));
    }

    // Near the ring's edge, a push away from its centre axis.
    float e = 0.0f;
    float ax = c.Centre.x < 0 ? -c.Centre.x : c.Centre.x;
    float az = c.Centre.z < 0 ? -c.Centre.z : c.Centre.z;
    if ((ax > 22.0f && ax < 45.0f) || (az > 22.0f && az < 45.0f)) e = 1.5f;
    if (GameState == BoutDecided && ResultTicks > 300 &&
        vec3_length_squared(w.BalanceError) > 0.64f && w.Gait != 12 && w.Gait != 13)
        e = 0.6f;
    vec3_add_to(w.WalkDrive,
                vec3_scale(vec3_scale(vec3_normalized(horizontal(c.Centre)), e), 0.04f));

    for (int j = 0; j < FigureJointCount; j++) w.Drives[j].Strength = j < 8 ? 0.1f : 0.02f;
    w.Drives[Neck].Strength = 0.003f;

    vec3_add_to(c.CentreVelocity, vec3_cross(c.Spin, Vec3{0, -0.00001f, 0}));

    if (c.Command & CommandWalk) vec3_add_to(w.WalkDrive, vec3_scale(c.Forward, 0.032f));
    if (c.Command & CommandTurnSide1) {
        vec3_sub_from(w.WalkDrive, vec3_scale(c.Side, 0.016f));
        c.TurnCommand = 0.12f;
    }
    if (c.Command & CommandTurnSide0) {
        vec3_add_to(w.WalkDrive, vec3_scale(c.Side, 0.016f));
        c.TurnCommand -= 0.12f;
    }

    if (w.Gait == 3 && w.Phase < 5) w.Phase = 0;
    phase_layer(w, o, c);
    arm_layer(w, o, c);

    vec3_sub_from(c.CentreVelocity, vec3_scale(w.WalkDrive, 0.1f));
    w.WalkDrive = vec3_scale(w.WalkDrive, 0.96f);

    // The sole points: a foot's centre plus its local (0, -1, 0.02).
    Body& foot0 = *w.FigureBodies[Foot0];
    Body& foot1 = *w.FigureBodies[Foot1];
    Vec3 q0 =
        vec3_add(foot0.Position, mat3_transpose_mul_vec(Vec3{0, -1, 0.02f}, foot0.Orientation));
    Vec3 q1 =
        vec3_add(foot1.Position, mat3_transpose_mul_vec(Vec3{0, -1, 0.02f}, foot1.Orientation));
    c.Support = vec3_add(vec3_scale(q0, w.WeightShare), vec3_scale(q1, 1.0f - w.WeightShare));
    c.SupportShare = w.WeightShare;

    c.Lean -= vec3_dot(c.Forward, w.WalkDrive) * 0.15f;
    w.Turn = 0.0f;

    // Fall test: the head too low over the support.
    if (w.FigureBodies[Head]->Position.y < c.Support.y + 9.0f && w.Gait != 12 && w.Gait != 13 &&
        w.Gait != 3) {
        w.Gait = 3;
        float feet_y =
            (o.FigureBodies[Foot0]->Position.y + o.FigureBodies[Foot1]->Position.y) / 2.0f;
        bool o_stands = feet_y + 3.0f < o.FigureBodies[Head]->Position.y;
        if (o_stands && GameState == BoutDecided && (o.Phase == 5 || o.Phase == 7) &&
            vec3_length_squared(o.BalanceError) < 1.96f)
            flinch(o);
    }

    int gait = w.Gait;
    switch (gait) {
    case 0:
        gait_stand(w, c);
        break;
    case 8:
        gait_push_off(w, c);
        break;
    case 9:
        gait_swing(w, c);
        break;
    case 3:
        gait_limp(w, c);
        return;
    case 12:
        gait_get_up(w, c);
        break;
    case 13:
        gait_roll_over(w, c);
        break;
    default:
        break;
    }
    if ((gait == 12 || gait == 13) && w.Gait == gait) return;

    synthesise_pose(w, o, c);

    if (w.Phase == 0 && (c.Command & CommandStart))
        for (int j = 0; j <= 7; j++) w.Drives[j].Strength = 0.0f;
}

void run_all_controllers() {
    for (Wrestler* w = Wrestlers; w != WrestlersEnd; w++) {
        Wrestler* o = w;
        if (w == Wrestlers && WrestlersEnd - Wrestlers > 1)
            o = w + 1;
        else if (w != Wrestlers)
            o = w - 1;
        controller_tick(*w, *o);
    }
}

} // namespace bb
