// The player's settings for this run, and the rules of the settings window
// that chooses them: its lists, their initial lines and applying the choices.
#pragma once

#include <cstdint>

namespace bb {

extern int32_t DisplayWidth; // chosen full-screen mode; 0 by 0 in a window (1024 by 768)
extern int32_t DisplayHeight;
extern int32_t Windowed;   // 1 for a window, 0 for full screen
extern int32_t LightCount; // 1, 2, 4 or 12
extern int32_t ShadowsOn;
extern int32_t SoundOn;

// What the window chooses, and what the settings file keeps.
struct SettingsRecord {
    int32_t Width, Height; // full-screen mode; 0 and 0 for a window
    int32_t BitsPerPixel;  // 32, or 0 for a window
    int32_t RefreshRate;   // Hz; 0 when unknown or windowed
    int32_t DetailIndex;   // line of DetailLabels
    int32_t SoundIndex;    // line of SoundLabels: 0 off, 1 on
};
constexpr SettingsRecord DefaultSettingsRecord = {640, 480, 32, 0, 2, 1};

struct DisplayMode {
    int32_t Width, Height, BitsPerPixel, RefreshRate;
};

// The full-screen modes the window offers, in enumeration order.
constexpr int MaxDisplayModes = 256;
struct DisplayModeList {
    DisplayMode Modes[MaxDisplayModes];
    int Count;
};

constexpr int DetailCount = 4;
extern const char* const DetailLabels[DetailCount]; // "No Shadow" .. "12 Lights"
extern const char* const SoundLabels[2];            // "SOUND OFF", "SOUND ON"
extern const char* const WindowedModeLabel;         // "WINDOWED MODE ***", the mode list's line 0

// Offers one enumerated mode: only 32-bit colour is kept (24-bit colour
// formats are 32-bit pixels) and of a run of one size only the first. False
// when the list is full: the mode is dropped.
bool add_enumerated_mode(DisplayModeList& list, int32_t width, int32_t height, int32_t colour_bits,
                         int32_t refresh_rate);
// "%dx%d %dbpp" into out (at least 40 bytes).
void format_display_mode(const DisplayMode& mode, char* out, int size);

// The selected line of each list.
struct SettingsChoices {
    int ModeLine; // 0 windowed, m for mode m - 1
    int DetailLine;
    int SoundLine;
};

// The lines the window starts on: the last mode line and the record's detail
// and sound, or those of the saved record when there is one; a saved mode no
// longer offered gives the last line again.
SettingsChoices initial_settings_choices(const DisplayModeList& modes, const SettingsRecord* saved);
// The choices as a record (lines out of range are taken as the defaults').
SettingsRecord record_from_choices(const DisplayModeList& modes, const SettingsChoices& choices);
// Sets the settings globals from a record.
void apply_settings_record(const SettingsRecord& record);

} // namespace bb
