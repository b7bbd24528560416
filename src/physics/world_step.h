// One tick of the whole world.
#pragma once

#include "physics/body.h"
#include "physics/world.h"

#include <cstdint>

namespace bb {

// 0 until the first world step of the program ends, then 1 for ever.
extern uint8_t HasStepped;

// At most this many loose bodies (dynamic, no joints, not removed) are kept.
constexpr int MaxLooseBodies = 90;
// A jointless body slower than this (|v|^2 + |w|^2 times it below 1) for more
// than RestTicksToSleep ticks falls asleep.
constexpr float RestSpeedFactor = 111111.109375f;
constexpr int RestTicksToSleep = 30;

// Texts emptied, debris limited, scene fade set, collide and solve, every body
// integrated, then the wrestler controllers.
void world_step();
// Removes the lightest loose body when there are more than 90.
void limit_debris();
void integrate_body(Body& body);

} // namespace bb
