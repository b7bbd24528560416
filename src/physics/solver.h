// The physics phase of a world step: contacts and joints solved in 40
// sequential impulse passes, then impacts (warm-start cache, sounds, breaks)
// and the volume-proportional separating impulses.
#pragma once

namespace bb {

constexpr int SolverPasses = 40;

void collide_and_solve();

} // namespace bb
