#include "platform/audio.h"

#include "audio/sound_effects.h"

#include <gsm.h>

#include <vector>

namespace bb {

bool decode_effect_wave(const EffectWave& wave, int16_t* samples) {
    gsm g = gsm_create();
    if (!g) return false;
    int one = 1;
    gsm_option(g, GSM_OPT_WAV49, &one);
    bool ok = true;
    // Each 65-byte block holds a frame of 33 bytes and one of 32.
    for (int k = 0; k < wave.BlockCount && ok; k++) {
        gsm_byte* block = const_cast<gsm_byte*>(wave.Data + k * GsmBlockBytes);
        gsm_signal* out = samples + k * GsmBlockSamples;
        ok = gsm_decode(g, block, out) == 0 && gsm_decode(g, block + 33, out + 160) == 0;
    }
    gsm_destroy(g);
    return ok;
}

bool load_effect_file(int effect, const uint8_t* bytes, uint32_t size, std::string& error) {
    EffectWave wave;
    if (!read_effect_wave(bytes, size, wave, error)) return false;
    std::vector<int16_t> pcm(size_t(wave.SampleCount));
    if (!decode_effect_wave(wave, pcm.data())) {
        error = "its GSM data does not decode";
        return false;
    }
    if (!sound_effect_load(effect, pcm.data(), wave.SampleCount, wave.Rate)) {
        error = "it cannot be played";
        return false;
    }
    return true;
}

} // namespace bb
