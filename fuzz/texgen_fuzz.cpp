// libFuzzer target: any bytes as a texture program's commands. The first
// byte is the command count, cut to a small budget: a command works on whole
// 256 by 256 layers, and a few per input keep the fuzzer at thousands of
// inputs a second.
#include "texgen/interpreter.h"

#include <cstddef>
#include <cstdint>
#include <vector>

using namespace bb;

constexpr int CommandBudget = 3;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0 || size > 65536) return 0;
    std::vector<uint8_t> bytes = {'Q', 'T', 'X', static_cast<uint8_t>(data[0] % (CommandBudget + 1))};
    bytes.insert(bytes.end(), data + 1, data + size);
    TextureProgram program{bytes.data(), static_cast<uint32_t>(bytes.size())};
    static TextureImage image;
    run_program(&program, &image);
    for (uint32_t pixel : image.Pixels)
        if (pixel >> 24) __builtin_trap(); // the top byte stays 0
    return 0;
}
