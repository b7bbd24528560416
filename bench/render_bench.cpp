#include "app/scenes.h"
#include "game/game_flow.h"
#include "render/lights.h"
#include "render/scene_geometry.h"

#include <benchmark/benchmark.h>

#include <cstring>

using namespace bb;

// What the processor does for a frame before the draw calls: every light's
// triangles and shadow volumes, sorted by texture index into the buffers.
static void BM_bout_frame_geometry(benchmark::State& state) {
    start_named_scene("bout", false);
    for (int i = 0; i < 200; i++) game_tick(0); // standing, as in a bout
    LightSet set = make_light_set(static_cast<int>(state.range(0)));
    static LitVertex lit[MaxLightVertices];
    static ShadowVertex shadow[MaxLightVertices];
    int lit_triangles = 0, shadow_triangles = 0;
    for (auto _ : state) {
        lit_triangles = shadow_triangles = 0;
        for (int i = 0; i < set.Count; i++) {
            LightDir = set.Directions[i];
            build_light_geometry();
            std::memcpy(shadow, FrameGeometry.Shadow,
                        FrameGeometry.ShadowCount * 3 * sizeof(ShadowVertex));
            sort_lit_triangles(lit);
            lit_triangles += FrameGeometry.LitCount;
            shadow_triangles += FrameGeometry.ShadowCount;
        }
        benchmark::DoNotOptimize(lit);
        benchmark::DoNotOptimize(shadow);
    }
    state.counters["bodies"] = BodyCount;
    state.counters["lit_triangles"] = lit_triangles;
    state.counters["shadow_triangles"] = shadow_triangles;
}
BENCHMARK(BM_bout_frame_geometry)->Arg(12)->Arg(4)->Arg(1)->Unit(benchmark::kMicrosecond);
