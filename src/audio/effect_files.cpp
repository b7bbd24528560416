#include "audio/effect_files.h"

#include "assets/effects.h"

namespace bb {

const EffectFile EffectFiles[7] = {
    {EffectWave2Data, EffectWave2Size}, {EffectWave1Data, EffectWave1Size},
    {EffectWave2Data, EffectWave2Size}, {EffectWave3Data, EffectWave3Size},
    {EffectWave4Data, EffectWave4Size}, {EffectWave5Data, EffectWave5Size},
    {EffectWave6Data, EffectWave6Size},
};

} // namespace bb
