#include "app/options.h"

#include "app/settings.h"
#include "app/tokens.h"

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
    "  --two-players        with --scene bout: both wrestlers on the keyboard\n"
    "  --input FILE         scripted input: 'TICK down KEY', 'TICK up KEY', 'TICK click X Y'\n"
    "  --trace FILE         write one JSON object per tick\n"
    "  --dump-textures DIR  write the generated textures (slotNN.png) and what is uploaded\n"
    "                       from them (reliefNN.png, colourNN.png) into DIR and exit\n"
    "                       (alone: it takes none of the other options)\n"
    "  --dump-sounds DIR    write the seven sound effects as WAVE files into DIR and exit\n"
    "                       (alone: it takes none of the other options)\n"
    "  --no-sound           no music and no sound effects\n"
    "  --render-music FILE.wav [--position P] [--seconds S]\n"
    "                       mix S seconds (default 30) of the music from song position P\n"
    "                       (default 3) into a 44,100 Hz 16-bit stereo WAVE file, and exit\n"
    "                       (no other options but these)\n"
    "  --lights N           light the scene with N lights: 1, 2, 4 or 12\n"
    "  --no-shadows         no shadows\n"
    "  --fullscreen         full screen in the desktop's mode instead of a window\n"
    "  --skip-settings      start without the settings window\n"
    "  --no-vsync           present frames at once, not at the display's refresh rate\n"
    "  --screenshot T:FILE  write the frame of tick T (or the next drawn) as PNG; repeatable\n"
    "  --stats              print ticks, frames, dropped ticks and frame times at exit\n"
    "  --help               show this text\n";

std::string value_error(const std::string& needs, const char* value) {
    return needs + ", got " + (value ? quote_token(value) : std::string("nothing"));
}

bool option_given(const std::vector<const char*>& given, const char* name) {
    for (const char* g : given)
        if (std::strcmp(g, name) == 0) return true;
    return false;
}

bool refuse_together(const std::vector<const char*>& given, const char* option,
                     std::initializer_list<const char*> others, std::string& error) {
    if (!option_given(given, option)) return true;
    for (const char* other : others)
        if (option_given(given, other)) {
            error = std::string(option) + " cannot be used with " + other;
            return false;
        }
    return true;
}

bool require_with(const std::vector<const char*>& given, const char* option, const char* needed,
                  bool needed_holds, std::string& error) {
    if (!option_given(given, option) || needed_holds) return true;
    error = std::string(option) + " only goes with " + needed;
    return false;
}

namespace {

struct OptionName {
    const char* Name;
    bool TakesValue; // the next argument is its value
    bool Repeatable; // a flag may repeat; a second value would silently win, so is refused
};

constexpr OptionName KnownOptions[] = {
    {"--headless", false, true},
    {"--ticks", true, false},
    {"--scene", true, false},
    {"--two-players", false, true},
    {"--input", true, false},
    {"--trace", true, false},
    {"--dump-textures", true, false},
    {"--render-music", true, false},
    {"--position", true, false},
    {"--seconds", true, false},
    {"--lights", true, false},
    {"--no-shadows", false, true},
    {"--fullscreen", false, true},
    {"--stats", false, true},
    {"--screenshot", true, true},
    {"--help", false, true},
    {"-h", false, true},
    {"--dump-sounds", true, false},
    {"--no-sound", false, true},
    {"--skip-settings", false, true},
    {"--no-vsync", false, true},
};

const OptionName* find_option(const char* arg) {
    for (const OptionName& k : KnownOptions)
        if (std::strcmp(arg, k.Name) == 0) return &k;
    return nullptr;
}

// What only a game run uses: the modes that write a file and exit refuse them
// rather than drop them unseen.
constexpr const char* RunOptions[] = {
    "_",          "--headless",      "--ticks",      "--scene",      "--two-players", "--input",
    "--trace",    "--lights",        "--no-shadows", "--fullscreen", "--screenshot",  "--stats",
    "--no-sound", "--skip-settings", "--no-vsync",
};

bool refuse_run_options(const std::vector<const char*>& given, const char* mode,
                        std::string& error) {
    for (const char* r : RunOptions)
        if (!refuse_together(given, mode, {r}, error)) return false;
    return true;
}

bool check_combinations(const std::vector<const char*>& given, const Options& o,
                        std::string& error) {
    return refuse_together(given, "--render-music", {"--dump-textures", "--dump-sounds"}, error) &&
           refuse_together(given, "--dump-textures", {"--dump-sounds"}, error) &&
           refuse_run_options(given, "--render-music", error) &&
           refuse_run_options(given, "--dump-textures", error) &&
           refuse_run_options(given, "--dump-sounds", error) &&
           require_with(given, "--position", "--render-music", !o.RenderMusicPath.empty(), error) &&
           require_with(given, "--seconds", "--render-music", !o.RenderMusicPath.empty(), error) &&
           require_with(given, "--two-players", "--scene bout", o.Scene == "bout", error) &&
           refuse_together(given, "--screenshot", {"--headless"}, error) &&
           refuse_together(given, "--fullscreen", {"--headless"}, error);
}

} // namespace

ParseResult parse_command_line(int argc, const char* const* argv, Options& o, std::string& error) {
    std::vector<const char*> given;
    int i = 1;
    if (argc > 1 && argv[1][0] == '_') {
        o.Underscore = true;
        given.push_back("_");
        i = 2;
    }
    for (; i < argc; i++) {
        const OptionName* option = find_option(argv[i]);
        if (!option) {
            error = "unknown option " + quote_token(argv[i]) + " (see --help)";
            return ParseError;
        }
        const char* a = option->Name;
        if (!option->Repeatable && option_given(given, a)) {
            error = std::string(a) + " given twice";
            return ParseError;
        }
        given.push_back(a);
        const char* value = nullptr;
        if (option->TakesValue) {
            value = i + 1 < argc ? argv[i + 1] : nullptr;
            i++;
        }
        if (std::strcmp(a, "--headless") == 0) {
            o.Headless = true;
        } else if (std::strcmp(a, "--ticks") == 0) {
            if (!value || !parse_digits(value, 10, 0, INT64_C(1) << 40, o.Ticks)) {
                error = value_error("--ticks needs a whole number of ticks", value);
                return ParseError;
            }
        } else if (std::strcmp(a, "--scene") == 0) {
            static const char* const Scenes[] = {"menu", "hidden", "bout", "practice", "demo"};
            bool known = false;
            for (const char* name : Scenes) known |= value && std::strcmp(value, name) == 0;
            if (!known) {
                error =
                    value_error("--scene needs one of menu, hidden, bout, practice, demo", value);
                return ParseError;
            }
            o.Scene = value;
        } else if (std::strcmp(a, "--two-players") == 0) {
            o.TwoPlayers = true;
        } else if (std::strcmp(a, "--input") == 0 || std::strcmp(a, "--trace") == 0) {
            if (!value || !*value) {
                error = std::string(a) + " needs a file name";
                return ParseError;
            }
            (a[2] == 'i' ? o.InputFile : o.TraceFile) = value;
        } else if (std::strcmp(a, "--dump-textures") == 0) {
            if (!value || !*value) {
                error = "--dump-textures needs a directory";
                return ParseError;
            }
            o.DumpTexturesDir = value;
        } else if (std::strcmp(a, "--dump-sounds") == 0) {
            if (!value || !*value) {
                error = "--dump-sounds needs a directory";
                return ParseError;
            }
            o.DumpSoundsDir = value;
        } else if (std::strcmp(a, "--no-sound") == 0) {
            o.NoSound = true;
        } else if (std::strcmp(a, "--render-music") == 0) {
            if (!value || !*value || value[0] == '-') {
                error = "--render-music needs the name of the WAVE file to write";
                return ParseError;
            }
            o.RenderMusicPath = value;
        } else if (std::strcmp(a, "--position") == 0) {
            // The range is the song's to check: only it knows its length.
            if (!value || !parse_digits(value, 10, 0, INT64_C(1) << 40, o.RenderPosition)) {
                error = value_error("--position needs a song position, a whole number", value);
                return ParseError;
            }
        } else if (std::strcmp(a, "--seconds") == 0) {
            if (!value || !parse_decimal_fraction(value, 0, 3600, o.RenderSeconds) ||
                o.RenderSeconds <= 0) {
                error = value_error("--seconds needs a number of seconds above 0 and at most 3600",
                                    value);
                return ParseError;
            }
        } else if (std::strcmp(a, "--lights") == 0) {
            int64_t n = 0;
            if (!value || !parse_digits(value, 10, 1, 12, n) ||
                (n != 1 && n != 2 && n != 4 && n != 12)) {
                error = value_error("--lights needs 1, 2, 4 or 12", value);
                return ParseError;
            }
            o.Lights = static_cast<int32_t>(n);
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
            if (!colon || shot.File.empty() ||
                !parse_digits(std::string_view(value, colon - value), 10, 0, INT64_C(1) << 40,
                              shot.Tick)) {
                error = value_error("--screenshot needs TICK:FILE.png", value);
                return ParseError;
            }
            o.Screenshots.push_back(shot);
        } else {
            o.Help = true;
            return ParseHelp;
        }
    }
    return check_combinations(given, o, error) ? ParseOk : ParseError;
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
