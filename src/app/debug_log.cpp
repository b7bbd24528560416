#include "app/debug_log.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

namespace bb {

static bool DebugLogStarted = false;

std::string debug_log_path() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && state[0] == '/') return std::string(state) + "/brawlbox/debug.log";
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') return std::string(home) + "/.local/state/brawlbox/debug.log";
    return "";
}

// Makes every missing folder of the file's path, as mkdir -p does.
static void make_folders_for(const std::string& path) {
    for (size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1))
        mkdir(path.substr(0, slash).c_str(), 0700);
}

void debug_log(const char* text, int number) {
    std::fprintf(stderr, "brawlbox: debug: %s %d\n", text, number);
    const char* wanted = std::getenv("BRAWLBOX_DEBUG_LOG");
    if (!wanted || std::strcmp(wanted, "1") != 0) return;
    std::string path = debug_log_path();
    if (path.empty()) return;
    if (!DebugLogStarted) {
        DebugLogStarted = true;
        make_folders_for(path);
        if (FILE* f = std::fopen(path.c_str(), "w")) std::fclose(f);
    }
    FILE* f = std::fopen(path.c_str(), "a");
    if (!f) return;
    std::fprintf(f, "%s %d\n", text, number);
    std::fclose(f);
}

} // namespace bb
