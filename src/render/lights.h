// The frame's lights: 1, 2, 4 or 12 directional lights on a cone around the
// vertical, all of one warm colour that dims as their number grows.
#pragma once

#include "math/vector_math.h"

#include <cstdint>

namespace bb {

constexpr int MaxLights = 12;

struct LightSet {
    int32_t Count;              // lights in use, 0 to MaxLights
    uint32_t Colour;            // 0x00RRGGBB, the same for every light
    Vec3 Directions[MaxLights]; // unit vectors pointing towards each light
};

// The set of the frame being drawn; render_frame makes it from LightCount.
extern LightSet Lights;
// The light being drawn and its colour (the shared one).
extern Vec3 LightDir;
extern uint32_t LightColour;

// Pure: k = (288 / (n + 1) + 8) / 16, colour k * 0x080706; light i is
// (0.3, 1.0, 0.5) turned about +y by i * 5.2 / n, normalised. A count outside
// 1..12 gives no lights.
LightSet make_light_set(int count);

} // namespace bb
