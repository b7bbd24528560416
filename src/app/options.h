// The command line.
#pragma once

#include <cstdint>
#include <string>

namespace bb {

struct Options {
    bool Underscore = false; // "_" first after the program name: 2 lights, no shadows
    bool Headless = false;   // no window, GL or audio; a virtual clock
    int64_t Ticks = -1;      // stop after this many game ticks; -1 runs until quit
    bool Help = false;
    std::string Scene;           // "" or "menu", "hidden", "bout", "practice", "demo"
    bool TwoPlayers = false;     // a bout with both wrestlers on the keyboard
    std::string InputFile;       // scripted input events
    std::string TraceFile;       // one JSON object per tick
    std::string DumpTexturesDir; // non-empty: write the textures there as PNG files and exit
    std::string RenderMusicPath; // --render-music: write the song to this WAVE file and exit
    int32_t RenderPosition = 3;  // --position: song position to start from
    double RenderSeconds = 30;   // --seconds: length of the rendering
};

enum ParseResult { ParseOk, ParseHelp, ParseError };

// Fills options from argv. On ParseError, error holds one line naming the
// offending argument.
ParseResult parse_command_line(int argc, const char* const* argv, Options& options,
                               std::string& error);
// Applies what the options override in the settings.
void apply_options_to_settings(const Options& options);

extern const char* const UsageText;

} // namespace bb
