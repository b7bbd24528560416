#include "app/options.h"

#include "app/settings.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace bb {

const char* const UsageText =
    "usage: brawlbox [_] [options]\n"
    "  _                    (first) 2 lights and no shadows\n"
    "  --headless           run without window, graphics or sound, as fast as possible\n"
    "  --ticks N            stop after N game ticks\n"
    "  --scene NAME         start in a scene: menu (the default), hidden, bout, practice, demo\n"
    "  --two-players        a bout with both wrestlers on the keyboard\n"
    "  --input FILE         scripted input: 'TICK down KEY', 'TICK up KEY', 'TICK click X Y'\n"
    "  --trace FILE         write one JSON object per tick\n"
    "  --dump-textures DIR  write the generated textures as PNG files into DIR and exit\n"
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

ParseResult parse_command_line(int argc, const char* const* argv, Options& o, std::string& error) {
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
        } else if (std::strcmp(a, "--help") == 0 || std::strcmp(a, "-h") == 0) {
            o.Help = true;
            return ParseHelp;
        } else {
            error = std::string("unknown option '") + a + "' (see --help)";
            return ParseError;
        }
    }
    return ParseOk;
}

void apply_options_to_settings(const Options& o) {
    if (o.Underscore) {
        LightCount = 2;
        ShadowsOn = 0;
    }
}

} // namespace bb
