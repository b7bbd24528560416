// libFuzzer target: any bytes are read as an effect file; one that passes
// the reader is decoded with libgsm, loaded, played at a pitch taken from
// the input and mixed to its end.
#include "audio/effect_wave.h"
#include "audio/sound_effects.h"
#include "platform/audio.h"

#include <cstddef>
#include <cstdint>
#include <string>

using namespace bb;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > UINT32_MAX) return 0;
    sound_effects_reset();
    std::string error;
    if (!load_effect_file(1, data, static_cast<uint32_t>(size), error)) return 0;
    SoundEffects.EffectsReady = 1;
    const float factor = size > 0 ? 0.25f + data[size - 1] / 32.0f : 1.0f;
    play_sound_effect(1, factor, 1.0f, 3);
    play_sound_effect(1, factor * 2.0f, 0.5f, 0);
    float frames[2 * 1024];
    for (int k = 0; k < 200 && (k == 0 || effect_voices_playing() > 0); k++) {
        for (float& f : frames) f = 0;
        mix_effect_voices(frames, 1024);
    }
    return 0;
}
