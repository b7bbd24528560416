#include "app/frame_stats.h"
#include "app/screenshots.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

using namespace bb;

TEST(FrameStats, MeanAndNinetyFifthPercentile) {
    FrameTimes t;
    reset_frame_times(t);
    EXPECT_EQ(frame_time_percentile_ms(t, 0.95), 0.0);
    // 95 frames of 2 ms and 5 of 30 ms: the 95th frame is still a 2 ms one.
    for (int i = 0; i < 95; i++) add_frame_time(t, 0.002);
    for (int i = 0; i < 5; i++) add_frame_time(t, 0.030);
    EXPECT_NEAR(frame_time_mean_ms(t), (95 * 2.0 + 5 * 30.0) / 100, 1e-9);
    EXPECT_NEAR(frame_time_percentile_ms(t, 0.95), 2.01, 0.011);
    add_frame_time(t, 0.030);
    EXPECT_NEAR(frame_time_percentile_ms(t, 0.95), 30.01, 0.011);
    // Longer than the histogram, and nonsense, are still counted.
    add_frame_time(t, 5.0);
    add_frame_time(t, -1.0);
    EXPECT_EQ(t.Frames, 103);
    EXPECT_GT(frame_time_percentile_ms(t, 1.0), 200.0);
}

TEST(Screenshots, WrittenOnceTheirTickIsReachedAndFailuresReported) {
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / "brawlbox_screenshot_test";
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::string early = (dir / "early.png").string(), late = (dir / "late.png").string();
    PendingScreenshots = {{10, late}, {3, early}, {3, "/nonexistent/x.png"}};
    const uint8_t rgba[2 * 2 * 4] = {255, 0, 0,   255, 0,   255, 0,   255,
                                     0,   0, 255, 255, 255, 255, 255, 255};
    EXPECT_FALSE(screenshot_due(2));
    EXPECT_TRUE(screenshot_due(5));
    std::string error;
    EXPECT_FALSE(write_due_screenshots(5, rgba, 2, 2, error));
    EXPECT_NE(error.find("/nonexistent/x.png"), std::string::npos) << error;
    EXPECT_TRUE(fs::exists(early));
    EXPECT_FALSE(fs::exists(late));
    ASSERT_EQ(PendingScreenshots.size(), 1u);
    EXPECT_FALSE(screenshot_due(9));
    EXPECT_TRUE(write_due_screenshots(12, rgba, 2, 2, error));
    EXPECT_TRUE(fs::exists(late));
    EXPECT_TRUE(PendingScreenshots.empty());
    fs::remove_all(dir);
}
