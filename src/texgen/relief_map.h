// Relief (normal) maps for the light passes, made from height images.
#pragma once

#include <cstdint>

namespace bb {

// A relief map of a flat surface: the normal straight out of the face.
constexpr uint32_t FlatRelief = 0x00FF7F7Fu;

// Converts a w x h height image (the height is a pixel's blue byte) into a
// relief map in out (same size; out must not overlap heights). With c a
// pixel's height, l its left neighbour's and u the one above's (both wrapping
// around the image): dx = c - l, dy = c - u, len = trunc(sqrt(dx² + dy² + a²) ·
// ±2) with the sign of strength a, and the bytes, low to high, blue =
// 256·dx/len + 127, green = 256·dy/len + 127, red = 256·a/len + 127, top 0,
// each modulo 256 with the divisions rounding toward zero. So the normal's x
// is in blue, its y in green and its z in red. With strength 0 a flat spot has
// no length; it gets FlatRelief.
void make_normal_map(const uint32_t* heights, int w, int h, int strength, uint32_t* out);

} // namespace bb
