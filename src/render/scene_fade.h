// The colour the whole scene is modulated with.
#pragma once

#include <cstdint>

namespace bb {

// 0x00RRGGBB.
extern uint32_t SceneColour;

// a = min(level, 255); red a, green and blue a*a/256: a scene fades in from
// black through red-brown to (255, 254, 254).
void set_scene_fade(int level);

} // namespace bb
