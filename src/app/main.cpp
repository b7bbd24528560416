// The program entry: start-up in its fixed order, then the 100 Hz loop.
//
// Start-up: the settings (saved choices, then the settings window); the `_`
// switch and the options over them; the main window and the device; the sound
// effects and the music; the textures, ending with the font atlas; the
// projection, the world, the camera and the scene; then the loop. At exit the
// music stops before the window closes.
#include "app/frame_stats.h"
#include "app/headless.h"
#include "app/input.h"
#include "app/input_script.h"
#include "app/main_loop.h"
#include "app/options.h"
#include "app/run_report.h"
#include "app/scenes.h"
#include "app/screenshots.h"
#include "app/settings.h"
#include "app/settings_file.h"
#include "app/sound_dump.h"
#include "app/texture_dump.h"
#include "audio/music_control.h"
#include "audio/music_render.h"
#include "game/game_flow.h"
#include "platform/audio.h"
#include "platform/platform.h"
#include "platform/settings_window.h"
#include "render/device.h"
#include "render/projection.h"
#include "render/render_frame.h"
#include "texgen/texture_setup.h"
#include "texgen/texture_programs.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

using namespace bb;

static double thread_processor_seconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// render_frame, timed, with the screenshots due at this tick. False when one
// could not be written.
static bool draw_frame_and_screenshots() {
    bool capture = screenshot_due(TicksRun);
    CaptureNextFrame = capture;
    double processor = thread_processor_seconds();
    auto wall = std::chrono::steady_clock::now();
    render_frame();
    add_frame_time(FrameProcessorTimes, thread_processor_seconds() - processor);
    add_frame_time(FrameWallTimes,
                   std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count());
    std::string error;
    if (capture && !write_due_screenshots(TicksRun, CapturedFrame.data(), CurrentProjection.Width,
                                          CurrentProjection.Height, error)) {
        std::fprintf(stderr, "brawlbox: %s\n", error.c_str());
        return false;
    }
    return true;
}

// The sound device, the effects and the menu music; without a device the
// game plays on silent.
static void start_sound() {
    if (!SoundOn) return;
    std::string error;
    if (!platform_open_audio(error)) {
        std::fprintf(stderr, "brawlbox: %s; playing on without sound\n", error.c_str());
        return;
    }
    init_sound_effects();
    music_start();
}

static void stop_sound() {
    music_stop();
    platform_close_audio();
}

// The saved choices, then the settings window for a game started for play.
// False when the player quit there.
static bool choose_settings(const Options& options) {
    std::string path = settings_file_path(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
    SettingsRecord saved{};
    std::string message;
    bool have_saved = read_settings_file(path, saved, message) == SettingsLoaded;
    if (have_saved)
        apply_settings_record(saved);
    else
        std::fprintf(stderr, "brawlbox: %s\n", message.c_str());
    if (!shows_settings_window(options)) return true;

    SettingsRecord chosen{};
    std::string error;
    switch (run_settings_window(have_saved ? &saved : nullptr, chosen, error)) {
    case SettingsWindowQuit:
        return false;
    case SettingsWindowFailed:
        std::fprintf(stderr, "brawlbox: %s; starting with the %s settings\n", error.c_str(),
                     have_saved ? "saved" : "default");
        return true;
    case SettingsWindowPlay:
        if (!write_settings_file(path, chosen, error))
            std::fprintf(stderr, "brawlbox: %s\n", error.c_str());
        return true;
    }
    return true;
}

static int run_windowed(const Options& options) {
    std::string error;
    // The main window and the device.
    Projection display = projection_for_display(DisplayWidth, DisplayHeight, Windowed != 0);
    int width = Windowed ? display.Width : DisplayWidth,
        height = Windowed ? display.Height : DisplayHeight;
    if (!platform_open_window(width, height, !Windowed, !options.NoVsync, error)) {
        std::fprintf(stderr, "brawlbox: %s\n", error.c_str());
        return 1;
    }
    if (!Windowed) platform_drawable_size(DisplayWidth, DisplayHeight);
    platform_pump_messages();
    if (!create_device(error)) {
        std::fprintf(stderr, "brawlbox: %s\n", error.c_str());
        platform_close_window();
        return 1;
    }
    // The sound effects and the music.
    start_sound();
    // The textures, ending with the font atlas.
    texture_setup();
    // The projection, the world, the camera and the scene.
    setup_projection_and_buffers();
    start_named_scene(options.Scene, options.TwoPlayers);

    int status = 0;
    while (!loop_should_end()) {
        LoopPass pass = plan_loop_pass(tick_from_milliseconds(platform_milliseconds()));
        if (pass.Yield) platform_yield();
        run_loop_pass(pass, earliest_screenshot_tick());
        if (FramePending) {
            FramePending = 0;
            if (!draw_frame_and_screenshots()) status = 1;
        }
        platform_pump_messages();
    }
    // The run ended on a tick that was not drawn: draw its frame for the
    // screenshots still waiting for it.
    if (screenshot_due(TicksRun) && !draw_frame_and_screenshots()) status = 1;
    for (const ScreenshotRequest& r : PendingScreenshots) {
        std::fprintf(
            stderr, "brawlbox: no screenshot '%s': the run ended at tick %lld, before %lld\n",
            r.File.c_str(), static_cast<long long>(TicksRun), static_cast<long long>(r.Tick));
        status = 1;
    }
    platform_close_window();
    stop_sound();
    return status;
}

static int run_program(int argc, char** argv) {
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
    if (!options.DumpSoundsDir.empty()) {
        if (!dump_sounds(options.DumpSoundsDir, error)) {
            std::fprintf(stderr, "brawlbox: %s\n", error.c_str());
            return 1;
        }
        std::printf("brawlbox: wrote 7 sound effects to %s\n", options.DumpSoundsDir.c_str());
        return 0;
    }
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

    if (!choose_settings(options)) return 0;
    apply_options_to_settings(options);

    TickLimit = options.Ticks;
    if (!options.InputFile.empty() && !load_input_script(options.InputFile, error)) {
        std::fprintf(stderr, "brawlbox: %s\n", error.c_str());
        return 2;
    }
    if (!options.TraceFile.empty() && !open_trace(options.TraceFile, error)) {
        std::fprintf(stderr, "brawlbox: %s\n", error.c_str());
        return 1;
    }
    PendingScreenshots = options.Screenshots;

    int status = 0;
    if (options.Headless) {
        start_named_scene(options.Scene, options.TwoPlayers);
        run_headless();
        std::printf("%s\n", headless_summary().c_str());
    } else {
        status = run_windowed(options);
    }
    if (options.Stats) std::printf("%s\n", frame_stats_summary(TicksRun, TicksDropped).c_str());
    if (!close_trace(error)) {
        std::fprintf(stderr, "brawlbox: %s\n", error.c_str());
        status = 1;
    }
    return status;
}

int main(int argc, char** argv) {
    int status = run_program(argc, argv);
    // The summary and the statistics are output too: a full disk or a closed
    // pipe must not pass for success.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "brawlbox: cannot write the standard output: %s\n",
                     std::strerror(errno));
        if (status == 0) status = 1;
    }
    return status;
}
