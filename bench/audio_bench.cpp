// The audio callback's work, and the time from an effect's trigger to its
// first sample in the output of SDL's disk driver.
#include "app/settings.h"
#include "assets/song.h"
#include "audio/audio_output.h"
#include "audio/mixer.h"
#include "audio/module_loader.h"
#include "audio/music_control.h"
#include "audio/player.h"
#include "audio/sound_effects.h"
#include "platform/audio.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace bb;

// One callback of 512 frames (11.6 ms of sound): the live music ring and 32
// effect voices, each resampled. The ring is mixed beforehand, as the feeder
// does it on its own thread (BM_mix_block_song measures that).
static void BM_audio_callback_512(benchmark::State& state) {
    const int voices = static_cast<int>(state.range(0));
    Module* m = load_module_from_memory(SongData, SongSize);
    mixer_open();
    player_start(*m, 6);
    Mixer.CurrentModule = m;
    do mix_block();
    while (Mixer.WritePosition != 0);
    audio_output_play_ring();

    sound_effects_reset();
    std::vector<int16_t> pcm(EffectMaxSamples);
    uint32_t noise = 1;
    for (int16_t& x : pcm) x = static_cast<int16_t>((noise = noise * 1664525u + 1013904223u) >> 20);
    for (int e = 0; e < EffectCount; e++) sound_effect_load(e, pcm.data(), EffectMaxSamples, 44100);
    SoundEffects.EffectsReady = 1;

    std::vector<int16_t> out(2 * 512);
    int n = 0;
    for (auto _ : state) {
        while (effect_voices_playing() + 1 < voices) {
            play_sound_effect(1 + n % 6, 0.9f + 0.01f * (n % 20), 0.3f, 0);
            float none[2];
            mix_effect_voices(none, 0); // takes the trigger

            n++;
        }
        audio_output_fill(out.data(), 512);
        benchmark::DoNotOptimize(out.data());
    }
    // Processor time as a percentage of the 11.6 ms the 512 frames last.
    state.counters["percent_of_period"] =
        benchmark::Counter(double(state.iterations()) * 512.0 / OutputRate / 100.0,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    audio_output_release_ring();
    sound_effects_reset();
    Mixer.CurrentModule = nullptr;
    free_module(m);
}
BENCHMARK(BM_audio_callback_512)->Arg(0)->Arg(32)->Unit(benchmark::kMicrosecond);

// Through SDL's disk driver, which writes each 512-frame callback buffer to
// a file at the pace of a sound card: how far into the output the effect's
// first sample lies from where playback was at the trigger. At the trigger
// the device plays somewhere in the last buffer handed to it, so the time
// counted is from that buffer's start: an upper bound. (The wall time until
// the file shows the sample is longer: SDL writes through stdio's buffer.)
// One iteration per trigger.
static void BM_effect_trigger_latency(benchmark::State& state) {
    const std::string file = "/tmp/brawlbox_latency_" + std::to_string(getpid()) + ".raw";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
    std::string error;
    SoundOn = 1;
    // The file's frame 0 is the callback's first frame after the open.
    const uint64_t base = AudioOutput.FramesOut.load();
    if (!platform_open_audio(error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    init_sound_effects();
    std::FILE* f = std::fopen(file.c_str(), "rb");
    std::vector<int16_t> chunk(1 << 16);
    long read_frames = 0;
    // Reads what the driver wrote since the last call; the frame index of
    // the first sound in it, or -1.
    auto first_sound = [&]() -> long {
        long found = -1;
        size_t n;
        std::clearerr(f);
        while ((n = std::fread(chunk.data(), 4, chunk.size() / 2, f)) > 0) {
            for (size_t k = 0; k < 2 * n && found < 0; k++)
                if (chunk[k] != 0) found = read_frames + long(k / 2);
            read_frames += long(n);
        }
        return found;
    };
    double worst = 0;
    int i = 0;
    for (auto _ : state) {
        // Let the last effect ring out, and start at a different phase of
        // the device period each time.
        std::this_thread::sleep_for(std::chrono::milliseconds(400 + (i++ * 7) % 12));
        first_sound();
        const long played = long(AudioOutput.FramesOut.load() - base) - 512;
        play_sound_effect(6, 1.0f, 1.0f, 0);
        long at;
        while ((at = first_sound()) < 0)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        const double seconds = double(at - played) / OutputRate;
        worst = std::max(worst, seconds);
        state.SetIterationTime(seconds);
    }
    state.counters["worst_ms"] = worst * 1000;
    platform_close_audio();
    sound_effects_reset();
    std::fclose(f);
    std::remove(file.c_str());
}
BENCHMARK(BM_effect_trigger_latency)
    ->UseManualTime()
    ->Iterations(30)
    ->Unit(benchmark::kMillisecond);

// What a cue costs the main thread: the feeder stopped and joined, the song
// reloaded, the whole ring mixed and a new feeder started. No device: the
// ring goes live without a callback reading it.
static void BM_music_restart(benchmark::State& state) {
    SoundOn = 1;
    AudioOutput.DeviceOpen = 1;
    music_start();
    int i = 0;
    for (auto _ : state) music_restart(i++ % 2 ? 6 : 9);
    music_stop();
    AudioOutput.DeviceOpen = 0;
}
BENCHMARK(BM_music_restart)->Unit(benchmark::kMillisecond);
