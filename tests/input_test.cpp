#include "app/input.h"

#include <gtest/gtest.h>

using namespace bb;

TEST(ScanCodeTable, MapsTheKeysTheGameReads) {
    struct Case {
        const char* key;
        int usage; // USB HID usage, as SDL numbers its scancodes
        int code;
    };
    const Case cases[] = {
        {"Left", 80, 0x4B},
        {"keypad 4", 92, 0x4B},
        {"Right", 79, 0x4D},
        {"keypad 6", 94, 0x4D},
        {"Up", 82, 0x48},
        {"keypad 8", 96, 0x48},
        {"Down", 81, 0x50},
        {"keypad 2", 90, 0x50},
        {"left Shift", 225, 0x2A},
        {"left Ctrl", 224, 0x1D},
        {"right Ctrl", 228, 0x1D},
        {"Enter", 40, 0x1C},
        {"keypad Enter", 88, 0x1C},
        {"Backspace", 42, 0x0E},
        {"Space", 44, 0x39},
        {"Escape", 41, 0x01},
        {"8", 37, 0x09},
        {"9", 38, 0x0A},
        {"A", 4, 0x1E},
        {"D", 7, 0x20},
        {"W", 26, 0x11},
        {"S", 22, 0x1F},
        // System keys are not recorded.
        {"left Alt", 226, 0},
        {"right Alt", 230, 0},
        {"F10", 67, 0},
        {"unknown", 0, 0},
        {"out of range", 5000, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(scan_code_from_usb_usage(c.usage), c.code) << c.key;
}

struct InputFixture : ::testing::Test {
    void SetUp() override { input_reset(); }
    void TearDown() override { input_reset(); }
};

TEST_F(InputFixture, KeyDownFollowsHoldAndPressLatches) {
    input_key_down(ScanUp);
    input_key_down(ScanUp); // auto-repeat
    EXPECT_EQ(InputState.KeyDown[ScanUp], 1);
    EXPECT_EQ(InputState.KeyPressed[ScanUp], 1);

    // Pressed and released between two ticks: not held, but the press is kept.
    input_key_down(ScanSpace);
    input_key_up(ScanSpace);
    EXPECT_EQ(InputState.KeyDown[ScanSpace], 0);
    EXPECT_EQ(InputState.KeyPressed[ScanSpace], 1);

    // Code 0 is what unrecorded keys translate to: it touches nothing.
    input_key_down(0);
    EXPECT_EQ(InputState.KeyDown[0], 0);
}

TEST_F(InputFixture, ClicksKeepTheLastPosition) {
    EXPECT_EQ(InputState.ClickX, -1);
    input_click(10, 20);
    input_click(300, 400);
    EXPECT_EQ(InputState.ClickX, 300);
    EXPECT_EQ(InputState.ClickY, 400);
}

TEST_F(InputFixture, EscapeTwiceIsOnePress) {
    input_key_down(ScanEscape);
    input_key_down(ScanEscape);
    EXPECT_EQ(InputState.EscapeRequested, 1);
    EXPECT_EQ(InputState.KeyDown[ScanEscape], 1);
}

TEST_F(InputFixture, ShowCursorRemembersTheLastRequest) {
    show_cursor(0);
    show_cursor(0);
    EXPECT_EQ(CursorShown, 0);
    show_cursor(1);
    EXPECT_EQ(CursorShown, 1);
}
