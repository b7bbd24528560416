#include "game/game_flow.h"

#include "app/input.h"
#include "app/main_loop.h"
#include "game/camera.h"
#include "physics/world_step.h"

namespace bb {

int32_t GameState = 0;
int32_t TickCount = 0;
int32_t Score[2] = {0, 0};
int32_t TwoPlayers = 0;
int32_t LastWinner = 0;
int32_t BoutStartTick = 0;
int32_t ResultTicks = 0;
int32_t MenuPage = 0;
uint8_t FramePending = 0;
int32_t BoutsStarted = 0;
int32_t BoutsDecided = 0;

void game_tick(uint8_t draw) {
    TickCount++;
    update_camera();
    int32_t before = GameState;
    world_step();
    if (GameState != before && GameState == BoutRunning) BoutsStarted++;
    if (GameState != before && GameState == BoutDecided) BoutsDecided++;
    // NOTE: until the menu exists, Escape is the only way out.
    if (InputState.EscapeRequested) {
        InputState.EscapeRequested = 0;
        QuitRequested = 1;
    }
    if (draw) FramePending = 1;
}

} // namespace bb
