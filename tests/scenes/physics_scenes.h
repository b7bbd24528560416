// Physics scenes shared by the tests and the benchmarks.
#pragma once

#include <cstdint>

namespace bb {

// An empty world, random stream re-seeded.
void reset_physics_scene();
// The game's arena: 57 static boxes (ground, ring, 24 breakable wall blocks,
// 31 bales), on an emptied world.
void add_arena_boxes();
// Two jointed columns of 15 boxes (14 joints each) standing on the ring.
void add_two_jointed_figures();
// Arena plus the two figures, links rebuilt: the shape of a bout.
void build_bout_like_scene();
// A ground slab and 60 loose cubes dropped in a pile.
void build_cube_pile();
// Boxes falling onto each other and cubes thrown at breakable wall blocks.
void build_falling_and_breaking_scene();
// Runs world steps, advancing TickCount.
void step_scene(int ticks);
// A hash over every body's position, orientation and velocities.
uint64_t hash_bodies();

} // namespace bb
