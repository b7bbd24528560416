// The ritual around a bout: settle, crouch in, start crouch (the bout starts
// when both have a hand down), rise; after the bout stand, bow or bob
// impatiently; flinch when hit. T below is PhaseTicks.
#include "game/game_flow.h"
#include "wrestler/control.h"

#include <cmath>

namespace bb {

static void settle(Wrestler& w, ControlValues& c) {
    c.Command = 0;
    if (vec3_length_squared(w.BalanceError) >= 0.36f)
        w.PhaseTicks = 0;
    else if (w.PhaseTicks > 100) {
        w.Phase = 1;
        w.PhaseTicks = 0;
    }
    w.PhaseTicks += 1;
}

static void crouch_in(Wrestler& w, ControlValues& c) {
    int& t = w.PhaseTicks;
    c.Command = 0;
    c.HoldSteps = true;
    float f = t * 0.016666668f;
    if (f > 1.0f) f = 1.0f;
    Vec3 square = vec3_sub(w.FootTarget[0], Vec3{1.3f, w.StandHeight, 0});
    if ((t == 70 || t == 4) && vec3_length_squared(square) > 0.16f) c.StepRequest = true;
    if (t == 80) {
        t = 0;
        w.ArmAction = 3;
        w.Phase = 2;
    }
    c.Squat = smoothstep(f) * 1.2f;
    vec3_sub_from(c.Centre, vec3_scale(c.Forward, (1.0f - f) * f * 0.4f));
    if (w.Gait == 0)
        t += 1;
    else if (t > 90)
        t = 90; // a step is under way: hold the count back
    else if (t > 0)
        t -= 1;
}

static bool hand_down(const Wrestler& w) {
    return w.FigureBodies[Hand0]->LastContactTick > TickCount - 20 ||
           w.FigureBodies[Hand1]->LastContactTick > TickCount - 20;
}

static void start_crouch(Wrestler& w, Wrestler& o, ControlValues& c) {
    float g = w.PhaseTicks * 0.011111111f;
    if (g > 1.0f) g = 1.0f;
    w.PhaseTicks += 1;
    float h = smoothstep(g);
    c.HoldSteps = true;
    c.Squat = 1.25f;
    c.Lean = h * 0.7f;
    c.Bend = h * 1.1f;
    vec3_add_to(c.CentreVelocity, vec3_scale(c.Forward, -0.017f));
    c.ArmDirection[0] = vec3_normalized(Vec3{-0.1f, 0, 1});
    c.ArmDirection[1] = vec3_normalized(Vec3{0.1f, 0, 1});
    c.WristBend[0] = c.WristBend[1] = 0.0f;
    float x = (c.Command & CommandStart) || w.PhaseTicks > 700 ? 1.0f : 0.0f;
    if (GameState == BoutRunning) {
        w.ArmAction = 0;
        w.PhaseTicks = 0;
        w.Phase = 3;
    }
    if (hand_down(w) && hand_down(o)) {
        GameState = BoutRunning;
        BoutStartTick = TickCount;
    }
    w.Crouch += (x - w.Crouch) * 0.16f;
    c.Command = 0;
    float c4 = w.Crouch * w.Crouch * w.Crouch * w.Crouch;
    for (int arm = 0; arm < 2; arm++) {
        c.ElbowBend[arm] = (1.0f - c4) * 1.5f;
        c.AimWeight[arm] = g * 0.6f;
    }
}

static void rise(Wrestler& w, ControlValues& c) {
    c.Command &= ~CommandStart;
    float f = w.PhaseTicks * 0.015384615f;
    if (w.PhaseTicks > 65) {
        w.Phase = 0;
        f = 1.0f;
    }
    float h = 1.0f - smoothstep(f);
    c.Squat = h * 1.2f;
    c.Lean = h * 0.7f;
    c.Bend = h * 1.1f;
    w.PhaseTicks += 1;
}

static void after_bout(Wrestler& w, Wrestler& o, ControlValues& c) {
    int& t = w.PhaseTicks;
    c.Command = 0;
    if (vec3_length_squared(w.BalanceError) >= 0.36f || w.Gait != 0) t = 0;
    int ot = o.PhaseTicks;
    if ((t > 100 && (ot > 100 || (ot > -200 && ot < -10)) && o.Phase != 7) || o.Phase == 6) {
        t = 0;
        w.Phase = 6;
    }
    if (t > 700) {
        w.Phase = 7;
        t = 0;
    }
    t += 1;
}

static void bow(Wrestler& w, ControlValues& c) {
    float v = (1.0f - float_cos(w.PhaseTicks * 0.0071428571f * 6.2831853f)) * 0.4f;
    c.Bend = v;
    w.BowBend = 1.5f * v;
    c.Nod = -v;
    if (w.PhaseTicks > 140) {
        w.Phase = 0;
        c.Bend = 0.0f;
        w.BowBend = 0.0f;
    }
    w.PhaseTicks += 1;
}

static void impatience(Wrestler& w, ControlValues& c) {
    float v = -0.5f * float_sin(w.PhaseTicks * 0.0071428571f * 12.566371f);
    c.Bend = v;
    w.BowBend = 1.8f * v;
    c.Nod = -v;
    if (w.PhaseTicks > 140) {
        w.Phase = 5;
        c.Bend = 0.0f;
        w.PhaseTicks = -500;
        w.BowBend = 0.0f;
    }
    w.PhaseTicks += 1;
}

static void flinching(Wrestler& w, ControlValues& c) {
    float v = (float_cos(w.PhaseTicks * 0.013333334f * 25.132742f) - 1.0f) * -0.15f;
    c.Squat = v;
    w.BowBend = -v;
    c.Nod = (v - 0.15f) * 2.0f;
    if (w.PhaseTicks > 75) {
        w.Phase = GameState == HiddenPart ? 0 : 5;
        w.PhaseTicks = -200;
        w.BowBend = 0.0f;
        c.Squat = 0.0f;
    }
    w.PhaseTicks += 1;
}

void phase_layer(Wrestler& w, Wrestler& o, ControlValues& c) {
    switch (w.Phase) {
    case 1:
        crouch_in(w, c);
        break;
    case 2:
        start_crouch(w, o, c);
        break;
    case 3:
        rise(w, c);
        break;
    case 4:
        settle(w, c);
        break;
    case 5:
        after_bout(w, o, c);
        break;
    case 6:
        bow(w, c);
        break;
    case 7:
        impatience(w, c);
        break;
    case 8:
        flinching(w, c);
        break;
    default:
        break; // 0: free
    }
}

} // namespace bb
