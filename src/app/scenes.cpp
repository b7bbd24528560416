#include "app/scenes.h"

#include "app/run_report.h"
#include "game/arena.h"
#include "game/camera.h"
#include "game/game_flow.h"
#include "game/menu.h"
#include "physics/body.h"
#include "wrestler/wrestler.h"

namespace bb {

void start_named_scene(const std::string& name, bool two_players) {
    allocate_clip_scratch();
    reset_camera_motion();
    SceneName = name;
    if (name == "bout" || name == "demo") {
        TwoPlayers = two_players ? 1 : 0;
        Score[0] = Score[1] = 0;
        start_bout();
        // The demo: the computer wrestles both sides, bout after bout.
        if (name == "demo") {
            Wrestlers[0].ControlSource = 2;
            DemoMode = true;
        }
    } else if (name == "hidden") {
        start_hidden_part();
    } else if (name == "practice") {
        start_hidden_part();
        Wrestlers[0].ControlSource = 0;
    } else {
        SceneName = "menu";
        build_menu();
    }
}

} // namespace bb
