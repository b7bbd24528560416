#include "app/input_script.h"

#include "app/input.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
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

bool parse_number(const std::string& t, int base, int64_t lo, int64_t hi, int64_t& out) {
    if (t.empty()) return false;
    errno = 0;
    char* end = nullptr;
    long long v = std::strtoll(t.c_str(), &end, base);
    if (errno || *end || v < lo || v > hi) return false;
    out = v;
    return true;
}

bool parse_key(const std::string& t, int& code) {
    for (const KeyName& k : KeyNames)
        if (t == k.Name) {
            code = k.Code;
            return true;
        }
    int64_t v;
    if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X') &&
        parse_number(t.substr(2), 16, 1, 255, v)) {
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
        if (!parse_number(w[0], 10, 0, INT64_C(1) << 40, e.Tick))
            return fail("'" + w[0] + "' is not a tick number");
        if (w.size() < 2) return fail("an event needs 'down KEY', 'up KEY' or 'click X Y'");
        if (w[1] == "down" || w[1] == "up") {
            if (w.size() != 3) return fail("'" + w[1] + "' takes one key");
            if (!parse_key(w[2], e.Code)) return fail("unknown key '" + w[2] + "'");
            e.Kind = w[1] == "down" ? KeyDownEvent : KeyUpEvent;
        } else if (w[1] == "click") {
            int64_t x, y;
            if (w.size() != 4 || !parse_number(w[2], 10, 0, 65535, x) ||
                !parse_number(w[3], 10, 0, 65535, y))
                return fail("'click' takes two pixel coordinates from 0 to 65535");
            e.Kind = ClickEvent;
            e.X = static_cast<int>(x);
            e.Y = static_cast<int>(y);
        } else {
            return fail("unknown event '" + w[1] + "'");
        }
        ScriptEvents.push_back(e);
    }
    std::stable_sort(ScriptEvents.begin(), ScriptEvents.end(),
                     [](const InputEvent& a, const InputEvent& b) { return a.Tick < b.Tick; });
    return true;
}

bool load_input_script(const std::string& path, std::string& error) {
    std::ifstream file(path);
    if (!file) {
        error = path + ": cannot be read";
        return false;
    }
    std::stringstream text;
    text << file.rdbuf();
    return parse_input_script(text.str(), path, error);
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
