// Whole scenes run as the headless game runs them, checked tick by tick.
#include "app/input.h"
#include "app/input_script.h"
#include "app/main_loop.h"
#include "app/run_report.h"
#include "app/scenes.h"
#include "game/game_flow.h"
#include "physics/world_step.h"
#include "scenes/physics_scenes.h"
#include "wrestler/wrestler.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace bb;

namespace {

struct SceneRunTest : ::testing::Test {
    void SetUp() override {
        input_reset();
        clear_input_script();
        TicksRun = 0;
        QuitRequested = 0;
    }
    void TearDown() override {
        input_reset();
        clear_input_script();
        TicksRun = 0;
    }
    void start(const char* scene, const char* script = "") {
        std::string error;
        ASSERT_TRUE(parse_input_script(script, "script", error)) << error;
        start_named_scene(scene, false);
    }
    // Runs ticks, calling check after each.
    void run(
        int ticks, const std::function<void()>& check = [] {}) {
        for (int i = 0; i < ticks; i++) {
            run_tick(1);
            FramePending = 0;
            check();
        }
    }
};

float head_y(int w) {
    return Wrestlers[w].FigureBodies[Head]->Position.y;
}

} // namespace

TEST_F(SceneRunTest, HiddenPartWrestlerStands) {
    start("hidden");
    float lowest = 100;
    run(3000, [&] {
        lowest = std::min(lowest, head_y(0));
        int g = Wrestlers[0].Gait;
        ASSERT_TRUE(g == 0 || g == 8 || g == 9) << "gait " << g << " at tick " << TicksRun;
    });
    EXPECT_GT(lowest, 24.0f);
    EXPECT_TRUE(bodies_finite());
}

TEST_F(SceneRunTest, PracticeWalksForwardAndTurns) {
    // Within the ring: 250 ticks of walking, about 18 units.
    start("practice", "300 down up\n550 up up\n");
    Vec3 at300 = {0, 0, 0};
    float lowest = 100;
    run(600, [&] {
        if (TicksRun == 300) at300 = Wrestlers[0].FigureBodies[Pelvis]->Position;
        lowest = std::min(lowest, head_y(0));
    });
    Vec3 end = Wrestlers[0].FigureBodies[Pelvis]->Position;
    EXPECT_GT(std::hypot(end.x - at300.x, end.z - at300.z), 5.0f);
    EXPECT_GT(lowest, 20.0f);

    start("practice", "300 down left\n600 up left\n");
    float before = 0;
    run(600, [&] {
        if (TicksRun == 300) before = wrestler_heading(Wrestlers[0]);
    });
    EXPECT_GT(std::fabs(wrestler_heading(Wrestlers[0]) - before), 0.7853982f);
    EXPECT_GT(head_y(0), 20.0f);
}

TEST_F(SceneRunTest, BoutWrestlersStandFacingEachOther) {
    // Until the start crouch (phase 2) they stand upright.
    start("bout");
    float lowest = 100;
    run(800, [&] {
        if (Wrestlers[0].Phase == 4) lowest = std::min({lowest, head_y(0), head_y(1)});
    });
    EXPECT_GT(lowest, 24.0f);
    EXPECT_EQ(Wrestlers[0].Phase, 2);
    EXPECT_EQ(GameState, BoutWaiting);
    for (int i = 0; i < 2; i++) {
        Vec3 me = Wrestlers[i].FigureBodies[Pelvis]->Position;
        Vec3 other = Wrestlers[1 - i].FigureBodies[Pelvis]->Position;
        float a = wrestler_heading(Wrestlers[i]);
        Vec3 to = vec3_normalized(Vec3{other.x - me.x, 0, other.z - me.z});
        EXPECT_GT(std::sin(a) * to.x + std::cos(a) * to.z, 0.99f) << "wrestler " << i;
    }
}

TEST_F(SceneRunTest, SameInputGivesIdenticalRuns) {
    const char* script = "100 down up\n180 down enter\n200 up up\n260 down left\n300 up left\n";
    uint64_t hashes[2];
    for (uint64_t& h : hashes) {
        SetUp();
        start("practice", script);
        run(600);
        h = hash_bodies();
    }
    EXPECT_EQ(hashes[0], hashes[1]);
}

TEST_F(SceneRunTest, DemoPlaysGamesByTheWinRule) {
    start("demo");
    int decided = 0;
    int32_t last[2] = {0, 0};
    run(30000, [&] {
        if (Score[0] == last[0] && Score[1] == last[1]) return;
        bool finished = (last[0] >= 5 || last[1] >= 5) && std::abs(last[0] - last[1]) >= 2;
        if (finished) {
            // A finished game starts the next from 0:0.
            ASSERT_EQ(Score[0], 0);
            ASSERT_EQ(Score[1], 0);
        } else {
            // One point for one side per decided bout.
            ASSERT_EQ(Score[0] + Score[1], last[0] + last[1] + 1);
            decided++;
        }
        last[0] = Score[0];
        last[1] = Score[1];
    });
    EXPECT_GE(decided, 3);
    EXPECT_TRUE(bodies_finite());
    DemoMode = false;
}
