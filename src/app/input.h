// Keyboard and mouse input as the game reads it: keys by PC set-1 scan code,
// the last unconsumed left click. The platform layer records into it between
// ticks; every reader polls it during a tick.
#pragma once

#include <cstdint>

namespace bb {

enum : uint8_t {
    ScanEscape = 0x01,
    Scan8 = 0x09,
    Scan9 = 0x0A,
    ScanBackspace = 0x0E,
    ScanW = 0x11,
    ScanEnter = 0x1C,
    ScanCtrl = 0x1D,
    ScanA = 0x1E,
    ScanS = 0x1F,
    ScanD = 0x20,
    ScanLeftShift = 0x2A,
    ScanSpace = 0x39,
    ScanUp = 0x48,
    ScanLeft = 0x4B,
    ScanRight = 0x4D,
    ScanDown = 0x50,
};

struct InputStateRecord {
    uint8_t KeyDown[256];    // 1 while held
    uint8_t KeyPressed[256]; // latched on every key-down, auto-repeat too; the reader clears it
    int32_t EscapeRequested; // set on every Escape key-down; the reader clears it
    int32_t ClickX;          // client pixels of the last unconsumed left press, -1 when none
    int32_t ClickY;
};

extern InputStateRecord InputState;
// The last cursor visibility asked for; the platform applies it.
extern uint8_t CursorShown;

void input_reset();
void input_key_down(int scan_code);
void input_key_up(int scan_code);
void input_click(int x, int y);
void show_cursor(uint8_t flag);

// PC set-1 scan code of a USB HID keyboard usage (the numbering SDL's
// scancodes use), or 0 for a key the game does not record. Extended keys share
// their twin's code: arrows are keypad 4/6/8/2, right Ctrl is Ctrl, keypad
// Enter is Enter. Alt and F10 are system keys and give 0.
int scan_code_from_usb_usage(int usage);

} // namespace bb
