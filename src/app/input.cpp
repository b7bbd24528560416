#include "app/input.h"

#include <cstring>

namespace bb {

InputStateRecord InputState = {{}, {}, 0, -1, -1};
uint8_t CursorShown = 1;

void input_reset() {
    std::memset(&InputState, 0, sizeof InputState);
    InputState.ClickX = -1;
    InputState.ClickY = -1;
}

void input_key_down(int sc) {
    if (sc <= 0 || sc > 255) return;
    if (sc == ScanEscape) InputState.EscapeRequested = 1;
    InputState.KeyDown[sc] = 1;
    InputState.KeyPressed[sc] = 1;
}

void input_key_up(int sc) {
    if (sc <= 0 || sc > 255) return;
    InputState.KeyDown[sc] = 0;
}

void input_click(int x, int y) {
    // Window messages carry unsigned 16-bit coordinates.
    InputState.ClickX = x & 0xFFFF;
    InputState.ClickY = y & 0xFFFF;
}

void show_cursor(uint8_t flag) {
    if (flag == CursorShown) return;
    CursorShown = flag;
}

namespace {

struct UsageCode {
    uint16_t usage;
    uint8_t code;
};

// USB HID keyboard usages (page 7) to set-1 codes.
constexpr UsageCode UsageTable[] = {
    // Letters a..z are usages 4..29.
    {4, 0x1E},
    {5, 0x30},
    {6, 0x2E},
    {7, 0x20},
    {8, 0x12},
    {9, 0x21},
    {10, 0x22},
    {11, 0x23},
    {12, 0x17},
    {13, 0x24},
    {14, 0x25},
    {15, 0x26},
    {16, 0x32},
    {17, 0x31},
    {18, 0x18},
    {19, 0x19},
    {20, 0x10},
    {21, 0x13},
    {22, 0x1F},
    {23, 0x14},
    {24, 0x16},
    {25, 0x2F},
    {26, 0x11},
    {27, 0x2D},
    {28, 0x15},
    {29, 0x2C},
    // Digits 1..9, 0 are usages 30..39.
    {30, 0x02},
    {31, 0x03},
    {32, 0x04},
    {33, 0x05},
    {34, 0x06},
    {35, 0x07},
    {36, 0x08},
    {37, 0x09},
    {38, 0x0A},
    {39, 0x0B},
    {40, 0x1C}, // Enter
    {41, 0x01}, // Escape
    {42, 0x0E}, // Backspace
    {43, 0x0F}, // Tab
    {44, 0x39}, // Space
    {45, 0x0C},
    {46, 0x0D},
    {47, 0x1A},
    {48, 0x1B},
    {49, 0x2B},
    {51, 0x27},
    {52, 0x28},
    {53, 0x29},
    {54, 0x33},
    {55, 0x34},
    {56, 0x35},
    {57, 0x3A}, // Caps Lock
    // F1..F9, F11, F12; F10 (usage 67) is a system key.
    {58, 0x3B},
    {59, 0x3C},
    {60, 0x3D},
    {61, 0x3E},
    {62, 0x3F},
    {63, 0x40},
    {64, 0x41},
    {65, 0x42},
    {66, 0x43},
    {68, 0x57},
    {69, 0x58},
    {71, 0x46}, // Scroll Lock
    // Insert, Home, Page Up, Delete, End, Page Down: twins of the keypad's.
    {73, 0x52},
    {74, 0x47},
    {75, 0x49},
    {76, 0x53},
    {77, 0x4F},
    {78, 0x51},
    // Right, Left, Down, Up: keypad 6, 4, 2, 8.
    {79, 0x4D},
    {80, 0x4B},
    {81, 0x50},
    {82, 0x48},
    {83, 0x45}, // Num Lock
    {84, 0x35}, // keypad / shares the code of /
    {85, 0x37},
    {86, 0x4A},
    {87, 0x4E},
    {88, 0x1C}, // keypad Enter
    // Keypad 1..9, 0, '.'.
    {89, 0x4F},
    {90, 0x50},
    {91, 0x51},
    {92, 0x4B},
    {93, 0x4C},
    {94, 0x4D},
    {95, 0x47},
    {96, 0x48},
    {97, 0x49},
    {98, 0x52},
    {99, 0x53},
    {100, 0x56}, // the extra key left of Z
    {224, 0x1D}, // left Ctrl
    {225, 0x2A}, // left Shift
    {227, 0x5B}, // left GUI
    {228, 0x1D}, // right Ctrl shares left Ctrl's code
    {229, 0x36}, // right Shift
    {231, 0x5C}, // right GUI
    // Alt (226, 230) is a system key and is absent.
};

} // namespace

int scan_code_from_usb_usage(int usage) {
    for (const UsageCode& e : UsageTable)
        if (e.usage == usage) return e.code;
    return 0;
}

} // namespace bb
