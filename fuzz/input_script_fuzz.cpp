// libFuzzer target: any bytes as an input script; one that parses is played
// into InputState to its last tick.
#include "app/input.h"
#include "app/input_script.h"

#include <cstddef>
#include <cstdint>
#include <string>

using namespace bb;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    std::string error;
    input_reset();
    if (parse_input_script(text, "fuzz", error)) {
        apply_input_events(INT64_C(1) << 40);
    } else if (error.empty() || error.find('\n') != std::string::npos) {
        __builtin_trap(); // every refusal is one line saying why
    }
    clear_input_script();
    return 0;
}
