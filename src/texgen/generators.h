// Operations that make content from nothing (noise, cells, plasma, spot,
// bitmap, clear) and the noise helpers they share. Each takes the target layer
// (0..3) and the command's seven parameter bytes p0..p6; channel parameters
// must already be 0..2 (the interpreter skips commands where they are not).
#pragma once

#include <cstdint>

namespace bb {

// Lattice hash of n under NoiseSeed; callers use the low 8 bits.
int32_t noise_hash(int32_t n);
float cubic_interpolate(float s0, float s1, float s2, float s3, float t);
// Fills CosineWeights for lattice step s (1..256).
void build_cosine_weights(int s);
// Four parameter bytes, most significant first, as a NoiseSeed.
int32_t seed_from_bytes(const uint8_t* b);

void fractal_noise(int target, const uint8_t* p); // opcode 1
void sine_plasma(int target, const uint8_t* p);   // opcode 2
void cells(int target, const uint8_t* p);         // opcode 3
void radial_spot(int target, const uint8_t* p);   // opcode 4
void smooth_noise(int target, const uint8_t* p);  // opcode 5
void clear_layer(int target);                     // opcode 6
// opcode 40; data holds BitmapDataSize bytes, bit (x AND 7) of byte y*32 + x/8
// for pixel (x, y).
void bitmap(int target, const uint8_t* p, const uint8_t* data);

constexpr int BitmapDataSize = 8192;

} // namespace bb
