#include "assets/song.h"
#include "audio/mixer.h"
#include "audio/module_loader.h"
#include "audio/player.h"

#include <benchmark/benchmark.h>

using namespace bb;

// One 20 ms block of the game's song, played on from a cue position through
// the whole loop: real time is 20.04 ms a block, and the aim is 1000 times faster.
static void BM_mix_block_song(benchmark::State& state) {
    Module* m = load_module_from_memory(SongData, SongSize);
    if (!m) {
        state.SkipWithError("the song does not load");
        return;
    }
    mixer_open();
    player_start(*m, static_cast<int>(state.range(0)));
    Mixer.CurrentModule = m;
    for (auto _ : state) mix_block();
    state.counters["realtime_x"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * BlockFrames / OutputRate,
        benchmark::Counter::kIsRate);
    free_module(m);
}
BENCHMARK(BM_mix_block_song)->Arg(3)->Arg(6)->Unit(benchmark::kMicrosecond);

// Every music restart loads the song anew.
static void BM_load_song(benchmark::State& state) {
    for (auto _ : state) {
        Module* m = load_module_from_memory(SongData, SongSize);
        benchmark::DoNotOptimize(m);
        free_module(m);
    }
}
BENCHMARK(BM_load_song)->Unit(benchmark::kMicrosecond);
