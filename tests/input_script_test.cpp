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
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(parse_input_script(c.text, "walk.txt", error));
        EXPECT_EQ(error.rfind(c.message, 0), 0u) << error;
    }
    // A failed script leaves no events behind.
    apply_input_events(100);
    EXPECT_EQ(InputState.KeyDown[ScanUp], 0);
    std::string error;
    EXPECT_FALSE(load_input_script("/nonexistent/walk.txt", error));
    EXPECT_NE(error.find("cannot be read"), std::string::npos);
}
