#include "audio/music_control.h"

#include "app/settings.h"
#include "assets/song.h"
#include "audio/audio_output.h"
#include "audio/mixer.h"
#include "audio/module_loader.h"
#include "audio/player.h"

#include <chrono>
#include <thread>

namespace bb {

MusicFlags MusicShared;
int32_t MusicStartPosition = 3;
void (*FeederThreadStartHook)() = nullptr;

namespace {

constexpr auto FeederPoll = std::chrono::milliseconds(5);

struct MusicState {
    Module* Current;
    std::thread Feeder;
    bool Running;
};

MusicState Music = {};

void feeder_thread() {
    if (FeederThreadStartHook) FeederThreadStartHook();
    while (!MusicShared.Stop.load(std::memory_order_acquire)) {
        feeder_catch_up(AudioOutput.PlayedBytes.load(std::memory_order_acquire));
        std::this_thread::sleep_for(FeederPoll);
    }
    MusicShared.Done.store(1, std::memory_order_release);
}

// Stop flag, wait for busy to clear, wait for done: then the player, the
// mixer and the ring belong to the main thread again.
void stop_feeder() {
    MusicShared.Stop.store(1, std::memory_order_release);
    while (MusicShared.Busy.load(std::memory_order_acquire)) std::this_thread::yield();
    if (Music.Feeder.joinable()) {
        while (!MusicShared.Done.load(std::memory_order_acquire))
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        Music.Feeder.join();
    }
}

void stop_chain() {
    stop_feeder();
    audio_output_release_ring();
    if (Music.Current) free_module(Music.Current);
    Music.Current = nullptr;
    Mixer.CurrentModule = nullptr;
    Music.Running = false;
}

bool begin_music() {
    Module* module = load_module_from_memory(SongData, SongSize);
    if (!module) return false;
    Music.Current = module;
    mixer_open();
    player_start(*module, MusicStartPosition);
    Mixer.CurrentModule = module;
    // The whole ring before anything is heard.
    do mix_block();
    while (Mixer.WritePosition != 0);
    AudioOutput.MixedBlocks.fetch_add(RingBlockCount, std::memory_order_release);
    audio_output_play_ring();
    MusicShared.Stop.store(0, std::memory_order_relaxed);
    MusicShared.Done.store(0, std::memory_order_relaxed);
    Music.Feeder = std::thread(feeder_thread);
    Music.Running = true;
    return true;
}

} // namespace

int feeder_catch_up(uint64_t played_bytes) {
    const int play_block = ring_block_at(played_bytes);
    int mixed = 0;
    while (Mixer.WritePosition != play_block && !MusicShared.Stop.load(std::memory_order_acquire)) {
        MusicShared.Busy.store(1, std::memory_order_release);
        mix_block();
        MusicShared.Busy.store(0, std::memory_order_release);
        AudioOutput.MixedBlocks.fetch_add(1, std::memory_order_release);
        mixed++;
    }
    return mixed;
}

bool music_start() {
    if (!SoundOn || !AudioOutput.DeviceOpen.load()) return false;
    stop_chain();
    return begin_music();
}

void music_restart(int position) {
    MusicStartPosition = position;
    if (!SoundOn || !Music.Running) return;
    stop_chain();
    begin_music();
}

void music_stop() {
    stop_chain();
}

bool music_running() {
    return Music.Running;
}

} // namespace bb
