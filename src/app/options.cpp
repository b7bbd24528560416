#include "app/options.h"

#include "app/settings.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace bb {

const char* const UsageText =
    "usage: brawlbox [_] [options]\n"
    "A game started for play first shows the settings window (display mode, lighting\n"
    "detail, sound); \"PLAY GAME\" saves its choices to\n"
    "$XDG_CONFIG_HOME/brawlbox/settings.ini (~/.config/brawlbox/settings.ini) and the\n"
    "next start preselects them. --headless, --skip-settings, --input, --ticks and\n"
    "--screenshot skip the window and take the saved choices or the defaults. The _\n"
    "switch and --lights, --no-shadows, --fullscreen override the choices.\n"
    "  _                    (first) 2 lights and no shadows\n"
    "  --headless           run without window, graphics or sound, as fast as possible\n"
    "  --ticks N            stop after N game ticks\n"
    "  --scene NAME         start in a scene: menu (the default), hidden, bout, practice, demo\n"
    "  --two-players        a bout with both wrestlers on the keyboard\n"
    "  --input FILE         scripted input: 'TICK down KEY', 'TICK up KEY', 'TICK click X Y'\n"
    "  --trace FILE         write one JSON object per tick\n"
    "  --dump-textures DIR  write the generated textures (slotNN.png) and what is uploaded\n"
    "                       from them (reliefNN.png, colourNN.png) into DIR and exit\n"
    "  --dump-sounds DIR    write the seven sound effects as WAVE files into DIR and exit\n"
    "  --no-sound           no music and no sound effects\n"
    "  --render-music FILE.wav [--position P] [--seconds S]\n"
    "                       mix S seconds (default 30) of the music from song position P\n"
    "                       (default 3) into a 44,100 Hz 16-bit stereo WAVE file, and exit\n"
    "  --lights N           light the scene with N lights: 1, 2, 4 or 12\n"
    "  --no-shadows         no shadows\n"
    "  --fullscreen         full screen in the desktop's mode instead of a window\n"
    "  --skip-settings      start without the settings window\n"
    "  --no-vsync           present frames at once, not at the display's refresh rate\n"
    "  --screenshot T:FILE  write the frame of tick T (or the next drawn) as PNG; repeatable\n"
    "  --stats              print ticks, frames, dropped ticks and frame times at exit\n"
    "  --help               show this text\n";

// A whole decimal number in [lo, hi], nothing else.
static bool parse_integer(const char* text, int64_t lo, int64_t hi, int64_t& out) {
    if (!text || !*text) return false;
    char* end = nullptr;
    errno = 0;
    long long v = std::strtoll(text, &end, 10);
    if (errno != 0 || *end != '\0' || v < lo || v > hi) return false;
    out = v;
    return true;
}

// A finite decimal number in (lo, hi], nothing else.
static bool parse_number(const char* text, double lo, double hi, double& out) {
    if (!text || !*text) return false;
    char* end = nullptr;
    errno = 0;
    double v = std::strtod(text, &end);
    if (errno != 0 || *end != '\0' || !(v > lo && v <= hi)) return false;
    out = v;
    return true;
}

ParseResult parse_command_line(int argc, const char* const* argv, Options& o, std::string& error) {
    bool position_given = false, seconds_given = false;
    int i = 1;
    if (argc > 1 && argv[1][0] == '_') {
        o.Underscore = true;
        i = 2;
    }
    for (; i < argc; i++) {
        const char* a = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (std::strcmp(a, "--headless") == 0) {
            o.Headless = true;
        } else if (std::strcmp(a, "--ticks") == 0) {
            if (!parse_integer(value, 0, INT64_C(1) << 40, o.Ticks)) {
                error = std::string("--ticks needs a whole number of ticks, got '") +
                        (value ? value : "") + "'";
                return ParseError;
            }
            i++;
        } else if (std::strcmp(a, "--scene") == 0) {
            static const char* const Scenes[] = {"menu", "hidden", "bout", "practice", "demo"};
            bool known = false;
            for (const char* name : Scenes) known |= value && std::strcmp(value, name) == 0;
            if (!known) {
                error =
                    std::string("--scene needs one of menu, hidden, bout, practice, demo, got '") +
                    (value ? value : "") + "'";
                return ParseError;
            }
            o.Scene = value;
            i++;
        } else if (std::strcmp(a, "--two-players") == 0) {
            o.TwoPlayers = true;
        } else if (std::strcmp(a, "--input") == 0 || std::strcmp(a, "--trace") == 0) {
            if (!value || !*value) {
                error = std::string(a) + " needs a file name";
                return ParseError;
            }
            (a[2] == 'i' ? o.InputFile : o.TraceFile) = value;
            i++;
        } else if (std::strcmp(a, "--dump-textures") == 0) {
            if (!value || !*value) {
                error = "--dump-textures needs a directory";
                return ParseError;
            }
            o.DumpTexturesDir = value;
            i++;
        } else if (std::strcmp(a, "--dump-sounds") == 0) {
            if (!value || !*value) {
                error = "--dump-sounds needs a directory";
                return ParseError;
            }
            o.DumpSoundsDir = value;
            i++;
        } else if (std::strcmp(a, "--no-sound") == 0) {
            o.NoSound = true;
        } else if (std::strcmp(a, "--render-music") == 0) {
            if (!value || !*value || value[0] == '-') {
                error = "--render-music needs the name of the WAVE file to write";
                return ParseError;
            }
            o.RenderMusicPath = value;
            i++;
        } else if (std::strcmp(a, "--position") == 0) {
            int64_t p = 0;
            if (!parse_integer(value, 0, 255, p)) {
                error = std::string("--position needs a song position from 0 to 255, got '") +
                        (value ? value : "") + "'";
                return ParseError;
            }
            o.RenderPosition = static_cast<int32_t>(p);
            position_given = true;
            i++;
        } else if (std::strcmp(a, "--seconds") == 0) {
            if (!parse_number(value, 0, 3600, o.RenderSeconds)) {
                error = std::string("--seconds needs a number of seconds above 0 and at most "
                                    "3600, got '") +
                        (value ? value : "") + "'";
                return ParseError;
            }
            seconds_given = true;
            i++;
        } else if (std::strcmp(a, "--lights") == 0) {
            int64_t n = 0;
            if (!parse_integer(value, 1, 12, n) || (n != 1 && n != 2 && n != 4 && n != 12)) {
                error =
                    std::string("--lights needs 1, 2, 4 or 12, got '") + (value ? value : "") + "'";
                return ParseError;
            }
            o.Lights = static_cast<int32_t>(n);
            i++;
        } else if (std::strcmp(a, "--no-shadows") == 0) {
            o.NoShadows = true;
        } else if (std::strcmp(a, "--fullscreen") == 0) {
            o.Fullscreen = true;
        } else if (std::strcmp(a, "--skip-settings") == 0) {
            o.SkipSettings = true;
        } else if (std::strcmp(a, "--no-vsync") == 0) {
            o.NoVsync = true;
        } else if (std::strcmp(a, "--stats") == 0) {
            o.Stats = true;
        } else if (std::strcmp(a, "--screenshot") == 0) {
            const char* colon = value ? std::strchr(value, ':') : nullptr;
            ScreenshotRequest shot{0, colon ? colon + 1 : ""};
            std::string tick = colon ? std::string(value, colon) : "";
            if (!colon || shot.File.empty() ||
                !parse_integer(tick.c_str(), 0, INT64_C(1) << 40, shot.Tick)) {
                error = std::string("--screenshot needs TICK:FILE.png, got '") +
                        (value ? value : "") + "'";
                return ParseError;
            }
            o.Screenshots.push_back(shot);
            i++;
        } else if (std::strcmp(a, "--help") == 0 || std::strcmp(a, "-h") == 0) {
            o.Help = true;
            return ParseHelp;
        } else {
            error = std::string("unknown option '") + a + "' (see --help)";
            return ParseError;
        }
    }
    if (o.RenderMusicPath.empty() && (position_given || seconds_given)) {
        error = std::string(position_given ? "--position" : "--seconds") +
                " only goes with --render-music";
        return ParseError;
    }
    if (o.Headless && !o.Screenshots.empty()) {
        error = "--screenshot needs the window; it cannot be used with --headless";
        return ParseError;
    }
    return ParseOk;
}

void apply_options_to_settings(const Options& o) {
    if (o.Underscore) {
        LightCount = 2;
        ShadowsOn = 0;
    }
    if (o.Lights) LightCount = o.Lights;
    if (o.NoShadows) ShadowsOn = 0;
    if (o.NoSound || o.Headless) SoundOn = 0;
    if (o.Fullscreen) {
        // The desktop's mode, filled in once the window is open.
        Windowed = 0;
        DisplayWidth = 0;
        DisplayHeight = 0;
    }
}

bool shows_settings_window(const Options& o) {
    return !o.Headless && !o.SkipSettings && o.InputFile.empty() && o.Ticks < 0 &&
           o.Screenshots.empty();
}

} // namespace bb
