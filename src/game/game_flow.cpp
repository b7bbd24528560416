#include "game/game_flow.h"

#include "app/input.h"
#include "app/main_loop.h"

namespace bb {

int32_t TickCount = 0;
uint8_t FramePending = 0;

void game_tick(uint8_t draw) {
    TickCount++;
    // NOTE: until the menu exists, Escape is the only way out.
    if (InputState.EscapeRequested) {
        InputState.EscapeRequested = 0;
        QuitRequested = 1;
    }
    if (draw) FramePending = 1;
}

} // namespace bb
