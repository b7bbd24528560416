// The small "Settings" window shown before the game.
#pragma once

#include "app/settings.h"

#include <string>

namespace bb {

enum SettingsWindowResult {
    SettingsWindowFailed = 0, // it could not be opened: cause in error
    SettingsWindowPlay = 1,   // "PLAY GAME" or Enter: choices applied, record filled
    SettingsWindowQuit = 2,   // "QUIT" or Escape (choices applied), or the close box (not)
};

// Lists the display's full-screen modes (display 0) into the list.
void enumerate_display_modes(DisplayModeList& list);

// Shows the window, starting on the saved record's lines (null: the defaults),
// until a button, Enter, Escape or the close box ends it. On either button the
// choices are applied to the settings globals and returned in record.
SettingsWindowResult run_settings_window(const SettingsRecord* saved, SettingsRecord& record,
                                         std::string& error);

} // namespace bb
