#include "render/lights.h"

namespace bb {

LightSet Lights = make_light_set(4);
Vec3 LightDir = {0, 1, 0};
uint32_t LightColour = 0;

LightSet make_light_set(int count) {
    LightSet set = {};
    if (count < 1 || count > MaxLights) return set;
    set.Count = count;
    uint32_t k = static_cast<uint32_t>((288 / (count + 1) + 8) / 16);
    set.Colour = k * 0x080706u;
    for (int i = 0; i < count; i++) {
        Vec3 d = {0.3f, 1.0f, 0.5f};
        vec3_rotate_by_vector(d,
                              Vec3{0, static_cast<float>(i) * 5.2f / static_cast<float>(count), 0});
        set.Directions[i] = vec3_normalized(d);
    }
    return set;
}

} // namespace bb
