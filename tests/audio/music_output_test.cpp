// The music chain and the effects with real threads: the feeder, and a fake
// device calling the callback as SDL's audio thread would. Built with
// ThreadSanitizer by `make tsan`.
#include "app/settings.h"
#include "assets/song.h"
#include "audio/audio_output.h"
#include "audio/mixer.h"
#include "audio/module_loader.h"
#include "audio/music_control.h"
#include "audio/player.h"
#include "audio/sound_effects.h"
#include "platform/audio.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

using namespace bb;

namespace {

int thread_count() {
    int n = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator("/proc/self/task"))
        n++;
    return n;
}

// Calls the callback for 512 frames every millisecond or so, and keeps the
// loudest sample it heard.
struct FakeDevice {
    std::thread Thread;
    std::atomic<bool> Running{false};
    std::atomic<int> Peak{0};
    std::atomic<uint64_t> Calls{0};

    void start() {
        Running = true;
        Thread = std::thread([this] {
            std::vector<int16_t> buffer(2 * 512);
            while (Running) {
                audio_output_fill(buffer.data(), 512);
                for (int16_t x : buffer) Peak = std::max(Peak.load(), std::abs(int(x)));
                Calls++;
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        });
    }
    void stop() {
        Running = false;
        if (Thread.joinable()) Thread.join();
    }
};

class MusicOutput : public ::testing::Test {
  protected:
    void SetUp() override {
        SoundOn = 1;
        MusicStartPosition = 3;
        sound_effects_reset();
        AudioOutput.DeviceOpen = 1;
    }
    void TearDown() override {
        music_stop();
        Device.stop();
        AudioOutput.DeviceOpen = 0;
        sound_effects_reset();
        MusicStartPosition = 3;
    }
    FakeDevice Device;
};

TEST_F(MusicOutput, TheFirstFramesAfterRestartNineAreRowZeroOfPatternEight) {
    // What the player makes from song position 9, mixed offline.
    Module* m = load_module_from_memory(SongData, SongSize);
    ASSERT_NE(m, nullptr);
    ASSERT_EQ(m->OrderTable[9], 8);
    mixer_open();
    player_start(*m, 9);
    Mixer.CurrentModule = m;
    for (int b = 0; b < 3; b++) mix_block();
    std::vector<int16_t> expected(MixRing, MixRing + 2 * 3 * BlockFrames);
    free_module(m);

    ASSERT_TRUE(music_start());
    std::vector<int16_t> out(2 * 3 * BlockFrames);
    audio_output_fill(out.data(), 1000); // the menu music is playing
    music_restart(9);
    audio_output_fill(out.data(), 3 * BlockFrames);
    // The menu music fades out over the first frames; after them the output
    // is the new position's music from its first frame, not 2 s later.
    int loud = 0;
    for (size_t k = 2 * FadeFrames; k < out.size(); k++) {
        ASSERT_EQ(out[k], expected[k]) << "frame " << k / 2;
        loud += std::abs(out[k]) > 1000;
    }
    EXPECT_GT(loud, 100);
}

TEST_F(MusicOutput, TwoRestartsInARowLeaveExactlyOneFeederThread) {
    const int base = thread_count();
    ASSERT_TRUE(music_start());
    EXPECT_EQ(thread_count(), base + 1);
    music_restart(6);
    music_restart(9);
    EXPECT_EQ(thread_count(), base + 1);
    EXPECT_TRUE(music_running());
    music_stop();
    EXPECT_EQ(thread_count(), base);
    EXPECT_FALSE(music_running());
}

TEST_F(MusicOutput, NoDeviceOrSoundOffStartsNothing) {
    const int base = thread_count();
    AudioOutput.DeviceOpen = 0;
    EXPECT_FALSE(music_start());
    // A cue before the music runs is kept for its start.
    music_restart(6);
    EXPECT_EQ(MusicStartPosition, 6);
    EXPECT_FALSE(init_sound_effects());
    AudioOutput.DeviceOpen = 1;
    SoundOn = 0;
    EXPECT_FALSE(music_start());
    EXPECT_FALSE(init_sound_effects());
    EXPECT_EQ(play_sound_effect(2, 1.0f, 1.0f, 0), -1);
    EXPECT_EQ(thread_count(), base);
    EXPECT_FALSE(music_running());
}

TEST_F(MusicOutput, RestartsUnderTriggersWithTheDeviceRunning) {
    const int base = thread_count();
    Device.start();
    ASSERT_TRUE(init_sound_effects());
    ASSERT_TRUE(music_start());
    const int cues[] = {6, 9, 3, 6};
    for (int round = 0; round < 40; round++) {
        play_sound_effect(round % 7, 0.8f + 0.01f * round, 0.5f, round % 3);
        play_sound_effect(5, 1.0f, 0.75f, 2);
        if (round % 10 == 9) music_restart(cues[round / 10]);
        std::this_thread::sleep_for(std::chrono::milliseconds(3));
    }
    music_stop();
    const uint64_t calls = Device.Calls;
    while (Device.Calls < calls + 3) std::this_thread::yield();
    Device.stop();
    EXPECT_GT(Device.Peak.load(), 2000);
    EXPECT_EQ(thread_count(), base);
    // The ring is no longer played: once the effects have rung out, silence.
    std::vector<int16_t> out(2 * 4096);
    for (int k = 0; k < 20 && effect_voices_playing() > 0; k++) audio_output_fill(out.data(), 4096);
    ASSERT_EQ(effect_voices_playing(), 0);
    audio_output_fill(out.data(), 4096);
    for (int16_t x : out) ASSERT_EQ(x, 0);
}

} // namespace
