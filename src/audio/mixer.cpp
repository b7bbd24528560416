// Positions are 32.32 fixed point, kept in one 64-bit number while mixing:
// the integer part indexes the sample, the fraction interpolates linearly
// between it and the next value. The loader's guard value after a loop and
// the zero padding after the data make that next value valid at every end.
//
// No per-frame branches: the frames until the loop or sample end and until
// the end of a ramp are counted up front, and loops and ramps are handled
// between segments.
#include "audio/mixer.h"

#include "audio/player.h"

#include <cstring>

namespace bb {

MixerVoice MixerVoices[VoiceCount];
MixerState Mixer = {};
alignas(16) int16_t MixRing[RingFrames * 2];
alignas(16) float MixBuffer[RingFrames * 2];

namespace {

void stop_voice(MixerVoice& v) {
    v.Sample = nullptr;
    v.Position = 0;
    v.Fraction = 0;
}

// Frames from pos until the voice passes its end: forward, the first frame at
// or past the loop end; backward, the first frame before the loop start.
uint64_t frames_to_end(const MixerVoice& v, uint64_t pos, uint64_t step, uint64_t loop_end) {
    if (v.Direction == 2) {
        uint64_t start = uint64_t(v.Sample->LoopStart) << 32;
        return pos < start ? 0 : (pos - start) / step + 1;
    }
    if (pos >= loop_end) return 0;
    uint64_t d = loop_end - pos;
    return d / step + (d % step != 0);
}

// Mixes n frames at constant or (Ramp) linearly changing gains. delta is the
// step, negated when moving backward; unsigned wrap-around makes the add a
// subtraction. Returns the position after the frames.
template <bool Ramp>
uint64_t mix_frames(const int16_t* data, uint64_t pos, uint64_t delta, float* out, uint32_t n,
                    float gl, float gr, float dl, float dr) {
    const float FractionScale = 1.0f / 2147483648.0f;
    float* const end = out + 2 * size_t(n);
    for (; out != end; out += 2) {
        const int16_t* p = data + (pos >> 32);
        const float a = p[0];
        const float b = p[1];
        const float f = static_cast<float>(static_cast<int32_t>(static_cast<uint32_t>(pos) >> 1)) *
                        FractionScale;
        const float s = a + f * (b - a);
        out[0] += s * gl;
        out[1] += s * gr;
        if (Ramp) {
            gl += dl;
            gr += dr;
        }
        pos += delta;
    }
    return pos;
}

// Brings a position that went past an end back into the loop, or stops the
// voice. Returns false when the voice stopped.
bool wrap(MixerVoice& v, uint64_t& pos) {
    const Sample& s = *v.Sample;
    uint64_t start = uint64_t(s.LoopStart) << 32;
    uint64_t end = uint64_t(s.LoopStart + s.LoopLength) << 32;
    const uint64_t length = uint64_t(s.LoopLength) << 32;
    if (s.LoopMode == LoopForward && length > 0) {
        if (pos >= end) pos = start + (pos - start) % length;
        return true;
    }
    if (s.LoopMode == LoopPingPong && length > 0) {
        // Mirror at the end moving forward, at the start moving backward. A
        // step longer than the loop needs more than one mirror; positions and
        // steps are small enough (the loader caps lengths, the player
        // frequencies) for signed 64-bit arithmetic.
        int64_t p = static_cast<int64_t>(pos);
        const int64_t a = static_cast<int64_t>(start), b = static_cast<int64_t>(end);
        for (;;) {
            if (v.Direction == 1 && p >= b) {
                p = 2 * b - p - 1;
                v.Direction = 2;
            } else if (v.Direction == 2 && p < a) {
                p = 2 * a - p - 1;
                v.Direction = 1;
            } else {
                break;
            }
        }
        pos = static_cast<uint64_t>(p);
        return true;
    }
    if (pos >= end) {
        stop_voice(v);
        return false;
    }
    return true;
}

void mix_voice(MixerVoice& v, float* out, int count) {
    const Sample& s = *v.Sample;
    if (!s.Data || s.Length == 0) {
        stop_voice(v);
        return;
    }
    if (s.LoopMode != LoopPingPong) v.Direction = 1;
    uint64_t pos = uint64_t(v.Position) << 32 | v.Fraction;
    const uint64_t step = uint64_t(v.StepInteger) << 32 | v.StepFraction;
    const uint64_t loop_end = uint64_t(s.LoopStart + s.LoopLength) << 32;
    uint32_t left = static_cast<uint32_t>(count);
    while (left > 0) {
        uint32_t n = left;
        bool end_reached = false;
        if (step > 0) {
            uint64_t to_end = frames_to_end(v, pos, step, loop_end);
            if (to_end <= n) {
                n = static_cast<uint32_t>(to_end);
                end_reached = true;
            }
        }

        // A new target starts a ramp from the current gain.
        if (!(v.RampCount > 0 && v.Left == v.LastLeft && v.Right == v.LastRight)) {
            v.LastLeft = v.Left;
            v.LastRight = v.Right;
            v.RampStepLeft = 0;
            v.RampStepRight = 0;
            v.RampCount = 0;
            const float per_frame = (1.0f / 255.0f) * (1.0f / RampLength);
            if (v.Left != v.RampLeft / 256) {
                v.RampStepLeft = static_cast<float>(v.Left - v.RampLeft / 256) * per_frame;
                v.RampCount = RampLength;
            }
            if (v.Right != v.RampRight / 256) {
                v.RampStepRight = static_cast<float>(v.Right - v.RampRight / 256) * per_frame;
                v.RampCount = RampLength;
            }
        }
        if (v.RampCount > 0 && static_cast<uint32_t>(v.RampCount) < n) {
            n = static_cast<uint32_t>(v.RampCount);
            end_reached = false;
        }

        const bool backward = v.Direction == 2;
        const uint64_t delta = backward ? uint64_t(0) - step : step;
        if (v.RampCount > 0) {
            float gl = static_cast<float>(v.RampLeft) * (1.0f / 256.0f / 255.0f);
            float gr = static_cast<float>(v.RampRight) * (1.0f / 256.0f / 255.0f);
            pos = mix_frames<true>(s.Data, pos, delta, out, n, gl, gr, v.RampStepLeft,
                                   v.RampStepRight);
            gl += static_cast<float>(n) * v.RampStepLeft;
            gr += static_cast<float>(n) * v.RampStepRight;
            v.RampLeft = static_cast<int32_t>(gl * 255.0f * 256.0f + 0.5f);
            v.RampRight = static_cast<int32_t>(gr * 255.0f * 256.0f + 0.5f);
            v.RampCount -= static_cast<int32_t>(n);
            if (v.RampCount == 0) {
                v.RampStepLeft = 0;
                v.RampStepRight = 0;
                v.RampLeft = v.Left * 256;
                v.RampRight = v.Right * 256;
            }
        } else if (v.Left != 0 || v.Right != 0) {
            pos = mix_frames<false>(s.Data, pos, delta, out, n, v.Left / 255.0f, v.Right / 255.0f,
                                    0, 0);
        } else {
            pos += uint64_t(n) * delta;
        }
        out += 2 * n;
        left -= n;

        if (end_reached && !wrap(v, pos)) return;
    }
    v.Position = static_cast<uint32_t>(pos >> 32);
    v.Fraction = static_cast<uint32_t>(pos);
}

} // namespace

void mixer_open() {
    for (int i = 0; i < VoiceCount; i++) {
        MixerVoices[i] = {};
        MixerVoices[i].Index = i;
        MixerVoices[i].Direction = 1;
    }
    Mixer = {};
    std::memset(MixRing, 0, sizeof MixRing);
}

void mix_voices(float* frames, int count) {
    if (count <= 0) return;
    for (MixerVoice& v : MixerVoices)
        if (v.Sample) mix_voice(v, frames, count);
}

void convert_block(int16_t* destination, const float* source, int frame_count) {
    // Adding and taking away 1.5 * 2^23 rounds to the nearest integer, ties
    // to even, for any value that fits 16 bits.
    const float Round = 12582912.0f;
    for (int i = 0; i < 2 * frame_count; i++) {
        float v = source[i];
        if (!(v > -32768.0f)) v = -32768.0f; // NaN included
        if (v > 32767.0f) v = 32767.0f;
        destination[i] = static_cast<int16_t>((v + Round) - Round);
    }
}

void mix_block() {
    float* block = MixBuffer + size_t(Mixer.WritePosition) * BlockFrames * 2;
    std::memset(block, 0, sizeof(float) * BlockFrames * 2);
    Module* m = Mixer.CurrentModule;
    if (!m) {
        mix_voices(block, BlockFrames);
    } else {
        int done = 0;
        int samples_left = m->SamplesLeft;
        while (done < BlockFrames) {
            if (samples_left <= 0) {
                player_tick(*m);
                samples_left = m->SamplesPerTick;
            }
            int n = samples_left < BlockFrames - done ? samples_left : BlockFrames - done;
            mix_voices(block + 2 * done, n);
            samples_left -= n;
            done += n;
        }
        m->SamplesLeft = samples_left;
    }
    convert_block(MixRing + size_t(Mixer.WritePosition) * BlockFrames * 2, block, BlockFrames);
    Mixer.WritePosition = (Mixer.WritePosition + 1) % RingBlockCount;
}

void mixer_forget_module(const Module& module) {
    for (MixerVoice& v : MixerVoices) {
        if (!v.Sample || v.Sample == &EmptySample) continue;
        for (int i = 0; i < module.InstrumentCount; i++)
            for (const Sample* s : module.Instruments[i].Samples)
                if (v.Sample == s) stop_voice(v);
    }
    if (Mixer.CurrentModule == &module) Mixer.CurrentModule = nullptr;
}

} // namespace bb
