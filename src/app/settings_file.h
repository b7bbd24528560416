// The settings window's last choices, kept between runs in
// $XDG_CONFIG_HOME/brawlbox/settings.ini (~/.config/brawlbox/settings.ini).
#pragma once

#include "app/settings.h"

#include <string>

namespace bb {

// The file's path from the two variables (either may be null); "" when
// neither gives an absolute directory.
std::string settings_file_path(const char* xdg_config_home, const char* home);

// The file's text: a [settings] section with one "key = number" line per field.
std::string format_settings_text(const SettingsRecord& record);
// Strict: every field once, in range, nothing else but blank lines and
// comments. False with the first problem (and its line) in problem.
bool parse_settings_text(const std::string& text, SettingsRecord& record, std::string& problem);

enum SettingsFileResult { SettingsLoaded, SettingsMissing, SettingsUnusable };
// Reads the file; on anything but SettingsLoaded, record is untouched and
// message holds one line saying why the defaults are used.
SettingsFileResult read_settings_file(const std::string& path, SettingsRecord& record,
                                      std::string& message);
// Writes the file atomically (a temporary file renamed over it), making its
// directory when needed. False with the cause in error; an old file is then
// left as it was.
bool write_settings_file(const std::string& path, const SettingsRecord& record, std::string& error);

} // namespace bb
