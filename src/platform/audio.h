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
// Closes it, also when it was lost; the callback has returned for good
// afterwards.
void platform_close_audio();

// An output device that goes away (a headset unplugged) is closed and the
// game plays on silent: until a default device opens again, the message pump
// plays the frames it would have played, so the music carries on where it
// would be. A device that appears, or a try every AudioRetryMs, reopens one.
// Called by the message pump for SDL's audio device events.
void platform_audio_device_event(bool added, uint32_t which, bool capture);
// Called by the message pump after the events: keeps time for a lost device.
void platform_audio_keep_time();
// The open device's id; 0 while there is none (lost or never opened).
uint32_t platform_audio_device();
// Milliseconds between tries to open a device while none is; 1000.
extern uint32_t AudioRetryMs;

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
