#pragma once

#include <string>

namespace bb {

// Writes "text number" as one line to standard error. With
// BRAWLBOX_DEBUG_LOG=1 in the environment the line is also appended to
// debug_log_path(), which the first call of a run truncates (its folder is
// made if missing). A log file that cannot be written is skipped: the log
// never stops the game.
void debug_log(const char* text, int number);

// $XDG_STATE_HOME/brawlbox/debug.log, or ~/.local/state/brawlbox/debug.log
// when XDG_STATE_HOME is unset or not absolute; "" without either.
std::string debug_log_path();

} // namespace bb
