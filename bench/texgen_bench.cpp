#include "texgen/texture_programs.h"

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
