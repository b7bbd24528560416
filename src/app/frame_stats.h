// Frame times for `--stats`: constant memory however long the run.
#pragma once

#include <cstdint>
#include <string>

namespace bb {

struct FrameTimes {
    static constexpr int Bins = 20000; // 10 microseconds each: up to 200 ms
    static constexpr double BinSeconds = 1e-5;
    uint32_t Counts[Bins + 1]; // the last bin holds every longer frame
    double Seconds;            // sum of all frames
    int64_t Frames;
};

extern FrameTimes FrameProcessorTimes; // processor time of the main thread in render_frame
extern FrameTimes FrameWallTimes;      // wall time of render_frame, showing included

void reset_frame_times(FrameTimes& t);
void add_frame_time(FrameTimes& t, double seconds);
double frame_time_mean_ms(const FrameTimes& t);
// The upper edge of the bin holding the frame at that fraction (0.95: the 95th
// percentile), in milliseconds; 0 without frames.
double frame_time_percentile_ms(const FrameTimes& t, double fraction);

// One line of JSON: ticks, frames, dropped_ticks, frame_cpu_ms and
// frame_wall_ms (each with mean and p95).
std::string frame_stats_summary(int64_t ticks, int64_t dropped_ticks);

} // namespace bb
