// The sound device and the effects' decoding: the platform's side of audio.
#pragma once

#include "audio/effect_wave.h"

#include <cstdint>
#include <string>

namespace bb {

// Opens the one output device (44,100 Hz, stereo, signed 16-bit, callback
// buffers of 512 frames) whose callback plays audio_output_fill. False, with
// the cause in error, when there is no device; the game then plays silent.
bool platform_open_audio(std::string& error);
// Closes it; the callback has returned for good afterwards.
void platform_close_audio();

// Decodes a checked effect file's GSM blocks into wave.SampleCount samples.
// False when libgsm rejects a frame.
bool decode_effect_wave(const EffectWave& wave, int16_t* samples);

// Reads, decodes and loads one effect; on failure error says why and the
// effect stays silent.
bool load_effect_file(int effect, const uint8_t* bytes, uint32_t size, std::string& error);

// Loads the seven embedded effects and makes triggers play them. Does
// nothing and returns false with sound off or no open device. An effect
// that fails is reported on stderr and stays silent.
bool init_sound_effects();

} // namespace bb
