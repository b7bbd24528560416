// The game's sound effects: GSM 6.10 WAVE files synthesised by
// tools/make_effects at build time and compiled into the program.
#pragma once

#include <cstdint>

namespace bb {

extern const uint8_t EffectWave1Data[], EffectWave2Data[], EffectWave3Data[], EffectWave4Data[],
    EffectWave5Data[], EffectWave6Data[];
extern const uint32_t EffectWave1Size, EffectWave2Size, EffectWave3Size, EffectWave4Size,
    EffectWave5Size, EffectWave6Size;

} // namespace bb
