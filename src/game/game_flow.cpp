#include "game/game_flow.h"

#include "app/input.h"
#include "app/main_loop.h"
#include "audio/music_control.h"
#include "game/arena.h"
#include "game/camera.h"
#include "game/hidden_part.h"
#include "game/menu.h"
#include "game/scoring.h"
#include "physics/world_step.h"
#include "wrestler/wrestler.h"

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
bool DemoMode = false;

// The next bout of the attract mode; a finished game starts a new one.
static void continue_demo() {
    if (game_over()) Score[0] = Score[1] = 0;
    TwoPlayers = 0;
    start_bout();
    Wrestlers[0].ControlSource = 2;
}

void game_tick(uint8_t draw) {
    TickCount++;
    update_camera();
    int32_t before = GameState;
    world_step();
    if (GameState != before && GameState == BoutRunning) BoutsStarted++;
    if (GameState != before && GameState == BoutDecided) BoutsDecided++;

    if (GameState == Menu) {
        menu_tick(draw);
    } else {
        if (GameState == HiddenPart) hidden_part_tick();
        if (GameState != Menu && InputState.EscapeRequested) {
            InputState.EscapeRequested = 0;
            music_restart(3);
            build_menu();
        }
    }
    if (!draw) return;

    bool decided = GameState == BoutDecided;
    if (decided) {
        queue_result_texts();
        // Two wrestlers count ResultTicks twice a tick: 600 is 300 ticks.
        if (DemoMode && ResultTicks >= 600)
            continue_demo();
        else if (InputState.KeyPressed[ScanSpace]) {
            if (game_over())
                build_menu();
            else
                start_bout();
        }
    }
    InputState.KeyPressed[ScanSpace] = 0;
    if (GameState == BoutWaiting && Score[0] == 0 && Score[1] == 0) queue_waiting_texts();
    if (GameState == BoutWaiting || decided) queue_score_text();
    FramePending = 1;
}

} // namespace bb
