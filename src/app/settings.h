// The player's settings for this run. Nothing is stored between runs.
#pragma once

#include <cstdint>

namespace bb {

extern int32_t DisplayWidth;
extern int32_t DisplayHeight;
extern int32_t Windowed;   // 1 for a window, 0 for full screen
extern int32_t LightCount; // 1, 2, 4 or 12
extern int32_t ShadowsOn;
extern int32_t SoundOn;

} // namespace bb
