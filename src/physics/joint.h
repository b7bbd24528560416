// Ball joints with cone and twist limits, and the per-body lists of them.
#pragma once

#include "physics/body.h"

namespace bb {

struct Joint {
    Body* BodyA;
    Body* BodyB;
    Vec3 AnchorA, AnchorB; // the joint point in A's and B's local coordinates
    Vec3 AxisA, AxisB;     // primary axes (local); the cone limit measures their angle
    Vec3 RefA, RefB;       // reference axes (local); the twist is measured between them
    float LockTwist;       // not 0: hold the reference axes aligned
    float ConeLimit;       // squared sine of the angle at which the cone limit acts
    float TwistLimit;      // squared length of RefA x RefB (world) beyond which twist is limited
    Mat3 InverseK;         // solver state: inverse effective mass of the point constraint
    Vec3 ConeAxis;         // solver state: world axis of the active cone limit
    Vec3 TwistAxis;        // solver state: world axis of the active twist limit or lock
    float ConeImpulse;     // accumulated, carried from tick to tick
    float TwistImpulse;    // accumulated, carried from tick to tick
    int32_t ActiveLimits;  // 1 cone, 2 twist limit, 4 twist lock
    Vec3 WorldAnchorA;     // solver state: the anchors in the world this tick
    Vec3 WorldAnchorB;     //   (the poses do not change during the passes)
};

struct JointLink {
    JointLink* Next;  // next link of the same body
    bb::Joint* Joint; // qualified: the field shares the type's name
    Body* Other;      // the body at the joint's other end
};

constexpr int MaxJoints = 256;
constexpr int MaxJointLinks = 512;
extern Joint Joints[MaxJoints];
extern int32_t JointCount;
extern JointLink JointLinkPool[MaxJointLinks];

} // namespace bb

namespace bb {

// Rebuilds every body's joint list (joint order, each link put in front) and
// clears the joints' carried solver state. Scene builders call it once after
// the last joint is added. Joints beyond the link pool's room get no links.
void rebuild_joint_links();
// -T to body A, +T to body B.
void apply_joint_torque(Joint& joint, Vec3 t);
// Once per tick before the solver passes: spin damping, the point constraint's
// effective mass, which limits act, and their position-like corrections.
void prepare_joint(Joint& joint);
// In each solver pass after prepare_joint of the same tick: anchors drawn
// together at 3% of their separation per
// tick, active limits as one-sided accumulated angular impulses.
void solve_joint(Joint& joint);

} // namespace bb
