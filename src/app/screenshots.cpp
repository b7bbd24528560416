#include "app/screenshots.h"

#include "app/png_file.h"

namespace bb {

std::vector<ScreenshotRequest> PendingScreenshots;

bool screenshot_due(int64_t ticks_run) {
    for (const ScreenshotRequest& r : PendingScreenshots)
        if (r.Tick <= ticks_run) return true;
    return false;
}

int64_t earliest_screenshot_tick() {
    int64_t earliest = -1;
    for (const ScreenshotRequest& r : PendingScreenshots)
        if (earliest < 0 || r.Tick < earliest) earliest = r.Tick;
    return earliest;
}

bool write_due_screenshots(int64_t ticks_run, const uint8_t* rgba, int width, int height,
                           std::string& error) {
    bool ok = true;
    std::vector<ScreenshotRequest> later;
    for (const ScreenshotRequest& r : PendingScreenshots) {
        if (r.Tick > ticks_run) {
            later.push_back(r);
            continue;
        }
        std::string why;
        if (!write_png_rgba(r.File.c_str(), width, height, rgba, why)) {
            if (ok) error = why;
            ok = false;
        }
    }
    PendingScreenshots = later;
    return ok;
}

} // namespace bb
