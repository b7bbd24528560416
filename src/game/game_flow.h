// The game flow: one simulation tick of the whole game.
#pragma once

#include <cstdint>

namespace bb {

// Ticks since the camera was last reset.
extern int32_t TickCount;
// Set by a drawing tick: the frame is to be rendered now.
extern uint8_t FramePending;

// One tick of the game; draw is 1 when the tick ends with a frame.
void game_tick(uint8_t draw);

} // namespace bb
