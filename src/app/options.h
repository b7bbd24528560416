// The command line.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace bb {

// Write the frame drawn at tick Tick (or the first drawn after it) to File.
struct ScreenshotRequest {
    int64_t Tick;     // game ticks of this run, counted from 1
    std::string File; // PNG file
};

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
    std::string DumpSoundsDir;   // non-empty: write the effect files there and exit
    bool NoSound = false;        // no audio device, no music, no effects
    std::string RenderMusicPath; // --render-music: write the song to this WAVE file and exit
    int64_t RenderPosition = 3;  // --position: song position to start from, checked by the song
    double RenderSeconds = 30;   // --seconds: length of the rendering
    int32_t Lights = 0;          // 1, 2, 4 or 12 lights; 0 keeps the setting
    bool NoShadows = false;
    bool Fullscreen = false;   // the desktop's mode instead of a 1024 by 768 window
    bool SkipSettings = false; // start without the settings window
    bool NoVsync = false;      // present frames at once instead of at the display's rate
    bool Stats = false;        // print frame statistics at exit
    std::vector<ScreenshotRequest> Screenshots; // in the order given
};

enum ParseResult { ParseOk, ParseHelp, ParseError };

// Fills options from argv. On ParseError, error holds one line naming the
// offending argument, or both arguments of a combination that is refused.
ParseResult parse_command_line(int argc, const char* const* argv, Options& options,
                               std::string& error);
// Applies what the options override in the settings; after the settings
// window, so they win over its choices.
void apply_options_to_settings(const Options& options);
// True for a game started for play; scripted runs never show the window.
bool shows_settings_window(const Options& options);

extern const char* const UsageText;

// Helpers for the checks of single options and of combinations: an option is
// named as typed ("--ticks"); given lists the options seen, in order.

// "NEEDS, got 'VALUE'" with the value quoted short and safe, or "got nothing".
std::string value_error(const std::string& needs, const char* value);
bool option_given(const std::vector<const char*>& given, const char* name);
// Refuses option with any of others: false with "OPTION cannot be used with
// OTHER" when both were given.
bool refuse_together(const std::vector<const char*>& given, const char* option,
                     std::initializer_list<const char*> others, std::string& error);
// Refuses option without needed: false with "OPTION only goes with NEEDED".
bool require_with(const std::vector<const char*>& given, const char* option,
                  const char* needed, bool needed_holds, std::string& error);

} // namespace bb
