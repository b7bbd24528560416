#include "game/arena.h"
#include "game/game_flow.h"
#include "physics/world.h"
#include "physics_fixture.h"
#include "wrestler/wrestler.h"

#include <cmath>

using namespace bb;

namespace {

struct ArenaTest : PhysicsWorldTest {
    void SetUp() override {
        PhysicsWorldTest::SetUp();
        Score[0] = Score[1] = 0;
        GameState = BoutWaiting;
        MenuPage = 0;
        TwoPlayers = 0;
    }
};

} // namespace

TEST_F(ArenaTest, FiftySevenStaticBodies) {
    build_arena(0);
    ASSERT_EQ(BodyCount, 57);
    for (int i = 0; i < BodyCount; i++) EXPECT_EQ(Bodies[i].Fixed, 1) << i;
    EXPECT_EQ(JointCount, 0);
    EXPECT_EQ(WrestlersEnd, Wrestlers);
    EXPECT_EQ(ShadowLength, 40.0f);

    // The ring: top at y = 5 reaching +-31, base reaching z = +-35.8.
    const Body& ring = Bodies[1];
    for (const BodyVertex* v = ring.Vertices; v != ring.VerticesEnd; v++) {
        Vec3 p = body_to_world(ring, v->Position);
        if (p.y > 4) {
            EXPECT_NEAR(p.y, 5.0f, 1e-5f);
            EXPECT_NEAR(std::fabs(p.z), 31.0f, 1e-4f);
        } else {
            EXPECT_NEAR(p.y, -1.0f, 1e-5f);
            EXPECT_NEAR(std::fabs(p.z), 35.8f, 1e-4f);
            EXPECT_NEAR(std::fabs(p.x), 31.0f, 1e-4f);
        }
    }
    EXPECT_GT(ring.Volume, 0);
    // Walls: breakable blocks; side 2 at z = -54.
    EXPECT_EQ(Bodies[2].BreakThreshold, 40.0f);
    EXPECT_EQ(Bodies[2].Density, 3.0f);
    EXPECT_NEAR(Bodies[2 + 12].Position.z, -54.0f, 1e-4f);
    // Bales: a closed circle of radius 27 at height 5.
    for (int k = 0; k < 31; k++) {
        const Body& bale = Bodies[26 + k];
        EXPECT_NEAR(std::hypot(bale.Position.x, bale.Position.z), 27.0f, 1e-4f);
        EXPECT_NEAR(bale.Position.y, 5.0f, 1e-5f);
    }
}

TEST_F(ArenaTest, MenuItemOnlyOnTheMenusMainPage) {
    struct Case {
        int state, page;
        bool marked;
    };
    for (const Case k : {Case{Menu, 0, true}, Case{Menu, 1, false}, Case{BoutWaiting, 0, false},
                         Case{HiddenPart, 0, false}}) {
        GameState = k.state;
        MenuPage = k.page;
        build_arena(0);
        int marked = 0;
        for (int i = 0; i < BodyCount; i++) {
            if (Bodies[i].ItemId == 0) continue;
            marked++;
            EXPECT_EQ(Bodies[i].ItemId, 6);
            EXPECT_NEAR(Bodies[i].Position.x, -27.0f, 1e-4f);
            EXPECT_NEAR(Bodies[i].Position.z, -54.0f, 1e-4f);
        }
        EXPECT_EQ(marked, k.marked ? 1 : 0);
    }
}

TEST_F(ArenaTest, ThrownCubeRisesAt0147) {
    build_arena(0);
    throw_cube({0, 10, 0}, {30, 10, 0}, 30, 2);
    const Body& cube = Bodies[BodyCount - 1];
    EXPECT_FLOAT_EQ(cube.Velocity.y, 0.147f);
    EXPECT_FLOAT_EQ(cube.Velocity.x, 1.0f);
    EXPECT_FLOAT_EQ(cube.Mass, 3 * cube.Volume);
    EXPECT_EQ(cube.SoundId, 6);
    // A full world throws nothing.
    while (BodyCount < MaxBodies) make_box(1, -1, 1, 0, 0, 0, 0, 1);
    throw_cube({0, 10, 0}, {30, 10, 0}, 30, 2);
    EXPECT_EQ(BodyCount, MaxBodies);
}

TEST_F(ArenaTest, BoutScoreCubesAndWrestlers) {
    Score[0] = 3;
    Score[1] = 5;
    start_bout();
    EXPECT_EQ(GameState, BoutWaiting);
    EXPECT_EQ(TickCount, 0);
    EXPECT_EQ(BodyCount, 57 + 8 + 30);
    EXPECT_EQ(JointCount, 28);
    EXPECT_EQ(WrestlersEnd - Wrestlers, 2);
    const float heights[] = {6.2f, 8.612f, 11.024f};
    for (int n = 0; n < 3; n++) {
        const Body& cube = Bodies[57 + n];
        EXPECT_NEAR(cube.Position.y, heights[n], 1e-4f);
        EXPECT_EQ(cube.Position.x, 29.0f);
        EXPECT_EQ(cube.TextureIndex, 2);
    }
    EXPECT_EQ(Bodies[57 + 3].Position.x, -29.0f);
    EXPECT_EQ(Bodies[57 + 3].TextureIndex, 3);
    Mat3 turn = Bodies[57 + 4].Orientation;
    EXPECT_EQ(Wrestlers[0].Phase, 4);
    EXPECT_EQ(Wrestlers[1].ControlSource, 2);
    EXPECT_NE(Wrestlers[0].FigureBodies[0]->JointLinks, nullptr);

    // The next bout with the same score turns its cubes the same way.
    start_bout();
    for (int k = 0; k < 9; k++) EXPECT_EQ(Bodies[57 + 4].Orientation.m[k], turn.m[k]);

    Score[0] = Score[1] = 0;
    TwoPlayers = 1;
    start_bout();
    EXPECT_EQ(BodyCount, 57 + 30);
    EXPECT_EQ(Wrestlers[1].ControlSource, 1);
}

TEST_F(ArenaTest, HiddenPartHasOneComputerWrestler) {
    start_hidden_part();
    EXPECT_EQ(GameState, HiddenPart);
    EXPECT_EQ(WrestlersEnd - Wrestlers, 1);
    EXPECT_EQ(Wrestlers[0].ControlSource, 2);
    EXPECT_EQ(Wrestlers[0].Phase, 0);
    EXPECT_EQ(BodyCount, 57 + 15);
}
