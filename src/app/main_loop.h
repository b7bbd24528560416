// The fixed 100 Hz tick loop, kept apart from the clock and the window so the
// rules can be driven by any clock.
#pragma once

#include <cstdint>

namespace bb {

// The tick of the last tick run. 64-bit: the clock never wraps.
extern int64_t LastTick;
// Set by the menu's "Quit" or Escape there; the loop then shuts down.
extern int32_t QuitRequested;

// The tick clock's value for a millisecond timer reading: milliseconds / 10.
inline int64_t tick_from_milliseconds(uint64_t ms) {
    return static_cast<int64_t>(ms / 10);
}

// What one pass of the loop does for a clock reading.
struct LoopPass {
    int TickRuns;    // game ticks to run in this order, 0 to 4
    uint8_t Draw[4]; // their draw flags
    bool Yield;      // no tick was due
};

// Applies the loop's rules to LastTick for the clock reading now: a due tick,
// fast forward (key 9 held: three undrawn ticks first), the catch-up rule (a
// backlog of more than 20 ticks is dropped), slow motion (key 8 held: the next
// three clock ticks run nothing). Reads the keys from InputState.
LoopPass plan_loop_pass(int64_t now);

// Ticks skipped by the catch-up rule since the loop started (the first
// pass's jump to the clock is no drop).
extern int64_t TicksDropped;

// Game ticks run by this process, and the number after which the program
// shuts down as a quit does (-1: no limit).
extern int64_t TicksRun;
extern int64_t TickLimit;

// True once the loop should end: a quit was asked for or the limit is reached.
bool loop_should_end();
// Runs one game tick and counts it.
void run_tick(uint8_t draw);
// Runs the planned ticks, stopping early when the loop should end. Ticks
// numbered draw_from or later (1-based, -1 for none) are drawing ticks even
// when the plan says not: a screenshot waits for them, and only drawing ticks
// queue the texts it should show.
void run_loop_pass(const LoopPass& pass, int64_t draw_from = -1);

} // namespace bb
