// The seven embedded effect files, by effect number; 0 and 2 are one file.
#pragma once

#include <cstdint>

namespace bb {

struct EffectFile {
    const uint8_t* Bytes;
    uint32_t Size;
};

extern const EffectFile EffectFiles[7];

} // namespace bb
