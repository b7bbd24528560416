// A wrestler: 15 boxes tied by 14 joints, and the state of the controller
// that drives it. Side 0 is the figure's local +x side, side 1 its -x side.
#pragma once

#include "physics/body.h"
#include "physics/joint.h"

#include <cstdint>

namespace bb {

constexpr int FigureBodyCount = 15;
constexpr int FigureJointCount = 14;

// A wanted relative orientation of a joint's two bodies.
struct JointDrive {
    Vec3 TargetAxis1; // where the joint's AxisA should point, in body B's frame
    Vec3 TargetAxis2; // the same for RefA
    float Strength;   // largest corrective angular velocity per solver pass; 0 is off
};

struct Wrestler {
    Body* FigureBodies[FigureBodyCount];
    Joint* FigureJoints[FigureJointCount];
    float ThighLength;   // hip anchor to knee anchor: 4.7
    float ShinLength;    // knee anchor to ankle anchor: 4.1
    Vec3 FootTarget[2];  // wanted foot centres, pelvis frame
    int32_t StepSide;    // the side that steps next
    int32_t GaitTicks;   // ticks in the current gait state
    int32_t Gait;        // 0 standing, 8 push-off, 9 swing, 3 limp, 12 getting up, 13 rolling over
    float StepLift;      // height of the current step's swing
    Vec3 StepVector;     // displacement of the current step, pelvis frame
    float BowBend;       // extra arm swing of the bow, impatience and flinch
    float Pitch;         // filtered forward lean
    float PitchDrift;    // slow average of the pitch input
    float PitchBias;     // slow integrator of the lean error
    float Roll;          // filtered sideways lean
    float WeightShare;   // 0..1, foot 0's share of the support point
    float StandHeight;   // wanted foot height below the pelvis: -7.9
    Vec3 WalkDrive;      // horizontal walking impulse, decaying
    float KneeFold;      // while getting up
    float HipFold;       // while getting up; progress of a roll-over
    float RiseOffset;    // last tick's forward offset of the centre over the feet
    int32_t RollSide;    // the side a roll-over turns to
    float BalanceGain;   // 0..1 ramp of the balance corrections
    float Turn;          // heading turn applied this tick
    Vec3 BalanceError;   // predicted centre of mass minus support point, horizontal
    int32_t ArmAction;   // 0 none, 1 two-hand push, 2 one-hand push, 3 held by the crouch
    int32_t ArmTicks;    // ticks in the current arm action
    int32_t ArmSide;     // the arm of a one-hand push
    int32_t ArmCooldown; // counts down every tick; governs the slap series
    int32_t Phase;       // bout phase 0..8
    int32_t PhaseTicks;  // ticks in the current phase; may be negative
    float Crouch;        // smoothed reach of the start crouch
    JointDrive Drives[FigureJointCount];     // live targets, one per joint
    JointDrive RestDrives[FigureJointCount]; // the rest pose, never written after construction
    int32_t ControlSource;                   // 0 key set A, 1 key set B, 2 computer
    int32_t Urge;                            // the computer's push counter
};

// Two records; WrestlersEnd is one past the last in use (Wrestlers itself when
// the scene has none).
extern Wrestler Wrestlers[2];
extern Wrestler* WrestlersEnd;

// Builds a figure standing on position, facing (sin angle, 0, cos angle), in
// one rigid pose with the rest pose captured. Returns false, building nothing,
// when the world has no room for 15 more bodies and 14 joints.
bool build_wrestler(Wrestler& w, Vec3 position, float angle, int texture);
// reference 0: body A stays and B is moved so the anchors meet; 1: the reverse.
void place_at_joint(Joint& joint, int reference);
// Targets that hold every joint's A axes where they are now, relative to B.
void capture_rest_pose(JointDrive* table, const Wrestler& w);

Vec3 wrestler_centre_of_mass(const Wrestler& w);
Vec3 wrestler_mean_velocity(const Wrestler& w);
// Sum of m v^2 + I w^2, without a factor one half.
float wrestler_kinetic_energy(const Wrestler& w);
// About point c, relative to velocity u.
Vec3 wrestler_angular_momentum(const Wrestler& w, Vec3 c, Vec3 u);

// Figure body indices.
enum : int {
    Pelvis = 0,
    Chest = 1,
    Head = 2,
    Foot0 = 3,
    Shin0 = 4,
    Thigh0 = 5,
    Foot1 = 6,
    Shin1 = 7,
    Thigh1 = 8,
    UpperArm0 = 9,
    Forearm0 = 10,
    Hand0 = 11,
    UpperArm1 = 12,
    Forearm1 = 13,
    Hand1 = 14,
};
// Figure joint (and drive) indices.
enum : int {
    Waist = 0,
    Neck = 1,
    Hip0 = 2,
    Knee0 = 3,
    Ankle0 = 4,
    Hip1 = 5,
    Knee1 = 6,
    Ankle1 = 7,
    Shoulder0 = 8,
    Elbow0 = 9,
    Wrist0 = 10,
    Shoulder1 = 11,
    Elbow1 = 12,
    Wrist1 = 13,
};

// The drive law for each of the wrestler's joints, in index order.
void apply_joint_drives(Wrestler& w);
// The pose part of every wrestler's drives for this tick; the solver calls
// it once before its passes, as the bodies' orientations stay put in them.
void prepare_all_joint_drives();
// For every wrestler, with the prepared pose part; the solver calls it at the
// end of each pass. The same as apply_joint_drives to the bit.
void apply_all_joint_drives();

// One controller tick of w against its opponent o.
void controller_tick(Wrestler& w, Wrestler& o);
// For every wrestler after the bodies moved; the opponent of a lone wrestler is itself.
void run_all_controllers();

} // namespace bb
