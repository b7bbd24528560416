// The one audio output: what the device's callback plays. It sums the music
// ring and the effect voices and saturates to 16 bits.
//
// The music ring (MixRing, 100 blocks of 884 frames) is written by the main
// thread while no ring is live and by the feeder thread behind the play
// position; the callback reads it ahead. They meet in atomics only:
//  - RingLive: the callback may read the ring. The main thread clears it and
//    then waits for CallbackInRing to clear before it rewrites the ring (a
//    Dekker handshake: both sides use sequentially consistent order), which
//    takes at most one pass of the callback, never a device period.
//  - PlayedBytes: bytes of the ring the callback has played, its play
//    position; stored after the frames were copied.
//  - MixedBlocks: blocks the feeder has finished; the callback loads it
//    before reading, so a finished block is seen whole.
// A ring that stops being live fades out from a copy of the frames that
// would have followed, so a restart never clicks.
#pragma once

#include <atomic>
#include <cstdint>

namespace bb {

constexpr int FadeFrames = 256; // about 6 ms

struct AudioOutputShared {
    // A device calls audio_output_fill, or the main loop does for a lost one.
    std::atomic<int32_t> DeviceOpen{0};
    std::atomic<int32_t> RingLive{0};
    std::atomic<int32_t> CallbackInRing{0};
    std::atomic<uint32_t> RingGeneration{0}; // counts the rings made live
    std::atomic<uint64_t> PlayedBytes{0};
    std::atomic<uint64_t> MixedBlocks{0};
    std::atomic<uint64_t> FramesOut{0}; // frames the callback has produced, for latency checks
};

extern AudioOutputShared AudioOutput;

// The device callback: frames of 16-bit stereo, left first.
void audio_output_fill(int16_t* out, int frames);

// Main thread: stops the callback reading the ring and waits until it is out
// of it. Afterwards the ring may be rewritten.
void audio_output_release_ring();
// Main thread: a freshly mixed ring is played from its start.
void audio_output_play_ring();

// The ring block holding the frame at a play position in bytes: the position
// wraps at RingFrames frames.
int ring_block_at(uint64_t played_bytes);

} // namespace bb
