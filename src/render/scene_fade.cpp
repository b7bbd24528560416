#include "render/scene_fade.h"

namespace bb {

uint32_t SceneColour = 0;

void set_scene_fade(int level) {
    uint32_t a = static_cast<uint32_t>(level < 0 ? 0 : level > 255 ? 255 : level);
    SceneColour = (a << 16) + (a * a >> 8) * 0x101u;
}

uint32_t clear_colour(uint32_t scene_colour) {
    uint32_t v = (scene_colour >> 2) & 0x3F;
    return (v * 0x80C1u) & 0x3F3F3Fu;
}

} // namespace bb
