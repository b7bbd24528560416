// libFuzzer target: any bytes as a texture program's commands. Every command
// works on whole 256 by 256 layers, so the work per input is budgeted to keep
// thousands of inputs a second: the first byte, cut to CommandBudget, is the
// command count, and the parameters that only repeat the same wrapped loops
// (blur passes, directional blur samples, cell points) are cut to RepeatBudget.
#include "texgen/interpreter.h"

#include <cstddef>
#include <cstdint>
#include <vector>

using namespace bb;

constexpr int CommandBudget = 2;
constexpr uint8_t RepeatBudget = 8;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0 || size > 65536) return 0;
    std::vector<uint8_t> bytes = {'Q', 'T', 'X', static_cast<uint8_t>(data[0] % (CommandBudget + 1))};
    bytes.insert(bytes.end(), data + 1, data + size);
    for (size_t at = TextureHeaderSize, n = 0; n < bytes[3] && bytes.size() - at >= TextureCommandSize;
         n++) {
        uint8_t* command = bytes.data() + at;
        uint8_t* p = command + 2;
        if (command[0] == OpBlur) p[0] %= RepeatBudget;
        if (command[0] == OpDirectionalBlur) p[2] %= RepeatBudget;
        if (command[0] == OpCells) p[1] %= RepeatBudget;
        at += static_cast<size_t>(texture_command_size(command[0]));
        if (at > bytes.size()) break;
    }
    TextureProgram program{bytes.data(), static_cast<uint32_t>(bytes.size())};
    static TextureImage image;
    run_program(&program, &image);
    for (uint32_t pixel : image.Pixels)
        if (pixel >> 24) __builtin_trap(); // the top byte stays 0
    return 0;
}
