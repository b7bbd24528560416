#include "app/settings_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace bb {

namespace {

struct Field {
    const char* Key;
    int32_t SettingsRecord::*Member;
    int32_t Lo, Hi;
};

const Field Fields[] = {
    {"width", &SettingsRecord::Width, 0, 65535},
    {"height", &SettingsRecord::Height, 0, 65535},
    {"bits_per_pixel", &SettingsRecord::BitsPerPixel, 0, 64},
    {"refresh_rate", &SettingsRecord::RefreshRate, 0, 1000},
    {"detail", &SettingsRecord::DetailIndex, 0, DetailCount - 1},
    {"sound", &SettingsRecord::SoundIndex, 0, 1},
};
constexpr int FieldCount = sizeof Fields / sizeof Fields[0];

std::string trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos) return "";
    size_t e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

// A plain decimal number in [lo, hi].
bool parse_field_value(const std::string& text, int32_t lo, int32_t hi, int32_t& out) {
    if (text.empty() || text.size() > 9) return false;
    int64_t v = 0;
    for (char ch : text) {
        if (ch < '0' || ch > '9') return false;
        v = v * 10 + (ch - '0');
    }
    if (v < lo || v > hi) return false;
    out = static_cast<int32_t>(v);
    return true;
}

// Makes dir and its missing parents.
bool make_directory(const std::string& dir, std::string& error) {
    for (size_t i = 1; i <= dir.size(); i++) {
        if (i < dir.size() && dir[i] != '/') continue;
        std::string part = dir.substr(0, i);
        if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) {
            error = "cannot make the directory '" + part + "': " + std::strerror(errno);
            return false;
        }
    }
    return true;
}

} // namespace

std::string settings_file_path(const char* xdg_config_home, const char* home) {
    // Relative values are to be ignored, as the base directory rules say.
    if (xdg_config_home && xdg_config_home[0] == '/')
        return std::string(xdg_config_home) + "/brawlbox/settings.ini";
    if (home && home[0] == '/') return std::string(home) + "/.config/brawlbox/settings.ini";
    return "";
}

std::string format_settings_text(const SettingsRecord& record) {
    std::string text = "# Brawlbox: the settings window's last choices\n[settings]\n";
    for (const Field& f : Fields)
        text += std::string(f.Key) + " = " + std::to_string(record.*f.Member) + "\n";
    return text;
}

bool parse_settings_text(const std::string& text, SettingsRecord& record, std::string& problem) {
    SettingsRecord r = DefaultSettingsRecord;
    bool seen[FieldCount] = {};
    bool in_section = false;
    int line_number = 0;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = trim(text.substr(start, end - start));
        start = end + 1;
        line_number++;
        auto fail = [&](const std::string& what) {
            problem = "line " + std::to_string(line_number) + ": " + what;
            return false;
        };
        if (line.empty() || line[0] == '#' || line[0] == ';') continue;
        if (line[0] == '[') {
            if (line != "[settings]") return fail("unknown section " + line);
            in_section = true;
            continue;
        }
        if (!in_section) return fail("a value before the [settings] section");
        size_t eq = line.find('=');
        if (eq == std::string::npos) return fail("no 'key = value'");
        std::string key = trim(line.substr(0, eq)), value = trim(line.substr(eq + 1));
        int i = 0;
        while (i < FieldCount && key != Fields[i].Key) i++;
        if (i == FieldCount) return fail("unknown key '" + key.substr(0, 40) + "'");
        if (seen[i]) return fail(key + " given twice");
        if (!parse_field_value(value, Fields[i].Lo, Fields[i].Hi, r.*Fields[i].Member))
            return fail(key + " needs a whole number from " + std::to_string(Fields[i].Lo) +
                        " to " + std::to_string(Fields[i].Hi));
        seen[i] = true;
    }
    for (int i = 0; i < FieldCount; i++)
        if (!seen[i]) {
            problem = std::string("no ") + Fields[i].Key;
            return false;
        }
    if ((r.Width == 0) != (r.Height == 0)) {
        problem = "width and height are both 0 (a window) or both a mode's";
        return false;
    }
    record = r;
    return true;
}

SettingsFileResult read_settings_file(const std::string& path, SettingsRecord& record,
                                      std::string& message) {
    if (path.empty()) {
        message = "no saved settings: neither XDG_CONFIG_HOME nor HOME names a directory; "
                  "using the defaults";
        return SettingsMissing;
    }
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        bool missing = errno == ENOENT;
        message = missing ? "no saved settings in '" + path + "'; using the defaults"
                          : "cannot read '" + path + "' (" + std::strerror(errno) +
                                "); using the default settings";
        return missing ? SettingsMissing : SettingsUnusable;
    }
    // A settings file is a few lines; anything long is not one.
    char buffer[4096];
    size_t n = std::fread(buffer, 1, sizeof buffer, f);
    bool error = std::ferror(f) != 0, too_long = n == sizeof buffer;
    std::fclose(f);
    std::string problem;
    if (error)
        problem = "it cannot be read";
    else if (too_long)
        problem = "it is too long";
    else if (std::memchr(buffer, '\0', n))
        problem = "it is not text";
    else
        parse_settings_text(std::string(buffer, n), record, problem);
    if (problem.empty()) return SettingsLoaded;
    message = "'" + path + "' is not a settings file (" + problem + "); using the default settings";
    return SettingsUnusable;
}

bool write_settings_file(const std::string& path, const SettingsRecord& record,
                         std::string& error) {
    if (path.empty()) {
        error = "the settings cannot be saved: neither XDG_CONFIG_HOME nor HOME names a directory";
        return false;
    }
    size_t slash = path.find_last_of('/');
    if (slash != std::string::npos && !make_directory(path.substr(0, slash), error)) return false;
    std::string temporary = path + ".XXXXXX";
    int fd = mkstemp(temporary.data());
    if (fd < 0) {
        error = "cannot write '" + path + "': " + std::strerror(errno);
        return false;
    }
    std::string text = format_settings_text(record);
    size_t done = 0;
    while (done < text.size()) {
        ssize_t w = write(fd, text.data() + done, text.size() - done);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) break;
        done += static_cast<size_t>(w);
    }
    // The rename must never put a half-written file in place of a whole one.
    bool ok = done == text.size() && fchmod(fd, 0644) == 0 && fsync(fd) == 0;
    int saved_errno = errno;
    ok = close(fd) == 0 && ok;
    if (ok && std::rename(temporary.c_str(), path.c_str()) == 0) return true;
    saved_errno = ok ? errno : saved_errno;
    unlink(temporary.c_str());
    error = "cannot write '" + path + "': " + std::strerror(saved_errno ? saved_errno : EIO);
    return false;
}

} // namespace bb
