// What a run tells the people who study or test the game: the per-tick trace
// and the summary at the end of a headless run.
#pragma once

#include "app/json_record.h"

#include <string>

namespace bb {

struct Wrestler;

// The fields that describe one wrestler, as an object.
void json_wrestler(JsonRecord& r, const Wrestler& w);
// Heading of a wrestler: the angle a of the horizontal direction (sin a, 0, cos a) it faces.
float wrestler_heading(const Wrestler& w);
// True when every body's position, orientation and velocities are finite.
bool bodies_finite();

// Opens the trace file; false with a message when it cannot be written.
bool open_trace(const std::string& path, std::string& error);
// Writes the line of the tick just run, if a trace is open.
void trace_tick();
// Closes the trace; false with the file and the system's reason when any
// write or the close failed (a full disk shows only then).
bool close_trace(std::string& error);

// The scene the run started in, for the summary.
extern std::string SceneName;
// Wall time spent in game ticks, for the summary's mean.
extern double TickSeconds;

std::string headless_summary();

} // namespace bb
