// The music: the song mixed into the output ring, kept just behind the play
// position by the feeder thread, and its cues.
//
// Every start and restart loads the module anew, mixes the whole ring (100
// blocks, about 2 s) on the main thread, makes it live at its first frame and
// starts a feeder thread, so the new music is heard at once. The feeder
// shares the player, the mixer and the ring with the main thread through the
// stop, busy and done flags and no lock; the main thread touches that state
// only after stop, busy clear, done, in that order.
#pragma once

#include <atomic>
#include <cstdint>

namespace bb {

struct MusicFlags {
    std::atomic<int32_t> Stop{0};
    std::atomic<int32_t> Busy{0};
    std::atomic<int32_t> Done{1}; // 1 while no feeder runs
};

extern MusicFlags MusicShared;

// The song position the next start plays from: 3 until a cue asks for
// another before the music runs (a scene built before the output opens).
extern int32_t MusicStartPosition;

// Called on the feeder thread as it starts: the platform raises its priority
// there where the system permits. May be null.
extern void (*FeederThreadStartHook)();

// Starts the music at MusicStartPosition. False, and silence, with sound off,
// no open output device or a song that does not load.
bool music_start();
// The cues: 3 menu, 6 bout or hidden part, 9 bout decided. With the music
// running, rebuilds module, ring and feeder at that position; otherwise only
// remembers it for music_start.
void music_restart(int position);
// Stops the feeder, the ring and the module. Harmless when nothing runs.
void music_stop();
bool music_running();

// The feeder's step: mixes blocks until the write position reaches the
// block the device plays at played_bytes. Returns the blocks mixed.
int feeder_catch_up(uint64_t played_bytes);

} // namespace bb
