// The sound effects' files: RIFF WAVE holding GSM 6.10 in the 65-byte
// blocks of format 49, always laid out the same way (data at offset 60).
// The reader trusts nothing: every offset and length is checked against the
// bytes it is given.
#pragma once

#include <cstdint>
#include <string>

namespace bb {

constexpr int GsmBlockBytes = 65;    // two GSM frames of 33 and 32 bytes
constexpr int GsmBlockSamples = 320; // two frames of 160 samples
constexpr int GsmDataOffset = 60;
// The decoded PCM of one effect fits this many bytes.
constexpr int EffectMaxPcmBytes = 65536;
constexpr int EffectMaxSamples = EffectMaxPcmBytes / 2;

struct EffectWave {
    int32_t Rate;        // samples per second
    const uint8_t* Data; // the GSM blocks
    int32_t BlockCount;  // whole 65-byte blocks at Data
    int32_t SampleCount; // BlockCount * 320, what decoding gives
};

// Reads the layout of one effect file. False, with error saying what is
// wrong, for anything short, truncated, corrupt or not GSM 6.10 mono.
bool read_effect_wave(const uint8_t* bytes, uint32_t size, EffectWave& wave, std::string& error);

} // namespace bb
