#include "app/input.h"
#include "game/arena.h"
#include "game/game_flow.h"
#include "physics/world_step.h"
#include "physics_fixture.h"
#include "wrestler/control.h"

#include <cmath>

using namespace bb;

namespace {

using ControlTest = GameSceneTest;

} // namespace

TEST(WrestlerGeometry, NegatedCosineAndDownCone) {
    EXPECT_EQ(negated_cosine(4.7f, 4.1f, 8.8f), 1.0f);
    EXPECT_EQ(negated_cosine(4.1f, 4.7f, 0.5f), -1.0f);
    EXPECT_NEAR(negated_cosine(3, 4, 5), 0.0f, 1e-6f);
    // Outside the triangle but not caught by the guards: held to [-1, 1].
    EXPECT_LE(negated_cosine(4.7f, 4.1f, 0.3f), 1.0f);
    EXPECT_GE(negated_cosine(4.7f, 4.1f, 0.3f), -1.0f);

    Vec3 down = {0, -1, 0};
    clamp_to_down_cone(down, 0.3f);
    EXPECT_EQ(down.y, -1.0f);
    Vec3 flat = {0, 0, 1};
    clamp_to_down_cone(flat, 0.3f);
    EXPECT_NEAR(flat.y, -std::cos(0.3f), 1e-6f);
    EXPECT_NEAR(flat.z, std::sin(0.3f), 1e-6f);
    EXPECT_EQ(flat.x, 0.0f);

    EXPECT_FLOAT_EQ(limit_filter_input(0.35f), 0.105f);
    EXPECT_FLOAT_EQ(limit_filter_input(-0.35f), 0.105f);
    EXPECT_EQ(limit_filter_input(0.2f), 0.2f);
}

TEST_F(ControlTest, CommandWordMasking) {
    start_bout();
    Wrestler& w = Wrestlers[0];
    ControlValues c = values_with(0);
    InputState.KeyDown[ScanUp] = 1;
    InputState.KeyDown[ScanDown] = 1;
    InputState.KeyDown[ScanEnter] = 1;
    InputState.KeyDown[ScanW] = 1; // the other key set
    struct Case {
        int phase;
        int state;
        int command;
    };
    const Case cases[] = {
        {0, BoutRunning, 4 | 8 | 32}, {3, BoutRunning, 4 | 8 | 32}, {1, BoutWaiting, 8},
        {2, BoutWaiting, 8},          {4, BoutWaiting, 8},          {5, BoutRunning, 8},
        {8, BoutRunning, 8},          {0, BoutDecided, 0},
    };
    for (const Case& k : cases) {
        w.Phase = k.phase;
        GameState = k.state;
        EXPECT_EQ(command_word(w, Wrestlers[1], c), k.command) << k.phase << " " << k.state;
    }
    w.ControlSource = 1;
    w.Phase = 0;
    GameState = BoutRunning;
    EXPECT_EQ(command_word(w, Wrestlers[1], c), 4);
    w.ControlSource = 7;
    EXPECT_EQ(command_word(w, Wrestlers[1], c), 0);
}

TEST_F(ControlTest, RefereeWindowExemptionAndOutsideRule) {
    struct Case {
        const char* what;
        int body;
        int since_start;
        bool ground, outside;
        bool decided;
    };
    const Case cases[] = {
        {"hand down 51 ticks after the start", Hand0, 51, true, false, true},
        {"hand down 50 ticks after the start", Hand0, 50, true, false, false},
        {"foot on the ground inside", Foot0, 100, true, false, false},
        {"shin on the ground inside", Shin1, 100, true, false, false},
        {"foot on the ground outside", Foot1, 100, true, true, true},
        {"pelvis down", Pelvis, 100, true, false, true},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        SetUp();
        start_bout();
        step(5);
        GameState = BoutRunning;
        BoutStartTick = TickCount - k.since_start;
        Body& b = *Wrestlers[1].FigureBodies[k.body];
        if (k.ground) b.LastGroundTick = TickCount;
        if (k.outside) b.LastOutsideTick = TickCount;
        int bodies = BodyCount;
        controller_tick(Wrestlers[1], Wrestlers[0]);
        EXPECT_EQ(GameState == BoutDecided, k.decided);
        if (k.decided) {
            EXPECT_EQ(LastWinner, 0);
            EXPECT_EQ(Score[0], 1);
            EXPECT_EQ(Score[1], 0);
            EXPECT_EQ(Wrestlers[0].Phase, 5);
            EXPECT_EQ(Wrestlers[1].Phase, 5);
            EXPECT_EQ(BodyCount, bodies + 1); // the winner's cube
            EXPECT_EQ(Bodies[bodies].TextureIndex, 2);
        }
    }
}

TEST_F(ControlTest, WalkingImpulseTendsTo0768) {
    start_hidden_part();
    Wrestlers[0].ControlSource = 0;
    InputState.KeyDown[ScanUp] = 1;
    step(150);
    float drive = std::sqrt(vec3_length_squared(Wrestlers[0].WalkDrive));
    EXPECT_NEAR(drive, 0.768f * (1 - std::pow(0.96f, 150.0f)), 0.005f);
}

TEST_F(ControlTest, BalanceGainRampsAndTheFigureStands) {
    start_hidden_part();
    step(100);
    EXPECT_NEAR(Wrestlers[0].BalanceGain, 1 - std::pow(0.99, 100), 1e-4);
    step(900);
    EXPECT_GT(Wrestlers[0].FigureBodies[Head]->Position.y, 24.0f);
}

TEST_F(ControlTest, TurnsKeepTheFeetSymmetricOrAreRefused) {
    start_hidden_part();
    Wrestler& w = Wrestlers[0];
    ControlValues c = values_with(0);
    c.TurnGain = 1;
    c.TurnCommand = 1.3f; // foot 0 would come within 0.2 of the centre line
    synthesise_pose(w, w, c);
    EXPECT_EQ(w.FootTarget[0].x, 0.5f);
    EXPECT_EQ(w.FootTarget[0].z, 0.0f);
    EXPECT_EQ(w.FootTarget[1].x, -0.5f);
    c.TurnCommand = 0.1f;
    synthesise_pose(w, w, c);
    EXPECT_NEAR(w.FootTarget[0].z, -0.5f * std::sin(0.1f), 1e-6f);
    EXPECT_EQ(w.FootTarget[1].x, -w.FootTarget[0].x);
    EXPECT_EQ(w.FootTarget[1].z, -w.FootTarget[0].z);
}

TEST_F(ControlTest, BalanceStepConditions) {
    struct Case {
        const char* what;
        int tick;
        bool feet_touching;
        bool hold;
        bool steps;
    };
    const Case cases[] = {
        {"after tick 250", 251, true, false, true},
        {"not before tick 250", 250, true, false, false},
        {"not with both feet in the air", 400, false, false, false},
        {"not while steps are held", 400, true, true, false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        SetUp();
        start_hidden_part();
        Wrestler& w = Wrestlers[0];
        w.FootTarget[0] = {1.1f, -7.9f, 0};
        w.FootTarget[1] = {-1.1f, -7.9f, 0};
        TickCount = k.tick;
        int touched = k.feet_touching ? k.tick - 5 : k.tick - 30;
        w.FigureBodies[Foot0]->LastContactTick = touched;
        w.FigureBodies[Foot1]->LastContactTick = touched;
        ControlValues c = values_with(0);
        c.Centre = {0, 0, 2}; // the centre well ahead of the support
        c.HoldSteps = k.hold;
        gait_stand(w, c);
        EXPECT_EQ(w.Gait == 8, k.steps);
    }
}

TEST_F(ControlTest, StraightAheadBalanceStep) {
    start_hidden_part();
    Wrestler& w = Wrestlers[0];
    w.FootTarget[0] = {1.1f, -7.9f, 0};
    w.FootTarget[1] = {-1.1f, -7.9f, 0};
    TickCount = 300;
    w.FigureBodies[Foot0]->LastContactTick = 299;
    ControlValues c = values_with(0);
    c.Centre = {0, 0, 2};
    gait_stand(w, c);
    ASSERT_EQ(w.Gait, 8);
    EXPECT_EQ(w.GaitTicks, 0);
    EXPECT_FLOAT_EQ(w.StepVector.z, 3.0f); // L = 1.5 d, d = 2
    // x only from the widening bias: f = (1.1 - 0.5) 0.2 - 0.16.
    EXPECT_NEAR(w.StepVector.x, 0.04f, 1e-6f);
    EXPECT_EQ(w.StepSide, 0);
}

TEST_F(ControlTest, StanceResetOnThe90thStandingTick) {
    start_hidden_part();
    Wrestler& w = Wrestlers[0];
    w.GaitTicks = 88;
    ControlValues c = values_with(0);
    gait_stand(w, c);
    EXPECT_EQ(w.Gait, 0);
    gait_stand(w, c);
    ASSERT_EQ(w.Gait, 8);
    EXPECT_EQ(w.StepSide, 1);
    EXPECT_NEAR(w.StepVector.x, -0.6f, 1e-6f);
    int ticks = 0;
    while (w.Gait != 0 && ticks < 100) {
        ControlValues s = values_with(0);
        if (w.Gait == 8)
            gait_push_off(w, s);
        else
            gait_swing(w, s);
        ticks++;
    }
    EXPECT_EQ(ticks, 26);
    EXPECT_NEAR(w.FootTarget[1].x, -1.1f, 0.01f);
    EXPECT_NEAR(w.FootTarget[0].x, 1.1f, 0.01f);
    EXPECT_EQ(w.FootTarget[1].y, w.StandHeight);
    EXPECT_EQ(w.StepSide, 0);
}
