#include "audio/audio_output.h"

#include "audio/mixer.h"
#include "audio/sound_effects.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <thread>

namespace bb {

AudioOutputShared AudioOutput;

namespace {

constexpr int ChunkFrames = 1024;

// The callback's own state.
struct CallbackState {
    uint32_t Generation; // of the ring it last played
    int32_t WasLive;
    int16_t Tail[FadeFrames * 2]; // the frames after the last ones played
    int16_t Fade[FadeFrames * 2]; // the tail of a ring that stopped
    int32_t FadeLeft;             // frames of Fade still to play; 0 = none
};

CallbackState Callback = {};

// Copies frames of the ring from the play position into out.
void read_ring(int32_t* out, int frames) {
    const uint64_t played = AudioOutput.PlayedBytes.load(std::memory_order_relaxed);
    uint32_t at = uint32_t((played / 4) % RingFrames);
    for (int k = 0; k < frames; k++) {
        out[2 * k] = MixRing[2 * at];
        out[2 * k + 1] = MixRing[2 * at + 1];
        if (++at == uint32_t(RingFrames)) at = 0;
    }
    for (int k = 0; k < FadeFrames; k++) {
        Callback.Tail[2 * k] = MixRing[2 * at];
        Callback.Tail[2 * k + 1] = MixRing[2 * at + 1];
        if (++at == uint32_t(RingFrames)) at = 0;
    }
    AudioOutput.PlayedBytes.store(played + uint64_t(frames) * 4, std::memory_order_release);
}

void start_fade() {
    std::memcpy(Callback.Fade, Callback.Tail, sizeof Callback.Fade);
    Callback.FadeLeft = FadeFrames;
}

void add_fade(int32_t* out, int frames) {
    for (int k = 0; k < frames && Callback.FadeLeft > 0; k++, Callback.FadeLeft--) {
        const int t = FadeFrames - Callback.FadeLeft;
        out[2 * k] += Callback.Fade[2 * t] * Callback.FadeLeft / FadeFrames;
        out[2 * k + 1] += Callback.Fade[2 * t + 1] * Callback.FadeLeft / FadeFrames;
    }
}

void fill_chunk(int16_t* out, int frames) {
    int32_t music[ChunkFrames * 2];
    float effects[ChunkFrames * 2];
    std::memset(music, 0, sizeof(int32_t) * 2 * size_t(frames));
    std::memset(effects, 0, sizeof(float) * 2 * size_t(frames));

    AudioOutput.CallbackInRing.store(1, std::memory_order_seq_cst);
    const int32_t live = AudioOutput.RingLive.load(std::memory_order_seq_cst);
    if (live) {
        const uint32_t generation = AudioOutput.RingGeneration.load(std::memory_order_acquire);
        if (generation != Callback.Generation) {
            if (Callback.WasLive) start_fade();
            Callback.Generation = generation;
        }
        AudioOutput.MixedBlocks.load(std::memory_order_acquire);
        add_fade(music, frames);
        int32_t ring[ChunkFrames * 2];
        read_ring(ring, frames);
        for (int k = 0; k < 2 * frames; k++) music[k] += ring[k];
    }
    AudioOutput.CallbackInRing.store(0, std::memory_order_release);
    if (!live) {
        if (Callback.WasLive) start_fade();
        add_fade(music, frames);
    }
    Callback.WasLive = live;

    mix_effect_voices(effects, frames);
    for (int k = 0; k < 2 * frames; k++) {
        const int32_t x = music[k] + static_cast<int32_t>(std::lrintf(effects[k]));
        out[k] = static_cast<int16_t>(std::clamp(x, -32768, 32767));
    }
    AudioOutput.FramesOut.fetch_add(uint64_t(frames), std::memory_order_relaxed);
}

} // namespace

void audio_output_fill(int16_t* out, int frames) {
    while (frames > 0) {
        const int n = std::min(frames, ChunkFrames);
        fill_chunk(out, n);
        out += 2 * n;
        frames -= n;
    }
}

void audio_output_release_ring() {
    AudioOutput.RingLive.store(0, std::memory_order_seq_cst);
    while (AudioOutput.CallbackInRing.load(std::memory_order_seq_cst)) std::this_thread::yield();
}

void audio_output_play_ring() {
    AudioOutput.PlayedBytes.store(0, std::memory_order_relaxed);
    AudioOutput.RingGeneration.fetch_add(1, std::memory_order_relaxed);
    AudioOutput.RingLive.store(1, std::memory_order_seq_cst);
}

int ring_block_at(uint64_t played_bytes) {
    return static_cast<int>((played_bytes / 4) % RingFrames / BlockFrames);
}

} // namespace bb
