#include "game/arena.h"
#include "game/game_flow.h"
#include "physics/body.h"
#include "physics/collide.h"
#include "physics/world_step.h"
#include "scenes/physics_scenes.h"

#include <benchmark/benchmark.h>

using namespace bb;

static void BM_collide_pair_two_boxes(benchmark::State& state) {
    reset_physics_scene();
    Body* a = make_box(1, -1, 1, 0, 0, 0, 0, 1);
    Body* b = make_box(1, -1, 1, 0.4f, 1.5f, 0.3f, 0, 1);
    mat3_post_rotate_y(b->Orientation, 0.3f);
    mat3_post_rotate_x(b->Orientation, 0.2f);
    for (auto _ : state) {
        ContactCount = 0;
        PenetrationCount = 0;
        collide_pair(*b, *a);
        benchmark::DoNotOptimize(ContactCount);
    }
    state.counters["contacts"] = ContactCount;
}
BENCHMARK(BM_collide_pair_two_boxes);

static void BM_detect_collisions_bout_scene(benchmark::State& state) {
    build_bout_like_scene();
    step_scene(100); // settled, as in a bout
    for (auto _ : state) {
        ContactCount = 0;
        PenetrationCount = 0;
        detect_collisions();
        benchmark::DoNotOptimize(ContactCount);
    }
    state.counters["bodies"] = BodyCount;
    state.counters["contacts"] = ContactCount;
}
BENCHMARK(BM_detect_collisions_bout_scene)->Unit(benchmark::kMicrosecond);

// Whole ticks of a scene: it keeps moving, as the game's would.
static void run_world_steps(benchmark::State& state) {
    for (auto _ : state) world_step();
    state.counters["bodies"] = BodyCount;
    state.counters["contacts"] = ContactCount;
}

static void BM_world_step_bout_scene(benchmark::State& state) {
    build_bout_like_scene();
    step_scene(100);
    run_world_steps(state);
}
BENCHMARK(BM_world_step_bout_scene)->Unit(benchmark::kMicrosecond);

static void BM_world_step_cube_pile(benchmark::State& state) {
    build_cube_pile();
    step_scene(50); // still tumbling, not yet asleep
    run_world_steps(state);
}
BENCHMARK(BM_world_step_cube_pile)->Unit(benchmark::kMicrosecond)->Iterations(200);

// A real bout against the computer, ticks 300 to 1300 of it: settling, the
// start crouch, the start and the first pushes, rebuilt every 1000 ticks so
// the measure does not drift into whatever a long run turns into.
static void BM_world_step_bout_with_wrestlers(benchmark::State& state) {
    int since_build = 1000;
    for (auto _ : state) {
        if (since_build == 1000) {
            state.PauseTiming();
            reset_physics_scene();
            Score[0] = Score[1] = 0;
            TwoPlayers = 0;
            start_bout();
            step_scene(300);
            since_build = 0;
            state.ResumeTiming();
        }
        TickCount++;
        world_step();
        since_build++;
    }
    state.counters["bodies"] = BodyCount;
}
BENCHMARK(BM_world_step_bout_with_wrestlers)->Unit(benchmark::kMicrosecond);
