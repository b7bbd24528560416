// `--screenshot TICK:FILE`: frames written as PNG files.
#pragma once

#include "app/options.h"

#include <cstdint>
#include <string>
#include <vector>

namespace bb {

// The requests still to write.
extern std::vector<ScreenshotRequest> PendingScreenshots;

// True when a request's tick has been reached after ticks_run ticks.
bool screenshot_due(int64_t ticks_run);
// The earliest tick a request waits for; -1 when none waits.
int64_t earliest_screenshot_tick();
// Writes every request due after ticks_run from one frame (RGBA, rows top
// first) and drops them from the list. False with one line in error when a
// file cannot be written; the other due requests are still tried.
bool write_due_screenshots(int64_t ticks_run, const uint8_t* rgba, int width, int height,
                           std::string& error);

} // namespace bb
