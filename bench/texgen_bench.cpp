#include "texgen/texture_programs.h"
#include "texgen/texture_setup.h"

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

using namespace bb;

// All fourteen start-up textures, as the game makes them.
static void BM_generate_textures(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<TextureImage> images = generate_textures(TextureList, nullptr);
        benchmark::DoNotOptimize(images.data());
    }
}
BENCHMARK(BM_generate_textures)->Unit(benchmark::kMillisecond);

// The same images on n threads, each shared program run once.
static void BM_generate_textures_parallel(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<TextureImage> images =
            generate_textures_parallel(TextureList, static_cast<int>(state.range(0)));
        benchmark::DoNotOptimize(images.data());
    }
}
BENCHMARK(BM_generate_textures_parallel)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// texture_setup without the graphics device: generation on n threads (0: as
// many as the start-up uses), the menu labels, the relief maps.
static void BM_texture_setup_images(benchmark::State& state) {
    int threads = state.range(0) > 0 ? static_cast<int>(state.range(0)) : texture_threads();
    for (auto _ : state) {
        std::vector<std::string> problems;
        std::vector<TextureImage> images = make_texture_images(threads, problems);
        benchmark::DoNotOptimize(images.data());
    }
    state.counters["threads"] = threads;
}
BENCHMARK(BM_texture_setup_images)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// Labels and relief conversion alone, on ready images.
static void BM_finish_texture_images(benchmark::State& state) {
    const std::vector<TextureImage> generated = generate_textures_parallel(TextureList, 1);
    std::vector<TextureImage> images;
    for (auto _ : state) {
        state.PauseTiming();
        images = generated;
        state.ResumeTiming();
        std::vector<std::string> problems;
        finish_texture_images(images, problems);
        benchmark::DoNotOptimize(images.data());
    }
}
BENCHMARK(BM_finish_texture_images)->Unit(benchmark::kMillisecond);

// Where that time goes: for each opcode, every one of its commands in the
// fourteen-entry list, run back to back on layers that hold the start of a
// real program. The per-opcode times add up to about the whole list.
static void run_commands_of_one_opcode(benchmark::State& state,
                                       std::vector<const uint8_t*> commands) {
    TextureImage scratch;
    run_program(&TextureProgramH, &scratch); // leaves noise in layers 0 and 1
    for (auto _ : state)
        for (const uint8_t* command : commands) execute_command(command);
    state.counters["commands"] = double(commands.size());
}

static int register_opcode_benchmarks() {
    std::map<int, std::vector<const uint8_t*>> by_opcode;
    for (int slot = 0; slot < TextureSlotCount; slot++) {
        const TextureProgram& program = *TextureList[slot];
        uint32_t at = TextureHeaderSize;
        for (int n = 0; n < program.Bytes[3]; n++) {
            by_opcode[program.Bytes[at]].push_back(program.Bytes + at);
            at += texture_command_size(program.Bytes[at]);
        }
    }
    for (auto& [opcode, commands] : by_opcode) {
        std::string name = std::string("BM_opcode_share/") + texture_opcode_name(uint8_t(opcode));
        benchmark::RegisterBenchmark(name.c_str(), run_commands_of_one_opcode, commands)
            ->Unit(benchmark::kMillisecond);
    }
    return 0;
}
static const int OpcodeBenchmarks = register_opcode_benchmarks();
