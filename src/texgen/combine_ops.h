// Combining the target with another layer (which may be the target itself),
// in place, pixel by pixel. Layer and channel parameters must be in range.
#pragma once

#include <cstdint>

namespace bb {

void cross_fade(int target, const uint8_t* p); // opcode 24
void multiply(int target, const uint8_t* p);   // opcode 25
void add(int target, const uint8_t* p);        // opcode 26
void lighten(int target, const uint8_t* p);    // opcode 27
void mask_blend(int target, const uint8_t* p); // opcode 38

} // namespace bb
