#include "app/input_script.h"

#include "app/input.h"

#include "app/tokens.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <vector>

namespace bb {

namespace {

enum EventKind { KeyDownEvent, KeyUpEvent, ClickEvent };

struct InputEvent {
    int64_t Tick;
    EventKind Kind;
    int Code; // scan code of key events
    int X, Y; // click position
};

// A script is read whole; this keeps an endless stream (/dev/zero) from
// eating the memory. A million events take a fraction of it.
constexpr size_t MaxScriptBytes = size_t(64) << 20;

std::vector<InputEvent> ScriptEvents;
size_t NextEvent = 0;

struct KeyName {
    const char* Name;
    int Code;
};

constexpr KeyName KeyNames[] = {
    {"up", ScanUp},
    {"down", ScanDown},
    {"left", ScanLeft},
    {"right", ScanRight},
    {"backspace", ScanBackspace},
    {"enter", ScanEnter},
    {"a", ScanA},
    {"d", ScanD},
    {"w", ScanW},
    {"s", ScanS},
    {"lshift", ScanLeftShift},
    {"lctrl", ScanCtrl},
    {"space", ScanSpace},
    {"escape", ScanEscape},
    {"8", Scan8},
    {"9", Scan9},
};

bool parse_key(const std::string& t, int& code) {
    for (const KeyName& k : KeyNames)
        if (t == k.Name) {
            code = k.Code;
            return true;
        }
    int64_t v;
    if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X') &&
        parse_digits(std::string_view(t).substr(2), 16, 1, 255, v)) {
        code = static_cast<int>(v);
        return true;
    }
    return false;
}

} // namespace

void clear_input_script() {
    ScriptEvents.clear();
    NextEvent = 0;
}

bool parse_input_script(const std::string& text, const std::string& name, std::string& error) {
    clear_input_script();
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        number++;
        std::istringstream words(line);
        std::vector<std::string> w;
        for (std::string t; words >> t;) w.push_back(t);
        if (w.empty() || w[0][0] == '#') continue;
        auto fail = [&](const std::string& what) {
            error = name + ":" + std::to_string(number) + ": " + what;
            clear_input_script();
            return false;
        };
        InputEvent e = {};
        if (!parse_digits(w[0], 10, 0, INT64_C(1) << 40, e.Tick))
            return fail(quote_token(w[0]) + " is not a tick number");
        if (w.size() < 2) return fail("an event needs 'down KEY', 'up KEY' or 'click X Y'");
        if (w[1] == "down" || w[1] == "up") {
            if (w.size() != 3) return fail(quote_token(w[1]) + " takes one key");
            if (!parse_key(w[2], e.Code)) return fail("unknown key " + quote_token(w[2]));
            e.Kind = w[1] == "down" ? KeyDownEvent : KeyUpEvent;
        } else if (w[1] == "click") {
            int64_t x, y;
            if (w.size() != 4 || !parse_digits(w[2], 10, 0, 65535, x) ||
                !parse_digits(w[3], 10, 0, 65535, y))
                return fail("'click' takes two pixel coordinates from 0 to 65535");
            e.Kind = ClickEvent;
            e.X = static_cast<int>(x);
            e.Y = static_cast<int>(y);
        } else {
            return fail("unknown event " + quote_token(w[1]));
        }
        ScriptEvents.push_back(e);
    }
    std::stable_sort(ScriptEvents.begin(), ScriptEvents.end(),
                     [](const InputEvent& a, const InputEvent& b) { return a.Tick < b.Tick; });
    return true;
}

bool load_input_script(const std::string& path, std::string& error) {
    // A directory opens but cannot be read: only a read that reaches the end
    // of the file counts, so no unreadable stream passes for an empty script.
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        error = path + ": cannot be read: " + std::strerror(errno);
        return false;
    }
    std::string text;
    char block[65536];
    size_t n;
    while ((n = std::fread(block, 1, sizeof block, file)) > 0 && text.size() <= MaxScriptBytes)
        text.append(block, n);
    bool failed = std::ferror(file);
    int reason = errno;
    std::fclose(file);
    if (failed) {
        error = path + ": cannot be read: " + std::strerror(reason);
        return false;
    }
    if (text.size() > MaxScriptBytes) {
        error = path + ": longer than " + std::to_string(MaxScriptBytes >> 20) +
                " MiB, too long for an input script";
        return false;
    }
    return parse_input_script(text, path, error);
}

void apply_input_events(int64_t tick) {
    for (; NextEvent < ScriptEvents.size() && ScriptEvents[NextEvent].Tick <= tick; NextEvent++) {
        const InputEvent& e = ScriptEvents[NextEvent];
        switch (e.Kind) {
        case KeyDownEvent:
            input_key_down(e.Code);
            break;
        case KeyUpEvent:
            input_key_up(e.Code);
            break;
        case ClickEvent:
            input_click(e.X, e.Y);
            break;
        }
    }
}

} // namespace bb
