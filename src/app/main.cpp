// The program entry: start-up in its fixed order, then the 100 Hz loop.
#include "app/headless.h"
#include "app/input.h"
#include "app/input_script.h"
#include "app/main_loop.h"
#include "app/options.h"
#include "app/run_report.h"
#include "app/scenes.h"
#include "app/settings.h"
#include "app/texture_dump.h"
#include "audio/music_render.h"
#include "game/game_flow.h"
#include "platform/platform.h"
#include "texgen/texture_programs.h"

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
    if (!options.DumpTexturesDir.empty()) {
        if (!dump_textures(options.DumpTexturesDir, error)) {
            std::fprintf(stderr, "brawlbox: %s\n", error.c_str());
            return 1;
        }
        std::printf("brawlbox: wrote %d textures to %s\n", TextureSlotCount,
                    options.DumpTexturesDir.c_str());
        return 0;
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
    if (!options.InputFile.empty() && !load_input_script(options.InputFile, error)) {
        std::fprintf(stderr, "brawlbox: %s\n", error.c_str());
        return 2;
    }
    if (!options.TraceFile.empty() && !open_trace(options.TraceFile, error)) {
        std::fprintf(stderr, "brawlbox: %s\n", error.c_str());
        return 1;
    }
    start_named_scene(options.Scene, options.TwoPlayers);

    int status = 0;
    if (options.Headless) {
        run_headless();
        std::printf("%s\n", headless_summary().c_str());
    } else {
        status = run_windowed();
    }
    close_trace();
    return status;
}
