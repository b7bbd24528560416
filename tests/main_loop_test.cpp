#include "app/input.h"
#include "app/main_loop.h"
#include "game/game_flow.h"

#include <gtest/gtest.h>

#include <vector>

using namespace bb;

namespace {

struct LoopFixture : ::testing::Test {
    void SetUp() override {
        LastTick = 0;
        QuitRequested = 0;
        input_reset();
    }
    void TearDown() override { input_reset(); }
};

std::vector<int> draws_of(const LoopPass& p) {
    std::vector<int> d;
    if (p.Yield) d.push_back(-1);
    for (int i = 0; i < p.TickRuns; i++) d.push_back(p.Draw[i]);
    return d;
}

} // namespace

TEST(TickClock, IsMillisecondsOverTenWithoutWrapping) {
    EXPECT_EQ(tick_from_milliseconds(0), 0);
    EXPECT_EQ(tick_from_milliseconds(9), 0);
    EXPECT_EQ(tick_from_milliseconds(10), 1);
    EXPECT_EQ(tick_from_milliseconds(50000000), 5000000);
    // Past the 32-bit millisecond wrap of 49.7 days the tick keeps rising.
    EXPECT_EQ(tick_from_milliseconds(UINT64_C(4294967296) + 10), 429496730);
}

TEST_F(LoopFixture, RulesForOneClockReading) {
    struct Case {
        const char* what;
        int64_t last_tick;
        int64_t now;
        int key;               // scan code held, 0 for none
        std::vector<int> runs; // draw flag of each tick run; -1 means a yield
        int64_t last_after;
    };
    const Case cases[] = {
        {"first pass jumps to the clock and draws", 0, 123456, 0, {1}, 123456},
        {"no tick due yields", 500, 500, 0, {-1}, 500},
        {"clock behind yields", 500, 499, 0, {-1}, 500},
        {"one due tick draws", 499, 500, 0, {1}, 500},
        {"backlog of 20 runs one undrawn tick", 479, 500, 0, {0}, 480},
        {"backlog of 21 is dropped and draws", 478, 500, 0, {1}, 500},
        {"fast forward: three undrawn, then the drawn one", 499, 500, Scan9, {0, 0, 0, 1}, 500},
        {"fast forward behind: four undrawn", 490, 500, Scan9, {0, 0, 0, 0}, 491},
        {"slow motion skips the next three clock ticks", 499, 500, Scan8, {1}, 503},
        {"slow motion after a drop", 100, 500, Scan8, {1}, 503},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        input_reset();
        if (c.key) InputState.KeyDown[c.key] = 1;
        LastTick = c.last_tick;
        EXPECT_EQ(draws_of(plan_loop_pass(c.now)), c.runs);
        EXPECT_EQ(LastTick, c.last_after);
    }
}

TEST_F(LoopFixture, BacklogRunsOneTickPerPassThenDraws) {
    LastTick = 1000;
    int undrawn = 0, passes = 0;
    LoopPass p;
    do {
        p = plan_loop_pass(1010);
        passes++;
        if (p.TickRuns == 1 && p.Draw[0] == 0) undrawn++;
    } while (!(p.TickRuns == 1 && p.Draw[0] == 1));
    EXPECT_EQ(undrawn, 9);
    EXPECT_EQ(passes, 10);
    EXPECT_EQ(LastTick, 1010);
}

TEST_F(LoopFixture, SlowMotionRunsEveryFourthClockTick) {
    InputState.KeyDown[Scan8] = 1;
    LastTick = 99;
    int ticks = 0;
    for (int64_t now = 100; now < 140; now++) ticks += plan_loop_pass(now).TickRuns;
    EXPECT_EQ(ticks, 10);
}

TEST_F(LoopFixture, RunPassStopsAtTheTickLimit) {
    TicksRun = 0;
    TickLimit = 2;
    int before = TickCount;
    InputState.KeyDown[Scan9] = 1;
    LastTick = 9;
    run_loop_pass(plan_loop_pass(10));
    EXPECT_EQ(TickCount - before, 2);
    EXPECT_TRUE(loop_should_end());
    TickLimit = -1;
    TicksRun = 0;
    FramePending = 0;
}

TEST_F(LoopFixture, TicksAScreenshotWaitsForAreDrawn) {
    TicksRun = 0;
    TickLimit = -1;
    LoopPass catching_up = {1, {0, 0, 0, 0}, false};
    FramePending = 0;
    run_loop_pass(catching_up, 5);
    EXPECT_EQ(FramePending, 0); // tick 1 is before 5
    TicksRun = 4;
    run_loop_pass(catching_up, 5);
    EXPECT_EQ(FramePending, 1); // tick 5 is drawn
    FramePending = 0;
    TicksRun = 0;
}

TEST_F(LoopFixture, DrawingTickAsksForAFrame) {
    FramePending = 0;
    game_tick(0);
    EXPECT_EQ(FramePending, 0);
    game_tick(1);
    EXPECT_EQ(FramePending, 1);
    FramePending = 0;
}

TEST_F(LoopFixture, DroppedTicksCountedButNotTheFirstJumpToTheClock) {
    TicksDropped = 0;
    plan_loop_pass(5000); // start-up: the clock is far ahead of tick 0
    EXPECT_EQ(TicksDropped, 0);
    plan_loop_pass(5015); // a backlog of 14: run, no drop
    EXPECT_EQ(TicksDropped, 0);
    plan_loop_pass(5040); // LastTick 5002: 38 behind, all dropped
    EXPECT_EQ(TicksDropped, 38);
    EXPECT_EQ(LastTick, 5040);
    TicksDropped = 0;
}

// With vsync at 60 Hz every drawn frame waits for the next refresh (16.7 ms,
// more than a tick), so the pass after it finds a tick or two due. The loop
// must still run 100 ticks a second, draw once per refresh and drop nothing.
TEST_F(LoopFixture, VsyncAtSixtyHertzKeepsOneHundredTicksASecond) {
    const double refresh_ms = 1000.0 / 60;
    double ms = 1000; // a tenth of a millisecond passes between passes otherwise
    int64_t ticks = 0, frames = 0, dropped_before = TicksDropped;
    int64_t first_tick = -1;
    while (ms < 11000) {
        LoopPass pass = plan_loop_pass(tick_from_milliseconds(static_cast<uint64_t>(ms)));
        if (first_tick < 0 && pass.TickRuns) first_tick = LastTick;
        ticks += pass.TickRuns;
        ms += 0.1;
        if (pass.TickRuns && pass.Draw[pass.TickRuns - 1]) {
            frames++;
            ms = (static_cast<int64_t>(ms / refresh_ms) + 1) * refresh_ms;
        }
    }
    EXPECT_NEAR(ticks, 1000, 2);
    EXPECT_NEAR(frames, 600, 2);
    EXPECT_EQ(TicksDropped, dropped_before);
}
