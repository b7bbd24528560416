// The program entry: start-up in its fixed order, then the 100 Hz loop.
#include "app/headless.h"
#include "app/input.h"
#include "app/main_loop.h"
#include "app/options.h"
#include "app/settings.h"
#include "audio/music_render.h"
#include "game/game_flow.h"
#include "platform/platform.h"

#include <cstdio>
#include <string>

using namespace bb;

static int run_windowed() {
    std::string error;
    if (!platform_open_window(DisplayWidth, DisplayHeight, !Windowed, error)) {
        std::fprintf(stderr, "brawlbox: %s\n", error.c_str());
        return 1;
    }
    platform_pump_messages();

    while (!loop_should_end()) {
        LoopPass pass = plan_loop_pass(tick_from_milliseconds(platform_milliseconds()));
        if (pass.Yield) platform_yield();
        run_loop_pass(pass);
        if (FramePending) {
            FramePending = 0;
            platform_present_frame();
        }
        platform_pump_messages();
    }
    platform_close_window();
    return 0;
}

int main(int argc, char** argv) {
    Options options;
    std::string error;
    switch (parse_command_line(argc, argv, options, error)) {
    case ParseHelp:
        std::fputs(UsageText, stdout);
        return 0;
    case ParseError:
        std::fprintf(stderr, "brawlbox: %s\n", error.c_str());
        return 2;
    case ParseOk:
        break;
    }
    apply_options_to_settings(options);

    if (!options.RenderMusicPath.empty()) {
        switch (render_music(options.RenderMusicPath.c_str(), options.RenderPosition,
                             options.RenderSeconds, error)) {
        case RenderOk:
            return 0;
        case RenderBadPosition:
            std::fprintf(stderr, "brawlbox: %s\n", error.c_str());
            return 2;
        case RenderNoSong:
        case RenderWriteFailed:
            std::fprintf(stderr, "brawlbox: %s\n", error.c_str());
            return 1;
        }
    }

    TickLimit = options.Ticks;

    if (options.Headless) {
        run_headless();
        std::printf("%s\n", headless_summary().c_str());
        return 0;
    }
    return run_windowed();
}
