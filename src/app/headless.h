// Running the game without a window: every tick is a drawing tick, on a
// virtual clock, as fast as the machine goes.
#pragma once

namespace bb {

// Runs drawing ticks until the tick limit or a quit.
void run_headless();

} // namespace bb
