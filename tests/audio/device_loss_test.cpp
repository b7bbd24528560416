// The sound device going away mid-game (a headset unplugged), on SDL's dummy
// driver: the removal arrives through the game's own message pump, the game
// plays on silent with the music keeping its time, and a device comes back.
#include "app/settings.h"
#include "audio/audio_output.h"
#include "audio/mixer.h"
#include "audio/music_control.h"
#include "audio/sound_effects.h"
#include "platform/audio.h"
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

using namespace bb;

namespace {

uint64_t played_frames() {
    return AudioOutput.PlayedBytes.load() / 4;
}

void push_device_event(uint32_t type, uint32_t which, uint8_t capture = 0) {
    SDL_Event e = {};
    e.type = type;
    e.adevice.which = which;
    e.adevice.iscapture = capture;
    ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
}

// Polls until done() or a generous deadline (the machine may be busy).
template <typename F> bool pump_until(F done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        platform_pump_messages();
    }
    return true;
}

// Frames in ms milliseconds, with a millisecond either way for the clocks'
// rounding.
int64_t frames_in(int64_t ms) {
    return ms * OutputRate / 1000;
}

class DeviceLoss : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        SoundOn = 1;
        MusicStartPosition = 3;
        sound_effects_reset();
        AudioRetryMs = 60000; // only the events reopen, unless a test says otherwise
        std::string error;
        ASSERT_TRUE(platform_open_audio(error)) << error;
        ASSERT_TRUE(init_sound_effects());
        ASSERT_TRUE(music_start());
        ASSERT_NE(platform_audio_device(), 0u);
        ASSERT_TRUE(pump_until([] { return played_frames() > 0; })) << "the dummy device plays";
    }
    void TearDown() override {
        music_stop();
        platform_close_audio();
        sound_effects_reset();
        AudioRetryMs = 1000;
        MusicStartPosition = 3;
    }
};

TEST_F(DeviceLoss, PlaysOnSilentKeepingTimeThenReopensWhereTheMusicWouldBe) {
    const uint32_t device = platform_audio_device();
    // Other devices going, or a microphone with our number, are no concern.
    push_device_event(SDL_AUDIODEVICEREMOVED, device + 1);
    push_device_event(SDL_AUDIODEVICEREMOVED, device, 1);
    platform_pump_messages();
    ASSERT_EQ(platform_audio_device(), device);

    testing::internal::CaptureStderr();
    push_device_event(SDL_AUDIODEVICEREMOVED, device);
    const uint64_t t0 = SDL_GetTicks64();
    platform_pump_messages();
    const uint64_t t0_after = SDL_GetTicks64();
    EXPECT_EQ(platform_audio_device(), 0u);
    EXPECT_EQ(AudioOutput.DeviceOpen.load(), 1);
    const uint64_t p0 = played_frames();
    const uint64_t mixed0 = AudioOutput.MixedBlocks.load();

    // An effect heard while lost plays on (and out) with the rest. One pump
    // plays at most a quarter second, shorter than its 12,800 frames.
    ASSERT_GE(play_sound_effect(3, 1.0f, 1.0f, 0), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    platform_pump_messages();
    EXPECT_EQ(effect_voices_playing(), 1);

    while (SDL_GetTicks64() - t0 < 600) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        platform_pump_messages();
    }
    // A few more passes make up for any stall of this thread.
    const uint64_t t1 = SDL_GetTicks64();
    for (int k = 0; k < 80; k++) platform_pump_messages();
    const uint64_t t2 = SDL_GetTicks64();
    const uint64_t p1 = played_frames();
    EXPECT_EQ(platform_audio_device(), 0u);
    // The frames of the time gone by, as if heard.
    EXPECT_GE(int64_t(p1 - p0), frames_in(int64_t(t1 - t0_after) - 1));
    EXPECT_LE(int64_t(p1 - p0), frames_in(int64_t(t2 - t0) + 1));
    EXPECT_EQ(effect_voices_playing(), 0);
    // The feeder mixes on behind the advancing position.
    EXPECT_EQ(MusicShared.Done.load(), 0);
    const uint64_t blocks = (p1 - p0) / BlockFrames;
    EXPECT_TRUE(pump_until([&] { return AudioOutput.MixedBlocks.load() + 2 >= mixed0 + blocks; }))
        << AudioOutput.MixedBlocks.load() - mixed0 << " blocks mixed for " << blocks;

    // A device appears: the callback carries on from where the pump got to.
    push_device_event(SDL_AUDIODEVICEADDED, 0);
    platform_pump_messages();
    EXPECT_NE(platform_audio_device(), 0u);
    const uint64_t p2 = played_frames();
    EXPECT_GE(p2, p1);
    EXPECT_TRUE(pump_until([&] { return played_frames() > p2 + uint64_t(frames_in(100)); }));
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("the sound device is gone"), std::string::npos) << said;
    EXPECT_NE(said.find("sound is back"), std::string::npos) << said;

    music_stop();
    EXPECT_FALSE(music_running());
    EXPECT_EQ(MusicShared.Done.load(), 1);
}

TEST_F(DeviceLoss, AStalledLoopCatchesUpBeforeTheDeviceReopens) {
    testing::internal::CaptureStderr();
    push_device_event(SDL_AUDIODEVICEREMOVED, platform_audio_device());
    platform_pump_messages();
    ASSERT_EQ(platform_audio_device(), 0u);
    const uint64_t p0 = played_frames();
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    // A device is back after the stall, but the position is owed 0.8 s: a
    // quarter second per pass, and only then the device.
    push_device_event(SDL_AUDIODEVICEADDED, 0);
    platform_pump_messages();
    EXPECT_EQ(platform_audio_device(), 0u);
    EXPECT_EQ(played_frames() - p0, uint64_t(OutputRate / 4));
    EXPECT_TRUE(pump_until([] { return platform_audio_device() != 0; }));
    EXPECT_GE(int64_t(played_frames() - p0), frames_in(800 - 1));
    testing::internal::GetCapturedStderr();
}

TEST_F(DeviceLoss, RetriesOnItsOwnAndStopsCleanlyWhileLost) {
    AudioRetryMs = 50;
    testing::internal::CaptureStderr();
    push_device_event(SDL_AUDIODEVICEREMOVED, platform_audio_device());
    platform_pump_messages();
    EXPECT_EQ(platform_audio_device(), 0u);
    // No device event: the retry finds the default device again.
    EXPECT_TRUE(pump_until([] { return platform_audio_device() != 0; }));

    // Lost again, and the game ends before any device is back.
    AudioRetryMs = 60000;
    push_device_event(SDL_AUDIODEVICEREMOVED, platform_audio_device());
    platform_pump_messages();
    ASSERT_EQ(platform_audio_device(), 0u);
    testing::internal::GetCapturedStderr();
    music_stop();
    EXPECT_FALSE(music_running());
    platform_close_audio();
    EXPECT_EQ(AudioOutput.DeviceOpen.load(), 0);
    platform_pump_messages(); // nothing left to keep time for
}

} // namespace
