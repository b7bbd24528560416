// Operations that move pixels around (scroll, sine warp, swirl, displacement)
// and the wrapped bilinear sampler they share. Each writes its result into
// ScratchA and then copies it over the target, so every output pixel comes
// from the target as it was before the command.
#pragma once

#include <cstdint>

namespace bb {

// Pixel of the layer at column u and row v (in pixels), wrapping. The weights
// sum to 255, not 256, and each product is shifted down: a pixel of 255 read
// at its own position gives 253. This darkening is part of the textures' look.
uint32_t sample_bilinear(const uint32_t* layer, float u, float v);

void sine_warp(int target, const uint8_t* p); // opcode 10
void scroll(int target, const uint8_t* p);    // opcode 11
void swirl(int target, const uint8_t* p);     // opcode 12
// opcode 17; layer and channel parameters must be in range.
void displace(int target, const uint8_t* p);

} // namespace bb
