#include "audio/audio_output.h"
#include "audio/effect_wave.h"
#include "audio/mixer.h"
#include "audio/music_control.h"
#include "audio/sound_effects.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

using namespace bb;

namespace {

void put16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    b[at] = uint8_t(v);
    b[at + 1] = uint8_t(v >> 8);
}

void put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    put16(b, at, v & 0xFFFF);
    put16(b, at + 2, v >> 16);
}

// A well-formed effect file of blocks zero-filled GSM blocks and a LIST chunk.
std::vector<uint8_t> gsm_wave(uint32_t blocks, uint32_t rate = 22050) {
    const uint32_t data = blocks * 65;
    std::vector<uint8_t> b(60 + data + (data & 1) + 12, 0);
    std::memcpy(&b[0], "RIFF", 4);
    put32(b, 4, uint32_t(b.size() - 8));
    std::memcpy(&b[8], "WAVEfmt ", 8);
    put32(b, 16, 20);
    put16(b, 20, 49);
    put16(b, 22, 1);
    put32(b, 24, rate);
    put32(b, 28, rate * 65 / 320);
    put16(b, 32, 65);
    put16(b, 36, 2);
    put16(b, 38, 320);
    std::memcpy(&b[40], "fact", 4);
    put32(b, 44, 4);
    put32(b, 48, blocks * 320);
    std::memcpy(&b[52], "data", 4);
    put32(b, 56, data);
    std::memcpy(&b[b.size() - 12], "LIST", 4);
    put32(b, b.size() - 8, 4);
    std::memcpy(&b[b.size() - 4], "INFO", 4);
    return b;
}

TEST(EffectWave, ReadsTheFixedLayout) {
    std::vector<uint8_t> file = gsm_wave(21, 44100);
    EffectWave w;
    std::string error;
    ASSERT_TRUE(read_effect_wave(file.data(), uint32_t(file.size()), w, error)) << error;
    EXPECT_EQ(w.Rate, 44100);
    EXPECT_EQ(w.BlockCount, 21);
    EXPECT_EQ(w.SampleCount, 6720);
    EXPECT_EQ(w.Data, file.data() + 60);
}

TEST(EffectWave, RejectsShortTruncatedAndCorruptFiles) {
    struct Case {
        const char* Name;
        void (*Spoil)(std::vector<uint8_t>&);
        const char* Message;
    };
    const Case cases[] = {
        {"empty", [](std::vector<uint8_t>& b) { b.clear(); }, "too short"},
        {"header cut", [](std::vector<uint8_t>& b) { b.resize(59); }, "too short"},
        {"data cut", [](std::vector<uint8_t>& b) { b.resize(60 + 65); }, "RIFF size"},
        {"not RIFF", [](std::vector<uint8_t>& b) { b[0] = 'X'; }, "not a RIFF"},
        {"RIFF size past end", [](std::vector<uint8_t>& b) { put32(b, 4, 1u << 31); }, "RIFF size"},
        {"PCM", [](std::vector<uint8_t>& b) { put16(b, 20, 1); }, "not GSM"},
        {"stereo", [](std::vector<uint8_t>& b) { put16(b, 22, 2); }, "not GSM"},
        {"block of 64", [](std::vector<uint8_t>& b) { put16(b, 32, 64); }, "not GSM"},
        {"rate 0", [](std::vector<uint8_t>& b) { put32(b, 24, 0); }, "rate"},
        {"no fact", [](std::vector<uint8_t>& b) { b[40] = 'X'; }, "fact"},
        {"data moved", [](std::vector<uint8_t>& b) { b[52] = 'X'; }, "data chunk"},
        {"data past end", [](std::vector<uint8_t>& b) { put32(b, 56, 0xFFFFFFF0u); }, "past"},
        {"half a block", [](std::vector<uint8_t>& b) { put32(b, 56, 65 * 3 - 1); }, "whole"},
        {"no data", [](std::vector<uint8_t>& b) { put32(b, 56, 0); }, "whole"},
        {"fact too big", [](std::vector<uint8_t>& b) { put32(b, 48, 4 * 320 + 1); }, "fact"},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> file = gsm_wave(4);
        c.Spoil(file);
        EffectWave w;
        std::string error;
        EXPECT_FALSE(read_effect_wave(file.data(), uint32_t(file.size()), w, error)) << c.Name;
        EXPECT_NE(error.find(c.Message), std::string::npos) << c.Name << ": " << error;
    }
    // More than 65,536 bytes of PCM.
    std::vector<uint8_t> big = gsm_wave(103);
    EffectWave w;
    std::string error;
    EXPECT_FALSE(read_effect_wave(big.data(), uint32_t(big.size()), w, error));
    big = gsm_wave(102);
    EXPECT_TRUE(read_effect_wave(big.data(), uint32_t(big.size()), w, error)) << error;
}

TEST(EffectLevels, AttenuationInHundredthsOfADecibel) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        float Volume;
        int Attenuation;
    } cases[] = {{1.0f, 0},      {0.1f, -2000},
                 {0.01f, -4000}, {0.5f, -602},
                 {4.0f, 0},      {1e-6f, -10000},
                 {0.0f, -10000}, {-1.0f, -10000},
                 {nan, -10000},  {std::numeric_limits<float>::infinity(), 0}};
    for (const auto& c : cases) EXPECT_EQ(effect_attenuation(c.Volume), c.Attenuation) << c.Volume;
}

TEST(EffectLevels, PlaybackRate) {
    EXPECT_EQ(effect_playback_rate(11025, 0.5f), 5512);
    EXPECT_EQ(effect_playback_rate(11025, 1.0f), 11025);
    EXPECT_EQ(effect_playback_rate(44100, 1.19f), 52479);
    EXPECT_EQ(effect_playback_rate(44100, 0.0f), PlaybackRateMin);
    EXPECT_EQ(effect_playback_rate(44100, -3.0f), PlaybackRateMin);
    EXPECT_EQ(effect_playback_rate(44100, 1e9f), PlaybackRateMax);
    EXPECT_EQ(effect_playback_rate(22050, std::numeric_limits<float>::quiet_NaN()), 22050);
}

// Effects loaded and ready as with a device; the test plays the callback.
class EffectPlay : public ::testing::Test {
  protected:
    void SetUp() override {
        sound_effects_reset();
        for (int e = 0; e < EffectCount; e++) load(e, 1000, 44100);
        SoundEffects.EffectsReady = 1;
    }
    void TearDown() override { sound_effects_reset(); }

    // A steady tone of n samples at amplitude 10000.
    static void load(int effect, int n, int rate) {
        std::vector<int16_t> pcm(size_t(n), 10000);
        ASSERT_TRUE(sound_effect_load(effect, pcm.data(), n, rate));
    }
    // frames of effect voices alone, left channel.
    static std::vector<float> mix(int frames) {
        std::vector<float> out(2 * size_t(frames), 0.0f);
        mix_effect_voices(out.data(), frames);
        std::vector<float> left(static_cast<size_t>(frames));
        for (int k = 0; k < frames; k++) left[size_t(k)] = out[2 * size_t(k)];
        return left;
    }
    static int sounding_frames(const std::vector<float>& left) {
        int n = 0;
        for (float x : left) n += std::fabs(x) > 1.0f;
        return n;
    }
};

TEST_F(EffectPlay, TheHundredAndTwentyFirstOverlappingPlayRestartsSlotZero) {
    for (int i = 0; i < EffectSlotCount; i++) ASSERT_EQ(play_sound_effect(6, 1.0f, 1.0f, 0), i);
    EXPECT_EQ(play_sound_effect(6, 1.0f, 1.0f, 0), 0);
    EXPECT_EQ(SoundEffects.DuplicateCount, EffectSlotCount - 1);
    mix(10);
    EXPECT_EQ(effect_voices_playing(), EffectSlotCount);
    // Once they have all played out, the first slot is free again and no
    // further duplicate is made.
    mix(2000);
    EXPECT_EQ(effect_voices_playing(), 0);
    EXPECT_EQ(play_sound_effect(6, 1.0f, 1.0f, 0), 0);
    EXPECT_EQ(SoundEffects.DuplicateCount, EffectSlotCount - 1);
}

TEST_F(EffectPlay, ASecondFlinchWithTheSameVoiceIdCutsTheFirst) {
    play_sound_effect(5, 1.0f, 0.75f, 2);
    mix(300);
    play_sound_effect(5, 1.0f, 0.75f, 2);
    // What follows is one flinch alone: the rest of the first is not heard
    // on top of it.
    const std::vector<float> after = mix(3000);
    EXPECT_EQ(sounding_frames(after), 1000);
    EXPECT_NEAR(after[100], 7507.0f, 1.0f); // 10000 at -2.49 dB
    EXPECT_EQ(effect_voices_playing(), 0);

    // Without a voice id the two overlap.
    play_sound_effect(5, 1.0f, 0.75f, 0);
    mix(300);
    play_sound_effect(5, 1.0f, 0.75f, 0);
    mix(1);
    EXPECT_EQ(effect_voices_playing(), 2);
}

TEST_F(EffectPlay, PitchAndLevelFollowTheTrigger) {
    load(5, 1102, 11025); // 0.1 s at the flinch's natural rate
    play_sound_effect(5, 0.5f, 1.0f, 0);
    // At 5,512 Hz its 1,102 samples last 1102 * 44100 / 5512 output frames.
    EXPECT_NEAR(sounding_frames(mix(20000)), 1102.0 * 44100 / 5512, 2.0);

    play_sound_effect(6, 1.0f, 0.1f, 0); // -20 dB
    const std::vector<float> quiet = mix(100);
    EXPECT_NEAR(quiet[50], 1000.0f, 1.0f);
    mix(2000);
    play_sound_effect(6, 1.0f, 1.0f, 0);
    EXPECT_NEAR(mix(100)[50], 10000.0f, 1.0f);
}

TEST_F(EffectPlay, SilentTriggersPlayNothing) {
    EXPECT_EQ(play_sound_effect(2, 1.0f, 0.0f, 0), -1);
    EXPECT_EQ(play_sound_effect(2, 1.0f, -0.5f, 0), -1);
    EXPECT_EQ(play_sound_effect(7, 1.0f, 1.0f, 0), -1);
    EXPECT_EQ(play_sound_effect(-1, 1.0f, 1.0f, 0), -1);
    SoundEffects.Effects[3].Rate = 0; // an effect whose file was rejected
    EXPECT_EQ(play_sound_effect(3, 1.0f, 1.0f, 0), -1);
    SoundEffects.EffectsReady = 0; // sound off or no device
    const int64_t before = SoundTriggerCount;
    EXPECT_EQ(play_sound_effect(2, 1.0f, 1.0f, 0), -1);
    EXPECT_EQ(SoundTriggerCount, before + 1); // still recorded
    mix(10);
    EXPECT_EQ(effect_voices_playing(), 0);
}

TEST(RingPosition, TheDevicePositionWrapsAtTheRingsEnd) {
    const struct {
        uint64_t Frames;
        int Block;
    } cases[] = {{0, 0},
                 {883, 0},
                 {884, 1},
                 {88399, 99},
                 {88400, 0},
                 {88400 + 884, 1},
                 {88400 * 3 - 1, 99},
                 {(uint64_t(1) << 40) * 88400 + 5 * 884, 5}};
    for (const auto& c : cases) EXPECT_EQ(ring_block_at(c.Frames * 4), c.Block) << c.Frames;
}

TEST(RingPosition, TheFeederFollowsTheDeviceAcrossTheWrapWithoutAGap) {
    mixer_open(); // no module: the blocks are silent, the arithmetic is the same
    MusicShared.Stop.store(0);
    uint64_t played = 0;
    int mixed = 0;
    // A device that plays 512 frames a call, over two and a half ring cycles.
    for (int call = 0; call < 2 * RingFrames / 512 + 100; call++) {
        played += 512 * 4;
        const int before = Mixer.WritePosition;
        const int n = feeder_catch_up(played);
        // Every block the device has passed is mixed once, in order, and the
        // write position stops at the block it plays.
        EXPECT_EQ(Mixer.WritePosition, ring_block_at(played));
        EXPECT_EQ(n, (ring_block_at(played) - before + RingBlockCount) % RingBlockCount);
        mixed += n;
    }
    EXPECT_EQ(mixed, int(played / 4 / BlockFrames));
}

} // namespace
