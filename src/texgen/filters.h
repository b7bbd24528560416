// Filters: each computes its result into ScratchA from the target as it was
// before the command, then copies it over the target.
#pragma once

#include <cstdint>

namespace bb {

void shift_difference(int target, const uint8_t* p); // opcode 14
void blur(int target, const uint8_t* p);             // opcode 15
// opcode 18; the direction layer and channel must be in range. A sample count
// of 0 leaves the layer unchanged.
void directional_blur(int target, const uint8_t* p);
void horizontal_edge(int target); // opcode 39

// Blur passes without the command bytes, for DirectionalBlur's follow-up.
void blur_passes(int target, int passes);

} // namespace bb
