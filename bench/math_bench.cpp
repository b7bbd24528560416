#include "math/random_stream.h"
#include "math/vector_math.h"

#include <benchmark/benchmark.h>

using namespace bb;

static void BM_random_next(benchmark::State& state) {
    RandomStreamState s;
    random_seed(s, 1434, 6431);
    for (auto _ : state) benchmark::DoNotOptimize(random_next(s));
}
BENCHMARK(BM_random_next);

static void BM_vec3_rotate_by_vector(benchmark::State& state) {
    Vec3 v = {1, 2, 3};
    Vec3 w = {0.01f, -0.02f, 0.005f};
    for (auto _ : state) {
        vec3_rotate_by_vector(v, w);
        benchmark::DoNotOptimize(v);
    }
}
BENCHMARK(BM_vec3_rotate_by_vector);
