// Running the game without a window: every tick is a drawing tick, on a
// virtual clock, as fast as the machine goes.
#pragma once

#include <string>

namespace bb {

// Runs drawing ticks until the tick limit or a quit.
void run_headless();

// The one-line JSON summary printed at the end of a headless run.
std::string headless_summary();

} // namespace bb
