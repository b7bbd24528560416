#include "app/settings.h"

namespace bb {

int32_t DisplayWidth = 1024;
int32_t DisplayHeight = 768;
int32_t Windowed = 1;
int32_t LightCount = 4;
int32_t ShadowsOn = 1;
int32_t SoundOn = 1;

} // namespace bb
