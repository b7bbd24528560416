#include "app/input.h"
#include "audio/sound_effects.h"
#include "game/arena.h"
#include "game/game_flow.h"
#include "physics/world_step.h"
#include "physics_fixture.h"
#include "wrestler/control.h"

#include <cmath>

using namespace bb;

namespace {

struct ActionTest : GameSceneTest {
    // A lone practice figure, standing after a while.
    Wrestler& practice() {
        start_hidden_part();
        Wrestlers[0].ControlSource = 0;
        step(300);
        return Wrestlers[0];
    }
};

} // namespace

TEST_F(ActionTest, BothPushKeysStartAOneHandPush) {
    Wrestler& w = practice();
    ControlValues c = values_with(CommandPushBoth | CommandPushOne);
    arm_layer(w, w, c);
    EXPECT_EQ(w.ArmAction, 2);
}

TEST_F(ActionTest, TapSlapsOnceWithTheRearmostHand) {
    Wrestler& w = practice();
    // Put hand 1 behind hand 0 along Forward (0, 0, 1).
    w.FigureBodies[Hand1]->Position.z = w.FigureBodies[Hand0]->Position.z - 1;
    ControlValues c = values_with(CommandPushOne);
    arm_layer(w, w, c);
    EXPECT_EQ(w.ArmAction, 2);
    EXPECT_EQ(w.ArmSide, 1);
    int posing = 0;
    while (w.ArmAction == 2 && posing < 100) {
        ControlValues k = values_with(0);
        arm_layer(w, w, k);
        EXPECT_TRUE(k.AimSet[1]);
        EXPECT_FALSE(k.AimSet[0]); // no slap series
        posing++;
    }
    EXPECT_EQ(posing, 22); // ticks n = 0..21, the last one ending it
    EXPECT_EQ(w.ArmAction, 0);
    EXPECT_EQ(w.ArmCooldown, 9);
}

TEST_F(ActionTest, HeldSlapKeyGivesTwoHandSlapsEvery21Ticks) {
    Wrestler& w = practice();
    w.ArmCooldown = -50;
    int starts = 0, both = 0;
    int last_side = -1, alternations = 0;
    for (int tick = 0; tick < 200; tick++) {
        ControlValues c = values_with(CommandPushOne);
        int before = w.ArmTicks;
        arm_layer(w, w, c);
        if (w.ArmAction == 2 && w.ArmTicks <= before) {
            starts++;
            if (last_side >= 0 && w.ArmSide != last_side) alternations++;
            last_side = w.ArmSide;
        }
        if (c.AimSet[0] && c.AimSet[1]) both++;
    }
    EXPECT_GE(starts, 9);
    EXPECT_GT(both, 150); // after the first slap, both arms slap
    EXPECT_GE(w.ArmCooldown, 200);
}

TEST_F(ActionTest, TwoHandPushStraightensTheArmsAndLeansIn) {
    Wrestler& w = practice();
    ControlValues start = values_with(CommandPushBoth);
    arm_layer(w, w, start);
    ASSERT_EQ(w.ArmAction, 1);
    for (int n = 0; n <= 44; n++) {
        ControlValues c = values_with(0);
        arm_layer(w, w, c);
        float f = n < 8 ? 0.0f : n > 38 ? 1.0f : (n - 8) / 30.0f;
        EXPECT_FLOAT_EQ(c.AimWeight[0], f * 0.3f + 0.7f) << n;
        EXPECT_FLOAT_EQ(c.ElbowBend[1], (1 - f * f) * 2.7f) << n;
        EXPECT_EQ(w.Drives[Shoulder0].Strength, 0.14f);
        EXPECT_EQ(c.TurnGain, 0.5f);
        EXPECT_EQ(w.ArmAction, n < 44 ? 1 : 0) << n;
    }
    // Both hands touching something: the centre shifts by 2.7 backwards.
    w.ArmAction = 1;
    w.ArmTicks = 10;
    w.FigureBodies[Hand0]->LastContactTick = TickCount;
    w.FigureBodies[Hand1]->LastContactTick = TickCount;
    ControlValues c = values_with(0);
    arm_layer(w, w, c);
    EXPECT_FLOAT_EQ(c.Centre.z, -2.7f);
}

TEST_F(ActionTest, LimpDrivesAreOffButLowHandsReachUp) {
    Wrestler& w = practice();
    w.Gait = 3;
    w.GaitTicks = 0;
    for (Body* b : w.FigureBodies) b->Velocity = {1, 0, 0}; // moving: stays limp
    w.FigureBodies[Chest]->LastGroundTick = TickCount - 200;
    w.FigureBodies[Head]->LastGroundTick = TickCount - 200;
    ControlValues c = values_with(0);
    c.Support = {0, 100, 0}; // both hands count as low
    gait_limp(w, c);
    EXPECT_EQ(w.Gait, 3);
    for (int j = 0; j < FigureJointCount; j++) {
        bool arm = j == Shoulder0 || j == Elbow0 || j == Shoulder1 || j == Elbow1;
        EXPECT_EQ(w.Drives[j].Strength, arm ? 0.01f : 0.0f) << j;
    }
    // The head on the ground: every drive off.
    w.FigureBodies[Head]->LastGroundTick = TickCount;
    gait_limp(w, c);
    for (int j = 0; j < FigureJointCount; j++) EXPECT_EQ(w.Drives[j].Strength, 0.0f);
    // At rest it starts getting up.
    for (Body* b : w.FigureBodies) b->Velocity = b->AngularVelocity = {0, 0, 0};
    gait_limp(w, c);
    EXPECT_EQ(w.Gait, 12);
    EXPECT_EQ(w.GaitTicks, 1);
}

TEST_F(ActionTest, GetUpRampsTheRestPose) {
    Wrestler& w = practice();
    w.Gait = 12;
    w.GaitTicks = 0;
    for (int t = 0; t <= 200; t++) {
        ControlValues c = values_with(0);
        w.GaitTicks = t;
        w.Gait = 12;
        gait_get_up(w, c);
        float expected = std::min(t * 0.00025f, 0.05f);
        if (t == 0 || t == 1 || t == 2 || t == 200) {
            EXPECT_FLOAT_EQ(w.Drives[Waist].Strength, expected) << t;
        }
    }
    EXPECT_FLOAT_EQ(w.Drives[Waist].Strength, 0.05f);
    EXPECT_EQ(w.WalkDrive.x, 0.0f);
}

TEST_F(ActionTest, OnItsBackItRollsToTheOtherSideEachAttempt) {
    Wrestler& w = practice();
    // Lay the pelvis on its back: its local z (forward) points up.
    mat3_identity(w.FigureBodies[Pelvis]->Orientation);
    mat3_post_rotate_x(w.FigureBodies[Pelvis]->Orientation, 1.5707964f);
    ASSERT_GT(mat3_transpose_mul_vec(Vec3{0, 0, 1}, w.FigureBodies[Pelvis]->Orientation).y, 0.5f);
    int side = w.RollSide;
    for (int attempt = 0; attempt < 2; attempt++) {
        w.Gait = 12;
        w.GaitTicks = 100;
        ControlValues c = values_with(0);
        gait_get_up(w, c);
        EXPECT_EQ(w.Gait, 13);
        EXPECT_EQ(w.RollSide, attempt == 0 ? 1 - side : side);
        EXPECT_EQ(w.HipFold, 0.0f);
    }
}

TEST_F(ActionTest, FinalStageEndsWhenAFootLeftTheGround) {
    Wrestler& w = practice();
    w.Gait = 12;
    w.GaitTicks = 20050;
    w.KneeFold = 2;
    w.HipFold = 2;
    w.FigureBodies[Foot0]->LastGroundTick = TickCount;
    w.FigureBodies[Foot1]->LastGroundTick = TickCount - 301;
    ControlValues c = values_with(0);
    c.Support = {0, -100, 0}; // the head is high above it: the attempt counts as up
    w.BalanceGain = 0.5f;
    gait_get_up(w, c);
    EXPECT_EQ(w.Gait, 0);
    EXPECT_EQ(w.GaitTicks, 1);
    EXPECT_EQ(w.BalanceGain, 0.0f);
    EXPECT_EQ(w.FootTarget[0].x, 0.3f);
    EXPECT_EQ(w.FootTarget[1].x, -0.3f);
    EXPECT_EQ(w.FootTarget[1].y, w.StandHeight);
}

TEST_F(ActionTest, SuccessfulAttemptStandsWithNarrowFeet) {
    Wrestler& w = practice();
    w.Gait = 12;
    w.GaitTicks = 20100;
    w.KneeFold = 2;
    w.HipFold = 0.2f; // unfolded: up
    w.FigureBodies[Foot0]->LastGroundTick = TickCount;
    w.FigureBodies[Foot1]->LastGroundTick = TickCount;
    ControlValues c = values_with(0);
    c.Support = {0, -100, 0};
    gait_get_up(w, c);
    EXPECT_EQ(w.Gait, 0);
    EXPECT_EQ(w.BalanceGain, 0.0f);
    EXPECT_EQ(w.FootTarget[0].x, 0.3f);
    EXPECT_EQ(w.Pitch, 0.0f);
    EXPECT_EQ(w.WeightShare, 0.5f);
}

TEST_F(ActionTest, SettleNeeds101CalmTicks) {
    Wrestler& w = practice();
    w.Phase = 4;
    w.PhaseTicks = 100;
    w.BalanceError = {0.7f, 0, 0}; // knocked off balance at T = 100
    ControlValues c = values_with(CommandWalk);
    phase_layer(w, w, c);
    EXPECT_EQ(w.Phase, 4);
    EXPECT_EQ(w.PhaseTicks, 1);
    EXPECT_EQ(c.Command, 0);
    w.BalanceError = {0, 0, 0};
    for (int i = 0; i < 100; i++) phase_layer(w, w, c);
    EXPECT_EQ(w.Phase, 4);
    phase_layer(w, w, c);
    EXPECT_EQ(w.Phase, 1);
}

TEST_F(ActionTest, CrouchInHoldsItsCountWhileStepping) {
    Wrestler& w = practice();
    w.Phase = 1;
    w.PhaseTicks = 50;
    w.Gait = 9;
    ControlValues c = values_with(0);
    phase_layer(w, w, c);
    EXPECT_EQ(w.PhaseTicks, 49);
    EXPECT_TRUE(c.HoldSteps);
    w.PhaseTicks = 95;
    phase_layer(w, w, c);
    EXPECT_EQ(w.PhaseTicks, 90);
    w.Gait = 0;
    w.PhaseTicks = 80;
    phase_layer(w, w, c);
    EXPECT_EQ(w.Phase, 2);
    EXPECT_EQ(w.ArmAction, 3);
    EXPECT_EQ(w.PhaseTicks, 1);
}

TEST_F(ActionTest, BoutStartsWhenTheSecondPairOfHandsIsDown) {
    start_bout();
    step(5);
    for (Wrestler* w = Wrestlers; w != WrestlersEnd; w++) {
        w->Phase = 2;
        w->PhaseTicks = 100;
        w->FigureBodies[Hand0]->LastContactTick = w->FigureBodies[Hand1]->LastContactTick = -100;
    }
    Wrestlers[0].FigureBodies[Hand0]->LastContactTick = TickCount;
    ControlValues c = values_with(0);
    phase_layer(Wrestlers[0], Wrestlers[1], c);
    EXPECT_EQ(GameState, BoutWaiting);
    Wrestlers[1].FigureBodies[Hand1]->LastContactTick = TickCount;
    phase_layer(Wrestlers[1], Wrestlers[0], c);
    EXPECT_EQ(GameState, BoutRunning);
    EXPECT_EQ(BoutStartTick, TickCount);
    EXPECT_EQ(Wrestlers[1].Phase, 2); // it notices on its next tick
    phase_layer(Wrestlers[0], Wrestlers[1], c);
    EXPECT_EQ(Wrestlers[0].Phase, 3);
    EXPECT_EQ(Wrestlers[0].ArmAction, 0);
}

TEST_F(ActionTest, BowAndImpatienceTiming) {
    Wrestler& w = practice();
    Wrestler o = w;
    // Two calm wrestlers after a bout bow once both have been calm 100 ticks.
    w.Phase = o.Phase = 5;
    w.PhaseTicks = 0;
    o.PhaseTicks = 101;
    int ticks = 0;
    while (w.Phase == 5 && ticks < 1000) {
        ControlValues c = values_with(0);
        phase_layer(w, o, c);
        ticks++;
    }
    EXPECT_EQ(w.Phase, 6);
    EXPECT_EQ(ticks, 102);
    int bow = 0;
    while (w.Phase == 6 && bow < 1000) {
        ControlValues c = values_with(0);
        phase_layer(w, o, c);
        bow++;
    }
    EXPECT_EQ(bow, 141);
    EXPECT_EQ(w.Phase, 0);
    EXPECT_EQ(w.BowBend, 0.0f);

    // An opponent that never calms down: bob after 701 calm ticks, then count from -500.
    w.Phase = 5;
    w.PhaseTicks = 0;
    o.Phase = 5;
    o.PhaseTicks = 0;
    ticks = 0;
    while (w.Phase == 5 && ticks < 2000) {
        ControlValues c = values_with(0);
        phase_layer(w, o, c);
        o.PhaseTicks = 0;
        ticks++;
    }
    EXPECT_EQ(w.Phase, 7);
    EXPECT_EQ(ticks, 702);
    while (w.Phase == 7) {
        ControlValues c = values_with(0);
        phase_layer(w, o, c);
    }
    EXPECT_EQ(w.Phase, 5);
    EXPECT_EQ(w.PhaseTicks, -499);
}

TEST_F(ActionTest, FlinchReturnsToFreePlayOrTheAfterBoutPhase) {
    for (int state : {HiddenPart, BoutDecided}) {
        Wrestler& w = practice();
        GameState = state;
        int64_t sounds = SoundTriggerCount;
        flinch(w);
        EXPECT_EQ(SoundTriggerCount - sounds, 1);
        EXPECT_EQ(RecentSoundTriggers[(SoundTriggerCount - 1) % RecentSoundTriggerCount].VoiceId,
                  2);
        int ticks = 0;
        while (w.Phase == 8 && ticks < 200) {
            ControlValues c = values_with(0);
            phase_layer(w, w, c);
            ticks++;
        }
        EXPECT_EQ(ticks, 77);
        EXPECT_EQ(w.Phase, state == HiddenPart ? 0 : 5);
        EXPECT_EQ(w.PhaseTicks, -199);
    }
}

TEST_F(ActionTest, ComputerOpponent) {
    start_bout();
    step(3);
    GameState = BoutRunning;
    Wrestler& w = Wrestlers[1];
    Wrestler& o = Wrestlers[0];
    auto place = [&](float ahead) {
        // Move o's pelvis straight ahead of w's along w's facing.
        Vec3 side = mat3_row(w.FigureBodies[Pelvis]->Orientation, 0);
        Vec3 forward = vec3_cross(vec3_normalized(Vec3{side.x, 0, side.z}), Vec3{0, 1, 0});
        o.FigureBodies[Pelvis]->Position =
            vec3_add(w.FigureBodies[Pelvis]->Position, vec3_scale(forward, ahead));
        for (Wrestler* x : {&w, &o}) {
            x->BalanceError = x->WalkDrive = Vec3{0, 0, 0};
            for (Body* b : x->FigureBodies) b->Velocity = Vec3{0, 0, 0};
        }
    };
    ControlValues c = values_with(0);
    w.Urge = 0;
    place(10);
    EXPECT_EQ(computer_commands(w, o, c), CommandWalk);
    place(4);
    EXPECT_EQ(computer_commands(w, o, c), CommandPushBoth);
    EXPECT_EQ(computer_commands(w, o, c), CommandPushBoth);
    EXPECT_EQ(computer_commands(w, o, c), CommandPushOne);
    EXPECT_EQ(w.Urge, 24);
    place(-10); // behind: never walk towards it
    EXPECT_EQ(computer_commands(w, o, c) & CommandWalk, 0);

    GameState = BoutWaiting;
    place(30);
    for (int tick : {150, 151, 299, 300, 451}) {
        TickCount = tick;
        bool start = tick % 300 > 150;
        EXPECT_EQ(computer_commands(w, o, c), start ? CommandStart : CommandWalk) << tick;
    }
}

TEST_F(ActionTest, ComputerInTheHiddenPartOnlyFlinches) {
    start_hidden_part();
    step(20);
    Wrestler& w = Wrestlers[0];
    ControlValues c = values_with(0);
    w.FigureBodies[Pelvis]->LastContactTick = TickCount;
    EXPECT_EQ(computer_commands(w, w, c), 0);
    EXPECT_EQ(w.Phase, 8);
}
