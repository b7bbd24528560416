#include "app/input.h"
#include "app/main_loop.h"
#include "app/settings.h"
#include "game/arena.h"
#include "game/camera.h"
#include "game/game_flow.h"
#include "game/menu.h"
#include "game/scoring.h"
#include "physics/fracture.h"
#include "physics_fixture.h"
#include "render/scene_fade.h"
#include "render/text_queue.h"
#include "wrestler/wrestler.h"

#include <cmath>
#include <string>
#include <vector>

using namespace bb;

namespace {

struct GameFlowTest : PhysicsWorldTest {
    void SetUp() override {
        PhysicsWorldTest::SetUp();
        input_reset();
        QuitRequested = 0;
        Score[0] = Score[1] = 0;
        TwoPlayers = 0;
        MenuPage = 0;
        DemoMode = false;
        LightCount = 4;
        ShadowsOn = 1;
        ClickCooldown = 0;
    }
    void TearDown() override {
        input_reset();
        QuitRequested = 0;
        LightCount = 4;
        ShadowsOn = 1;
    }
    void ticks(int n, uint8_t draw = 1) {
        for (int i = 0; i < n; i++) game_tick(draw);
    }
};

std::vector<std::string> texts() {
    std::vector<std::string> out;
    for (int i = 0; i < QueuedTexts.Count; i++)
        out.push_back(QueuedTexts.Pool + QueuedTexts.Offsets[i]);
    return out;
}

bool has_text(const std::string& t) {
    for (const std::string& s : texts())
        if (s == t) return true;
    return false;
}

} // namespace

TEST_F(GameFlowTest, EscapeQuitsFromTheMenuAndReturnsToItElsewhere) {
    build_menu();
    ticks(5);
    input_key_down(ScanEscape);
    ticks(1, 0); // a tick without drawing reacts too
    EXPECT_EQ(QuitRequested, 1);

    QuitRequested = 0;
    input_reset();
    for (void (*start)() : {start_bout, start_hidden_part}) {
        start();
        ticks(5);
        input_key_down(ScanEscape);
        ticks(1, 0);
        EXPECT_EQ(GameState, Menu);
        EXPECT_EQ(QuitRequested, 0);
        EXPECT_EQ(InputState.EscapeRequested, 0);
        EXPECT_EQ(MenuPage, 0);
    }
}

TEST_F(GameFlowTest, WinRule) {
    struct Case {
        int s0, s1;
        bool over;
    };
    const Case cases[] = {{5, 3, true},  {5, 4, false}, {6, 4, true}, {7, 6, false},
                          {4, 2, false}, {3, 5, true},  {0, 0, false}};
    for (const Case& c : cases) {
        Score[0] = c.s0;
        Score[1] = c.s1;
        EXPECT_EQ(game_over(), c.over) << c.s0 << ":" << c.s1;
    }
    Score[0] = 12;
    Score[1] = 3;
    char text[6];
    format_score(text);
    EXPECT_STREQ(text, "03:12");
    Score[0] = 150; // beyond two digits: shown as 99
    format_score(text);
    EXPECT_STREQ(text, "03:99");
}

TEST_F(GameFlowTest, ResultScreenAndTheSpaceBar) {
    start_bout();
    ticks(10);
    GameState = BoutRunning;
    BoutStartTick = TickCount - 100;
    // A space press during the running bout is cleared on the next drawing tick.
    input_key_down(ScanSpace);
    ticks(1);
    EXPECT_EQ(InputState.KeyPressed[ScanSpace], 0);
    decide_bout(Wrestlers[0], *Wrestlers[0].FigureBodies[Head]);
    ticks(1, 0);
    EXPECT_EQ(QueuedTexts.Count, 0); // texts only on drawing ticks
    ticks(1);
    EXPECT_EQ(GameState, BoutDecided);
    EXPECT_TRUE(has_text("Winner\n  <-  "));
    EXPECT_TRUE(has_text("Space to continue"));
    EXPECT_TRUE(has_text("01:00"));
    // Space on a drawing tick: the next bout, with a cube of the score on the ring.
    input_key_down(ScanSpace);
    ticks(1);
    EXPECT_EQ(GameState, BoutWaiting);
    EXPECT_EQ(Score[1], 1);
    EXPECT_TRUE(has_text("01:00"));
    EXPECT_FALSE(
        has_text(std::string("Controls:\n DOWN      - start match\n UP        - walk forward\n"
                             " BACKSPACE - Push\n ENTER     - Push 1 hand")));
    EXPECT_EQ(BodyCount, 57 + 1 + 30);
    EXPECT_EQ(Bodies[57].TextureIndex, 3);
    EXPECT_NEAR(Bodies[57].Position.x, -29.0f, 1e-4f);
}

TEST_F(GameFlowTest, GameOverReturnsToTheMenu) {
    Score[0] = 4;
    Score[1] = 1;
    start_bout();
    ticks(10);
    GameState = BoutRunning;
    BoutStartTick = TickCount - 100;
    decide_bout(Wrestlers[1], *Wrestlers[1].FigureBodies[Pelvis]);
    ticks(1);
    EXPECT_TRUE(has_text(" Game \n  ->  "));
    EXPECT_TRUE(has_text("           \n Game Over \n           "));
    EXPECT_TRUE(has_text("Winner\n  ->  "));
    EXPECT_TRUE(has_text("Space to main menu"));
    input_key_down(ScanSpace);
    ticks(1);
    EXPECT_EQ(GameState, Menu);
    EXPECT_EQ(Score[0], 5); // kept until a new game is chosen
}

TEST_F(GameFlowTest, WaitingTextsBeforeTheFirstBoutOnly) {
    TwoPlayers = 1;
    start_bout();
    ticks(1);
    EXPECT_EQ(QueuedTexts.Count, 3); // both controls and the score
    TwoPlayers = 0;
    start_bout();
    ticks(1);
    EXPECT_EQ(QueuedTexts.Count, 2);
}

TEST_F(GameFlowTest, ClickCooldownOfSixtyTicks) {
    for (int gap : {30, 61}) {
        SetUp();
        build_menu();
        ticks(100);
        auto cubes = [] {
            int n = 0;
            for (int i = 0; i < BodyCount; i++)
                n +=
                    Bodies[i].SoundId == 6 && Bodies[i].SoundGain == 0.01f && Bodies[i].Volume > 80;
            return n;
        };
        input_click(532, 189);
        ticks(1);
        ticks(gap - 1);
        input_click(532, 189);
        ticks(1);
        EXPECT_EQ(cubes(), gap == 30 ? 1 : 2) << gap;
    }
}

TEST_F(GameFlowTest, LightingChoices) {
    struct Case {
        int item;
        int lights;
        int shadows;
    };
    for (const Case c : {Case{1, 2, 0}, Case{2, 2, 1}, Case{3, 4, 1}, Case{4, 12, 1}}) {
        SetUp();
        MenuPage = 1;
        build_menu();
        BrokenItemId = c.item; // as if its sign broke
        ticks(1);
        EXPECT_EQ(LightCount, c.lights);
        EXPECT_EQ(ShadowsOn, c.shadows);
        ticks(127);
        EXPECT_EQ(MenuPage, 0);
        EXPECT_EQ(GameState, Menu);
    }
}

TEST_F(GameFlowTest, ChoiceFadesForOneHundredTwentyEightTicks) {
    build_menu();
    ticks(10);
    BrokenItemId = 1;
    ticks(1);
    EXPECT_EQ(MenuFade, 253);
    EXPECT_EQ(SceneColour, static_cast<uint32_t>(std::sqrt(256.0 * 253)) * 0x010101u);
    ticks(126);
    EXPECT_EQ(GameState, Menu);
    ticks(1);
    EXPECT_EQ(GameState, BoutWaiting);
    EXPECT_EQ(SceneColour, 0u);
}

TEST_F(GameFlowTest, DebrisRebuildsTheMenuAndLeavesTheHiddenPart) {
    build_menu();
    ticks(2);
    while (BodyCount <= 200) make_box(1, -1, 1, 0, 100 + BodyCount * 3.0f, 0, 0, 1);
    ticks(1);
    EXPECT_EQ(GameState, Menu);
    EXPECT_LT(BodyCount, 200);

    start_hidden_part();
    while (BodyCount <= 400) make_box(1, -1, 1, 0, 100 + BodyCount * 3.0f, 0, 0, 1);
    ticks(1);
    EXPECT_EQ(GameState, Menu);
}

TEST_F(GameFlowTest, CameraDistancesOrbitAndMenuMatrix) {
    start_bout();
    // Wrestlers 10 and 40 apart: the eye stays 0.75 D from their midpoint.
    for (float apart : {10.0f, 40.0f}) {
        Vec3 c0 = wrestler_centre_of_mass(Wrestlers[0]);
        Vec3 c1 = wrestler_centre_of_mass(Wrestlers[1]);
        float now = std::hypot(c1.x - c0.x, c1.z - c0.z);
        for (Body* b : Wrestlers[1].FigureBodies) b->Position.z += apart - now;
        update_camera();
        c1 = wrestler_centre_of_mass(Wrestlers[1]);
        Vec3 mid = vec3_scale(vec3_add(c0, c1), 0.5f);
        float d = std::max(1.27f * std::sqrt(vec3_length_squared(vec3_sub(c0, c1))) + 10.0f, 40.0f);
        float eye = std::hypot(CameraState.PrevEye.x - mid.x, CameraState.PrevEye.z - mid.z);
        EXPECT_NEAR(eye, 0.75f * d, 0.01f) << apart;
        EXPECT_EQ(CameraState.PrevEye.y, 24.0f);
    }
    start_hidden_part();
    float heading = CameraState.Heading;
    input_key_down(ScanRight);
    for (int i = 0; i < 100; i++) update_camera();
    EXPECT_NEAR(CameraState.OrbitAngle, 2.0f, 1e-4f);
    EXPECT_EQ(CameraState.Heading, heading); // one wrestler: the heading never changes
    Vec3 c0 = wrestler_centre_of_mass(Wrestlers[0]);
    float eye = std::hypot(CameraState.PrevEye.x - c0.x, CameraState.PrevEye.z - c0.z);
    EXPECT_NEAR(eye, 0.75f * 50.0f, 0.01f);

    input_reset();
    build_menu();
    Mat3 expected;
    mat3_identity(expected);
    mat3_post_rotate_x(expected, 0.05f);
    mat3_post_rotate_y(expected, -1.6650441f);
    for (int tick = 0; tick < 3; tick++) {
        update_camera();
        for (int k = 0; k < 9; k++) EXPECT_EQ(CameraMatrix.m[k], expected.m[k]);
        EXPECT_EQ(CameraPosition.x, -129.0f);
    }
}

TEST_F(GameFlowTest, TextQuads) {
    mat3_identity(CameraMatrix);
    CameraPosition = {0, 0, 0};
    TickCount = 0;
    clear_text_queue();
    // At tick 0 the wobble phases are a = 1.1 and b = 0.
    Vec3 p = text_point_to_world(0, 0);
    float wx = 0.004f * std::sin(0.0f), wy = 0.0f;
    for (int i = 0; i < 3; i++) {
        wx = wx + (i == 0 ? 0 : 0.004f * std::sin(10 * wy));
        wy = wy + 0.004f * std::cos(10 * wx + 1.1f);
    }
    EXPECT_NEAR(p.z, 2.0f, 1e-6f);
    EXPECT_NEAR(p.y, wy, 1e-6f);

    draw_text(0, 0, "", 0xC0FFFFFFu);
    EXPECT_EQ(TextQueueCount, 0);
    draw_text(0.1f, 0.2f, "ab\ncd", 0xC0123456u);
    ASSERT_EQ(TextQueueCount, 4 * 18);
    // Outlines in black with the text's alpha, then the glyph in its colour.
    EXPECT_EQ(TextQueue[0].Colour, 0xC0000000u);
    EXPECT_EQ(TextQueue[11].Colour, 0xC0000000u);
    EXPECT_EQ(TextQueue[12].Colour, 0xC0123456u);
    // 'a' is code 97: cell (1, 6).
    EXPECT_FLOAT_EQ(TextQueue[12].U, 0.0625f);
    EXPECT_FLOAT_EQ(TextQueue[12].V, 0.375f);
    // The second line starts at the first's x, one line lower.
    Vec3 first = text_point_to_world(0.1f, 0.2f);
    Vec3 third = text_point_to_world(0.1f, 0.2f - 0.038f);
    EXPECT_NEAR(TextQueue[2 * 18 + 12].X, third.x, 1e-6f);
    EXPECT_NEAR(TextQueue[2 * 18 + 12].Y, third.y, 1e-6f);
    EXPECT_NE(first.y, third.y);
    // A full queue drops further characters.
    clear_text_queue();
    std::string lots(2000, 'x');
    draw_text(0, 0, lots.c_str(), 0xFFFFFFFFu);
    EXPECT_EQ(TextQueueCount, 1365 * 18);
}
