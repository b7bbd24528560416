#include "texgen/texgen_state.h"

#include <cstring>

namespace bb {

thread_local TextureGeneratorState TextureGenerator [[gnu::tls_model("initial-exec")]];

void texture_generator_init() {
    TextureGeneratorState& g = TextureGenerator;
    if (g.Initialised) return;
    for (int r = 0; r < 128; r++)
        for (int v = 0; v < 256; v++) g.BrightnessTable[r][v] = static_cast<uint8_t>(r * v / 127);
    for (int r = 128; r < 256; r++) {
        float k = static_cast<float>(r - 128);
        for (int v = 0; v < 256; v++) {
            float e = 255.0f - static_cast<float>(255 - v) * (1.0f - k / 127.0f);
            g.BrightnessTable[r][v] = static_cast<uint8_t>(static_cast<int>(e));
        }
    }
    g.Initialised = true;
}

void commit_scratch_to_layer(int layer) {
    std::memcpy(TextureGenerator.Layer[layer].Pixels, TextureGenerator.ScratchA.Pixels,
                sizeof(TextureImage));
}

} // namespace bb
