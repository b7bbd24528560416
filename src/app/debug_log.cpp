#include "app/debug_log.h"

#include <cstdio>

namespace bb {

static bool DebugLogStarted = false;

void debug_log(const char* text, int number) {
    if (!DebugLogStarted) {
        DebugLogStarted = true;
        if (FILE* f = std::fopen("debug.!", "w")) std::fclose(f);
    }
    FILE* f = std::fopen("debug.!", "a");
    if (!f) return;
    std::fprintf(f, "%s %d\n", text, number);
    std::fclose(f);
}

} // namespace bb
