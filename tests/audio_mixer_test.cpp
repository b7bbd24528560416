#include "audio/mixer.h"
#include "audio/module_loader.h"
#include "audio/player.h"
#include "xm_fixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using namespace bb;
using namespace bb::fixtures;

namespace {

// A sample over caller-owned data: length values, then guard and padding.
struct OwnedSample {
    std::vector<int16_t> Data;
    Sample S = {};
    OwnedSample(std::vector<int16_t> values, uint8_t mode, uint32_t loop_start,
                uint32_t loop_length, int16_t beyond = 0) {
        const uint32_t length = static_cast<uint32_t>(values.size());
        Data = values;
        Data.resize(length + 8, beyond);
        S.Data = Data.data();
        S.Length = length;
        S.LoopMode = mode;
        S.LoopStart = mode == LoopNone ? 0 : loop_start;
        S.LoopLength = mode == LoopNone ? length : loop_length;
        S.Bits = 16;
    }
};

MixerVoice& start_voice(const Sample& s, double step, int left, int right) {
    mixer_open();
    MixerVoice& v = MixerVoices[0];
    v.Sample = &s;
    const uint64_t fixed = static_cast<uint64_t>(step * 4294967296.0);
    v.StepInteger = static_cast<uint32_t>(fixed >> 32);
    v.StepFraction = static_cast<uint32_t>(fixed);
    v.Left = left;
    v.Right = right;
    return v;
}

} // namespace

TEST(Mixer, GainChangeRampsLinearlyOver128Frames) {
    OwnedSample s(std::vector<int16_t>(16, 10000), LoopForward, 0, 16);
    start_voice(s.S, 1.0, 127, 0);
    std::vector<float> out(2 * 300, 0.0f);
    mix_voices(out.data(), 300);
    for (int k = 0; k < 128; k++)
        EXPECT_NEAR(out[2 * k], 10000.0f * k * 127.0f / 255.0f / 128.0f, 0.05f) << k;
    for (int k = 128; k < 300; k++) EXPECT_FLOAT_EQ(out[2 * k], 10000.0f * 127.0f / 255.0f) << k;
    for (int k = 0; k < 300; k++) EXPECT_EQ(out[2 * k + 1], 0.0f);
    EXPECT_EQ(MixerVoices[0].RampLeft, 127 * 256);
    EXPECT_EQ(MixerVoices[0].RampCount, 0);

    // Mixed in pieces, the ramp is the same.
    start_voice(s.S, 1.0, 127, 0);
    std::vector<float> pieces(2 * 300, 0.0f);
    for (int at = 0; at < 300; at += 37) mix_voices(pieces.data() + 2 * at, std::min(37, 300 - at));
    // Each piece restarts from the stored 8.8 gain: within one step of it.
    for (int k = 0; k < 300; k++) EXPECT_NEAR(pieces[2 * k], out[2 * k], 0.25f) << k;
}

TEST(Mixer, ForwardLoopNeverReadsPastItsGuard) {
    // Loop 100..149; everything after the guard is a value the output must never show.
    std::vector<int16_t> values(200, 0);
    for (int i = 0; i < 150; i++) values[i] = static_cast<int16_t>(i);
    for (int i = 151; i < 200; i++) values[i] = 30000;
    values[150] = 100; // the loader's guard: data[loop start]
    OwnedSample s(values, LoopForward, 100, 50, 30000);
    for (double step : {0.37, 1.0, 2.71, 49.9, 123.4}) {
        MixerVoice& v = start_voice(s.S, step, 255, 255);
        std::vector<float> out(2 * 5000, 0.0f);
        for (int at = 0; at < 5000; at += 250) {
            mix_voices(out.data() + 2 * at, 250);
            EXPECT_LT(v.Position, 150u) << step;
        }
        for (int k = 0; k < 5000; k++) ASSERT_LE(out[2 * k], 150.0f) << step << " frame " << k;
    }
}

TEST(Mixer, PingPongStaysInsideItsLoop) {
    std::vector<int16_t> values(40, 1000);
    OwnedSample s(values, LoopPingPong, 10, 20);
    for (double step : {0.5, 3.3, 19.9, 47.0}) {
        MixerVoice& v = start_voice(s.S, step, 100, 100);
        int reversals = 0, last_direction = 1;
        bool entered = false;
        for (int block = 0; block < 400; block++) {
            float out[2 * 7] = {};
            mix_voices(out, 7);
            ASSERT_NE(v.Sample, nullptr);
            if (v.Position >= 10) entered = true;
            if (entered) {
                ASSERT_GE(v.Position, 10u) << step;
                ASSERT_LT(v.Position, 30u) << step;
            }
            if (v.Direction != last_direction) reversals++;
            last_direction = v.Direction;
        }
        if (step < 10) {
            EXPECT_GT(reversals, 4) << step;
        }
    }
}

TEST(Mixer, UnloopedSampleStopsAtItsEnd) {
    OwnedSample s(std::vector<int16_t>(100, 500), LoopNone, 0, 0);
    MixerVoice& v = start_voice(s.S, 1.5, 255, 255);
    std::vector<float> out(2 * 200, 0.0f);
    mix_voices(out.data(), 200);
    EXPECT_EQ(v.Sample, nullptr);
    for (int k = 67; k < 200; k++) EXPECT_EQ(out[2 * k], 0.0f) << k; // ceil(100 / 1.5) frames
    EXPECT_GT(out[2 * 66], 0.0f);
}

TEST(Mixer, ConvertRoundsToNearestEvenAndClamps) {
    const float in[] = {40000.0f,
                        -40000.0f,
                        0.5f,
                        1.5f,
                        2.5f,
                        -0.5f,
                        -1.5f,
                        32767.4f,
                        -32768.6f,
                        1e30f,
                        std::numeric_limits<float>::quiet_NaN(),
                        7.49f};
    const int16_t want[] = {32767, -32768, 0, 2, 2, 0, -2, 32767, -32768, 32767, -32768, 7};
    int16_t out[12];
    convert_block(out, in, 6);
    for (int i = 0; i < 12; i++) EXPECT_EQ(out[i], want[i]) << in[i];
}

TEST(Mixer, ATickInsideABlockSplitsIt) {
    // One channel at speed 1: a tick per row, 689 frames apart. Row 1 silences the note.
    xm::Song song = small_song(1, 2);
    song.Speed = 1;
    song.Instruments[0].Samples[0] =
        sample_of(std::vector<int16_t>(64, 16000), xm::ForwardLoop, 0, 64);
    song.Patterns[0].Cells = {{49, 1, 0x50}, {0, 0, 0x10}};
    const std::vector<uint8_t> bytes = xm::write_xm(song);
    Module* m = load_module_from_memory(bytes.data(), static_cast<uint32_t>(bytes.size()));
    ASSERT_NE(m, nullptr);
    mixer_open();
    player_start(*m, 0);
    Mixer.CurrentModule = m;
    mix_block();
    EXPECT_EQ(m->SamplesLeft, 2 * 689 - BlockFrames);
    const float* f = MixBuffer;
    const float steady = f[2 * 200];
    EXPECT_GT(steady, 0.0f);
    for (int k = 128; k < 689; k++) ASSERT_EQ(f[2 * k], steady) << k;
    EXPECT_NEAR(f[2 * 689], steady, 0.01f); // the ramp down starts from the old gain
    for (int k = 690; k < 689 + 128; k++) ASSERT_LT(f[2 * k], f[2 * (k - 1)]) << k;
    for (int k = 689 + 128; k < BlockFrames; k++) ASSERT_EQ(f[2 * k], 0.0f) << k;
    EXPECT_EQ(MixRing[2 * 200], static_cast<int16_t>(std::lround(steady)));
    EXPECT_EQ(Mixer.WritePosition, 1);
    free_module(m);
}
