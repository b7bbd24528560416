#include "app/input.h"
#include "app/input_script.h"

#include <gtest/gtest.h>

using namespace bb;

struct InputScriptTest : ::testing::Test {
    void SetUp() override {
        input_reset();
        clear_input_script();
    }
    void TearDown() override {
        input_reset();
        clear_input_script();
    }
};

TEST_F(InputScriptTest, EventsReachInputStateBeforeTheirTick) {
    std::string error;
    ASSERT_TRUE(parse_input_script("# a comment\n\n5 down up\n3 down 0x1E\n5 click 10 20\n"
                                   "7 up up\n7 down lshift\n",
                                   "s", error))
        << error;
    apply_input_events(2);
    EXPECT_EQ(InputState.KeyDown[ScanA], 0);
    apply_input_events(4);
    EXPECT_EQ(InputState.KeyDown[ScanA], 1);
    EXPECT_EQ(InputState.KeyDown[ScanUp], 0);
    apply_input_events(5);
    EXPECT_EQ(InputState.KeyDown[ScanUp], 1);
    EXPECT_EQ(InputState.ClickX, 10);
    EXPECT_EQ(InputState.ClickY, 20);
    apply_input_events(7);
    EXPECT_EQ(InputState.KeyDown[ScanUp], 0);
    EXPECT_EQ(InputState.KeyPressed[ScanUp], 1);
    EXPECT_EQ(InputState.KeyDown[ScanLeftShift], 1);
}

TEST_F(InputScriptTest, BadLinesNameFileLineAndFault) {
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"1 down up\nx down up\n", "walk.txt:2: 'x' is not a tick number"},
        {"1 jump up\n", "walk.txt:1: unknown event 'jump'"},
        {"1 down upp\n", "walk.txt:1: unknown key 'upp'"},
        {"1 down 0x100\n", "walk.txt:1: unknown key '0x100'"},
        {"1 down\n", "walk.txt:1: 'down' takes one key"},
        {"1 click 5\n", "walk.txt:1: 'click' takes two pixel coordinates"},
        {"-1 down up\n", "walk.txt:1: '-1' is not a tick number"},
        {"3\n", "walk.txt:1: an event needs"},
        {"+5 down up\n", "walk.txt:1: '+5' is not a tick number"},
        {"1 down 0x0x1E\n", "walk.txt:1: unknown key '0x0x1E'"},
        {"1 down 0x+1E\n", "walk.txt:1: unknown key '0x+1E'"},
        {"1 click +5 5\n", "walk.txt:1: 'click' takes two pixel coordinates"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(parse_input_script(c.text, "walk.txt", error));
        EXPECT_EQ(error.rfind(c.message, 0), 0u) << error;
    }
    // A failed script leaves no events behind.
    apply_input_events(100);
    EXPECT_EQ(InputState.KeyDown[ScanUp], 0);
}

// Bytes a file may hold but no line of a script means: a NUL ends no number,
// and a key name of any length comes back short and printable.
TEST_F(InputScriptTest, HostileBytesAreRefusedAndQuotedSafely) {
    struct Case {
        std::string text;
        std::string message;
    };
    const Case cases[] = {
        {std::string("5\0 down up\n", 12), "s:1: '5\\x00' is not a tick number"},
        {std::string("1 down 0x1E\0\n", 14), "s:1: unknown key '0x1E\\x00'"},
        {"1 down " + std::string(5 << 20, 'k') + "\x1b\n",
         "s:1: unknown key '" + std::string(60, 'k') + "'..."},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(parse_input_script(c.text, "s", error));
        EXPECT_EQ(error, c.message);
    }
}

// Only a file read to its end is a script: a missing file or a directory is
// an error with the system's reason, never an empty script.
TEST_F(InputScriptTest, UnreadableFilesAreErrors) {
    struct Case {
        const char* path;
        const char* message;
    };
    const Case cases[] = {
        {"/nonexistent/walk.txt", "/nonexistent/walk.txt: cannot be read: No such file or directory"},
        {"/tmp", "/tmp: cannot be read: Is a directory"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(load_input_script(c.path, error));
        EXPECT_EQ(error, c.message);
    }
}
