// The colour the whole scene is modulated with.
#pragma once

#include <cstdint>

namespace bb {

// 0x00RRGGBB.
extern uint32_t SceneColour;

// a = min(level, 255); red a, green and blue a*a/256: a scene fades in from
// black through red-brown to (255, 254, 254).
void set_scene_fade(int level);

// The colour a frame is cleared to: a dark blue that follows the scene
// colour's blue channel, (v * 0x80C1) & 0x3F3F3F with v = (scene_colour >> 2) & 0x3F.
uint32_t clear_colour(uint32_t scene_colour);

} // namespace bb
