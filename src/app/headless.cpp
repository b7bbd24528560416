#include "app/headless.h"

#include "app/main_loop.h"
#include "game/game_flow.h"

namespace bb {

void run_headless() {
    while (!loop_should_end()) {
        run_tick(1);
        FramePending = 0;
    }
}

} // namespace bb
