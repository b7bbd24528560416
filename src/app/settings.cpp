#include "app/settings.h"

#include <cstdio>

namespace bb {

// Used as they stand when no window chooses and nothing was saved.
int32_t DisplayWidth = 0;
int32_t DisplayHeight = 0;
int32_t Windowed = 1;
int32_t LightCount = 4;
int32_t ShadowsOn = 1;
int32_t SoundOn = 1;

const char* const DetailLabels[DetailCount] = {"No Shadow", "2  Lights", "4  Lights", "12 Lights"};
const char* const SoundLabels[2] = {"SOUND OFF", "SOUND ON"};
const char* const WindowedModeLabel = "WINDOWED MODE ***";

static const int32_t DetailLightCounts[DetailCount] = {1, 2, 4, 12};

bool add_enumerated_mode(DisplayModeList& list, int32_t width, int32_t height, int32_t colour_bits,
                         int32_t refresh_rate) {
    if (colour_bits != 24 && colour_bits != 32) return true;
    const DisplayMode* last = list.Count ? &list.Modes[list.Count - 1] : nullptr;
    if (last ? last->Width == width && last->Height == height : width == 0 && height == 0)
        return true;
    if (list.Count >= MaxDisplayModes) return false;
    list.Modes[list.Count++] = {width, height, 32, refresh_rate};
    return true;
}

void format_display_mode(const DisplayMode& mode, char* out, int size) {
    std::snprintf(out, static_cast<size_t>(size), "%dx%d %dbpp", mode.Width, mode.Height,
                  mode.BitsPerPixel);
}

SettingsChoices initial_settings_choices(const DisplayModeList& modes,
                                         const SettingsRecord* saved) {
    const SettingsRecord& r = saved ? *saved : DefaultSettingsRecord;
    SettingsChoices c = {modes.Count, r.DetailIndex, r.SoundIndex};
    if (saved && saved->Width == 0 && saved->Height == 0) {
        c.ModeLine = 0;
    } else if (saved) {
        for (int i = 0; i < modes.Count; i++)
            if (modes.Modes[i].Width == saved->Width && modes.Modes[i].Height == saved->Height)
                c.ModeLine = i + 1;
    }
    if (c.DetailLine < 0 || c.DetailLine >= DetailCount)
        c.DetailLine = DefaultSettingsRecord.DetailIndex;
    if (c.SoundLine < 0 || c.SoundLine > 1) c.SoundLine = DefaultSettingsRecord.SoundIndex;
    return c;
}

SettingsRecord record_from_choices(const DisplayModeList& modes, const SettingsChoices& c) {
    SettingsRecord r = DefaultSettingsRecord;
    if (c.ModeLine <= 0 || c.ModeLine > modes.Count) {
        r.Width = r.Height = r.BitsPerPixel = r.RefreshRate = 0;
    } else {
        const DisplayMode& m = modes.Modes[c.ModeLine - 1];
        r.Width = m.Width;
        r.Height = m.Height;
        r.BitsPerPixel = m.BitsPerPixel;
        r.RefreshRate = m.RefreshRate;
    }
    if (c.DetailLine >= 0 && c.DetailLine < DetailCount) r.DetailIndex = c.DetailLine;
    if (c.SoundLine == 0 || c.SoundLine == 1) r.SoundIndex = c.SoundLine;
    return r;
}

void apply_settings_record(const SettingsRecord& r) {
    Windowed = r.Width <= 0 || r.Height <= 0 ? 1 : 0;
    DisplayWidth = Windowed ? 0 : r.Width;
    DisplayHeight = Windowed ? 0 : r.Height;
    int detail = r.DetailIndex >= 0 && r.DetailIndex < DetailCount
                     ? r.DetailIndex
                     : DefaultSettingsRecord.DetailIndex;
    LightCount = DetailLightCounts[detail];
    ShadowsOn = detail != 0 ? 1 : 0;
    SoundOn = r.SoundIndex != 0 ? 1 : 0;
}

} // namespace bb
