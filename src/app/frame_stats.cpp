#include "app/frame_stats.h"

#include "app/json_record.h"

#include <cstring>

namespace bb {

FrameTimes FrameProcessorTimes;
FrameTimes FrameWallTimes;

void reset_frame_times(FrameTimes& t) {
    std::memset(&t, 0, sizeof t);
}

void add_frame_time(FrameTimes& t, double seconds) {
    if (!(seconds >= 0.0)) seconds = 0.0;
    double bin = seconds / FrameTimes::BinSeconds;
    int b = bin >= FrameTimes::Bins ? FrameTimes::Bins : static_cast<int>(bin);
    t.Counts[b]++;
    t.Seconds += seconds;
    t.Frames++;
}

double frame_time_mean_ms(const FrameTimes& t) {
    return t.Frames > 0 ? t.Seconds * 1000.0 / static_cast<double>(t.Frames) : 0.0;
}

double frame_time_percentile_ms(const FrameTimes& t, double fraction) {
    if (t.Frames <= 0) return 0.0;
    // The frame at that rank, counted from 1.
    int64_t rank = static_cast<int64_t>(fraction * static_cast<double>(t.Frames) + 0.999999);
    if (rank < 1) rank = 1;
    int64_t seen = 0;
    for (int b = 0; b <= FrameTimes::Bins; b++) {
        seen += t.Counts[b];
        if (seen >= rank) return (b + 1) * FrameTimes::BinSeconds * 1000.0;
    }
    return (FrameTimes::Bins + 1) * FrameTimes::BinSeconds * 1000.0;
}

static void json_times(JsonRecord& r, const char* key, const FrameTimes& t) {
    json_begin_object(r, key);
    json_float(r, "mean", frame_time_mean_ms(t));
    json_float(r, "p95", frame_time_percentile_ms(t, 0.95));
    json_end_object(r);
}

std::string frame_stats_summary(int64_t ticks, int64_t dropped_ticks) {
    JsonRecord r;
    json_begin_object(r);
    json_int(r, "ticks", ticks);
    json_int(r, "frames", FrameWallTimes.Frames);
    json_int(r, "dropped_ticks", dropped_ticks);
    json_times(r, "frame_cpu_ms", FrameProcessorTimes);
    json_times(r, "frame_wall_ms", FrameWallTimes);
    json_end_object(r);
    return r.Text;
}

} // namespace bb
