// The game flow: its state and one simulation tick of the whole game.
#pragma once

#include <cstdint>

namespace bb {

enum : int32_t {
    BoutWaiting = 0, // a bout is built; the wrestlers must both put a hand down
    BoutRunning = 1,
    BoutDecided = 2, // the result is shown
    Menu = 10,
    HiddenPart = 11,
};

extern int32_t GameState;
// Ticks since the current scene was built.
extern int32_t TickCount;
extern int32_t Score[2];      // points of player 0 and player 1
extern int32_t TwoPlayers;    // 1 when wrestler 1 is played from the keyboard
extern int32_t LastWinner;    // the wrestler that won the last bout
extern int32_t BoutStartTick; // TickCount when the bout started
extern int32_t ResultTicks;   // ticks since the bout was decided, counted per wrestler
extern int32_t MenuPage;      // 0 main, 1 lighting, 3 documentation; survives scene changes
// Bouts of this run that started and that were decided, for the summary.
extern int32_t BoutsStarted;
extern int32_t BoutsDecided;
// The attract mode: results continue by themselves after 300 ticks, and a
// finished game starts a new one, the computer on both sides.
extern bool DemoMode;
// Set by a drawing tick: the frame is to be rendered now.
extern uint8_t FramePending;

// One tick of the game; draw is 1 when the tick ends with a frame.
void game_tick(uint8_t draw);

} // namespace bb
