#include "app/headless.h"

#include "app/json_record.h"
#include "app/main_loop.h"
#include "game/game_flow.h"

namespace bb {

void run_headless() {
    while (!loop_should_end()) {
        run_tick(1);
        FramePending = 0;
    }
}

std::string headless_summary() {
    JsonRecord r;
    json_begin_object(r);
    json_int(r, "ticks", TicksRun);
    json_int(r, "tick_count", TickCount);
    json_end_object(r);
    return r.Text;
}

} // namespace bb
