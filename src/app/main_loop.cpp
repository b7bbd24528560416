#include "app/main_loop.h"

#include "app/input.h"
#include "app/input_script.h"
#include "app/run_report.h"
#include "game/game_flow.h"

#include <chrono>

namespace bb {

int64_t LastTick = 0;
int32_t QuitRequested = 0;
int64_t TicksRun = 0;
int64_t TickLimit = -1;
int64_t TicksDropped = 0;

LoopPass plan_loop_pass(int64_t now) {
    LoopPass pass = {0, {0, 0, 0, 0}, false};
    if (now <= LastTick) {
        pass.Yield = true;
        return pass;
    }
    bool started = LastTick != 0;
    LastTick++;
    if (InputState.KeyDown[Scan9])
        for (int i = 0; i < 3; i++) pass.Draw[pass.TickRuns++] = 0;
    if (now - LastTick > 20) {
        if (started) TicksDropped += now - LastTick;
        LastTick = now;
    }
    pass.Draw[pass.TickRuns++] = LastTick == now ? 1 : 0;
    if (InputState.KeyDown[Scan8]) LastTick += 3;
    return pass;
}

bool loop_should_end() {
    return QuitRequested || (TickLimit >= 0 && TicksRun >= TickLimit);
}

void run_tick(uint8_t draw) {
    apply_input_events(TicksRun + 1);
    auto start = std::chrono::steady_clock::now();
    game_tick(draw);
    TickSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    TicksRun++;
    trace_tick();
}

void run_loop_pass(const LoopPass& pass, int64_t draw_from) {
    for (int i = 0; i < pass.TickRuns && !loop_should_end(); i++) {
        bool forced = draw_from >= 0 && TicksRun + 1 >= draw_from;
        run_tick(pass.Draw[i] || forced ? 1 : 0);
    }
}

} // namespace bb
