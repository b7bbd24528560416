// The software mixer: 64 voices of 16-bit samples with linear interpolation,
// forward and ping-pong loops and a short volume ramp on every gain change,
// rendered into float blocks and converted to 16-bit stereo at 44,100 Hz.
#pragma once

#include "audio/module.h"

#include <cstdint>

namespace bb {

constexpr int OutputRate = 44100;
// Frames per block: about 20 ms, a multiple of 4.
constexpr int BlockFrames = (OutputRate * 20 / 1000 + 3) & ~3;
// Frames over which a gain change is spread.
constexpr int RampLength = OutputRate * 128 / 44100;
constexpr int RingBlockCount = 100;
constexpr int RingFrames = RingBlockCount * BlockFrames;

struct MixerVoice {
    int32_t Index;                     // 0-63, kept when the voices are cleared
    int32_t Volume;                    // 0-127, set by the player
    int32_t Frequency;                 // Hz, set by the player
    int32_t Pan;                       // 0-255; 255 is wholly left
    uint32_t StartOffset;              // sample position for the next trigger
    const bb::Sample* Sample;          // null = idle
    int32_t Left, Right;               // target gains 0-127
    uint32_t Position;                 // integer sample position
    uint32_t Fraction;                 // 2^-32 units
    uint32_t StepInteger;              // samples per output frame, integer part
    uint32_t StepFraction;             // and fraction in 2^-32 units
    int32_t Direction;                 // 1 forward, 2 backward (ping-pong)
    int32_t LastLeft, LastRight;       // the targets the current ramp was started for
    int32_t RampLeft, RampRight;       // current gains, 8.8 fixed point
    float RampStepLeft, RampStepRight; // gain change per frame during a ramp, in gain / 255
    int32_t RampCount;                 // frames left in the current ramp; 0 = none
};

extern MixerVoice MixerVoices[VoiceCount];

struct MixerState {
    Module* CurrentModule; // whose player mix_block drives; null mixes the voices alone
    int32_t WritePosition; // next ring block to render, 0 .. RingBlockCount - 1
};

extern MixerState Mixer;
// The output ring: RingFrames stereo frames, left first.
extern int16_t MixRing[RingFrames * 2];
// The float mix buffer; block b uses frames b * BlockFrames onwards.
extern float MixBuffer[RingFrames * 2];

// Clears every voice (keeping its index), the ring and the write position;
// no module is current.
void mixer_open();

// Renders the next ring block: ticks the current module's player whenever a
// tick's frames are used up, so ticks fall at exact frame positions.
void mix_block();

// Adds count frames of every active voice to frames (stereo floats).
void mix_voices(float* frames, int count);

// Float stereo to 16-bit: rounded to nearest (ties to even), clamped.
void convert_block(int16_t* destination, const float* source, int frame_count);

// Stops every voice that plays one of the module's samples; if it is the
// current module, no module is current afterwards.
void mixer_forget_module(const Module& module);

} // namespace bb
