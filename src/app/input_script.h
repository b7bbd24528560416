// Scripted input for studying and testing the game: one event per line,
// "TICK down KEY", "TICK up KEY" or "TICK click X Y". KEY is a set-1 scan
// code (0x48) or a name (up, down, left, right, backspace, enter, a, d, w, s,
// lshift, lctrl, space, escape, 8, 9). Blank lines and lines starting with #
// are skipped. Events of tick t reach InputState just before tick t runs
// (the run's ticks count from 1).
#pragma once

#include <cstdint>
#include <string>

namespace bb {

// Reads the script; on failure error names the file, the line and the fault.
bool load_input_script(const std::string& path, std::string& error);
// Parses script text; the name is used in errors.
bool parse_input_script(const std::string& text, const std::string& name, std::string& error);
// Applies every event of ticks up to tick not applied yet.
void apply_input_events(int64_t tick);
void clear_input_script();

} // namespace bb
