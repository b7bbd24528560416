// The controller's per-tick working values and its layers. Each layer works
// on the same values, which start afresh every tick.
#pragma once

#include "wrestler/wrestler.h"

namespace bb {

// Command word bits.
enum : int {
    CommandTurnSide1 = 1,
    CommandTurnSide0 = 2,
    CommandWalk = 4,
    CommandStart = 8,
    CommandPushBoth = 16,
    CommandPushOne = 32,
};

struct ControlValues {
    Vec3 Centre;         // perceived centre of mass; layers shift it
    Vec3 CentreVelocity; // perceived velocity; layers shift it
    Vec3 Spin;           // angular momentum about the true centre
    Vec3 Side;           // heading frame: the pelvis's x axis, horizontal, unit
    Vec3 Forward;        // Side x up
    int Command;         // command word
    Vec3 Support;        // support point between the soles
    float SupportShare;  // the WeightShare Support was computed with
    float Lean;          // wanted forward lean of the trunk
    float Bend;          // extra forward bend (bow, crouch)
    float Squat;         // how far to lower the pelvis
    float Nod;           // extra head nod
    float TurnCommand;   // the player's turning request
    float TurnGain;      // how much of the turn applies this tick
    bool StepRequest;    // ask the gait for a stance-correcting step
    bool HoldSteps;      // no balance steps this tick
    float AimWeight[2];  // per arm: hanging (0) to aimed (1)
    float ElbowBend[2];
    float WristBend[2];
    Vec3 AimPoint[2];     // per arm: world point the hand reaches for
    bool AimSet[2];       // per arm: AimPoint was set this tick
    Vec3 ArmDirection[2]; // per arm: reach direction, chest frame
};

// The command word of key set 0 (arrows, Backspace, Enter) or 1 (A D W S,
// left Shift, Ctrl).
int read_keys(int set);
// The command word of this tick from the wrestler's control source: only the
// start bit outside phases 0 and 3, nothing while a bout is decided.
int command_word(Wrestler& w, Wrestler& o, ControlValues& c);
// Phase 8 from now, with the flinch sound.
void flinch(Wrestler& w);

// Layers, in the order a controller tick runs them.
void phase_layer(Wrestler& w, Wrestler& o, ControlValues& c);
void arm_layer(Wrestler& w, Wrestler& o, ControlValues& c);
int computer_commands(Wrestler& w, Wrestler& o, ControlValues& c);
void gait_stand(Wrestler& w, ControlValues& c);
void gait_push_off(Wrestler& w, ControlValues& c);
void gait_swing(Wrestler& w, ControlValues& c);
void gait_limp(Wrestler& w, ControlValues& c);
void gait_get_up(Wrestler& w, ControlValues& c);
void gait_roll_over(Wrestler& w, ControlValues& c);
void synthesise_pose(Wrestler& w, Wrestler& o, ControlValues& c);

// -cos of the angle between sides a and b of a triangle with third side c:
// 1 when stretched (a + b <= c), -1 when folded (a + c < b), within [-1, 1].
float negated_cosine(float a, float b, float c);
// Bends unit vector d onto the cone of half-angle alpha around straight down
// when it points higher, keeping its horizontal direction.
void clamp_to_down_cone(Vec3& d, float alpha);
// A filter input beyond +-0.3 becomes 0.3 times its magnitude.
float limit_filter_input(float x);
// 3x^2 - 2x^3.
float smoothstep(float x);

} // namespace bb
