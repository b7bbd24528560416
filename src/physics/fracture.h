// Breaking a body into up to five convex pieces: the Voronoi cells of five
// random seeds scattered around the point of impact.
#pragma once

#include "physics/body.h"

#include <cstdint>

namespace bb {

// The ItemId of the first broken body that had one; the menu resets it.
extern int32_t BrokenItemId;

// Seed candidates drawn for one break before it gives up looking: a thin
// sliver of a body may hardly meet the scatter cube.
constexpr int MaxSeedDraws = 1000;

// Breaks body x at world point m (inside x). Pieces that would not fit in
// Bodies are not made; x is removed all the same.
void break_body(Body& x, Vec3 m);
// The pieces of x for seeds in x's local coordinates (break_body draws them):
// the cell of each seed, an empty one logged as "halott" 0. Removes x.
void split_body(Body& x, const Vec3* seeds, int seed_count);

} // namespace bb
