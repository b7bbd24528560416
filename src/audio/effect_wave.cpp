#include "audio/effect_wave.h"

#include <cstring>

namespace bb {

namespace {

uint32_t u16(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8;
}

uint32_t u32(const uint8_t* p) {
    return u16(p) | u16(p + 2) << 16;
}

bool tag(const uint8_t* p, const char* name) {
    return std::memcmp(p, name, 4) == 0;
}

} // namespace

bool read_effect_wave(const uint8_t* bytes, uint32_t size, EffectWave& wave, std::string& error) {
    wave = {};
    if (!bytes || size < GsmDataOffset) {
        error = "too short for a WAVE header (" + std::to_string(size) + " bytes)";
        return false;
    }
    if (!tag(bytes, "RIFF") || !tag(bytes + 8, "WAVE")) {
        error = "not a RIFF WAVE file";
        return false;
    }
    // The RIFF size counts everything after its own field.
    const uint32_t riff = u32(bytes + 4);
    if (riff < GsmDataOffset - 8 || riff > size - 8) {
        error = "RIFF size " + std::to_string(riff) + " does not fit the " + std::to_string(size) +
                " bytes given";
        return false;
    }
    if (!tag(bytes + 12, "fmt ") || u32(bytes + 16) != 20) {
        error = "no 20-byte format chunk at offset 12";
        return false;
    }
    const uint8_t* fmt = bytes + 20;
    if (u16(fmt) != 49 || u16(fmt + 2) != 1 || u16(fmt + 12) != GsmBlockBytes ||
        u16(fmt + 16) != 2 || u16(fmt + 18) != GsmBlockSamples) {
        error = "not GSM 6.10 mono in 65-byte blocks of 320 samples";
        return false;
    }
    const uint32_t rate = u32(fmt + 4);
    if (rate < 1000 || rate > 192000) {
        error = "sample rate " + std::to_string(rate) + " out of range";
        return false;
    }
    if (!tag(bytes + 40, "fact") || u32(bytes + 44) != 4) {
        error = "no 4-byte fact chunk at offset 40";
        return false;
    }
    if (!tag(bytes + 52, "data")) {
        error = "no data chunk at offset 52";
        return false;
    }
    const uint32_t data = u32(bytes + 56);
    if (data > riff + 8 - GsmDataOffset) {
        error = "data chunk of " + std::to_string(data) + " bytes runs past the file's end";
        return false;
    }
    if (data == 0 || data % GsmBlockBytes != 0) {
        error = "data of " + std::to_string(data) + " bytes is not whole 65-byte blocks";
        return false;
    }
    const uint32_t blocks = data / GsmBlockBytes;
    if (blocks * GsmBlockSamples > uint32_t(EffectMaxSamples)) {
        error = "decodes to more than " + std::to_string(EffectMaxPcmBytes) + " bytes";
        return false;
    }
    const uint32_t fact = u32(bytes + 48);
    if (fact > blocks * GsmBlockSamples) {
        error = "fact chunk counts " + std::to_string(fact) + " samples, more than the data holds";
        return false;
    }
    wave.Rate = static_cast<int32_t>(rate);
    wave.Data = bytes + GsmDataOffset;
    wave.BlockCount = static_cast<int32_t>(blocks);
    wave.SampleCount = static_cast<int32_t>(blocks * GsmBlockSamples);
    return true;
}

} // namespace bb
