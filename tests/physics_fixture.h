// A clean physics world for each test.
#pragma once

#include "app/input.h"
#include "game/game_flow.h"
#include "physics/body.h"
#include "physics/collide.h"
#include "physics/joint.h"
#include "physics/world_step.h"
#include "wrestler/control.h"

#include <gtest/gtest.h>

struct PhysicsWorldTest : ::testing::Test {
    void SetUp() override {
        bb::BodyCount = 0;
        bb::JointCount = 0;
        bb::ContactCount = 0;
        bb::PenetrationCount = 0;
        bb::DroppedContacts = 0;
        bb::TickCount = 77;
        bb::allocate_clip_scratch();
    }
};

// A clean world for scenes of the game: no keys held, no score, and a way to
// step the world as the game does.
struct GameSceneTest : PhysicsWorldTest {
    void SetUp() override {
        PhysicsWorldTest::SetUp();
        bb::input_reset();
        bb::Score[0] = bb::Score[1] = 0;
        bb::TwoPlayers = 0;
        bb::GameState = 0;
        bb::MenuPage = 0;
    }
    void TearDown() override { bb::input_reset(); }
    void step(int ticks) {
        for (int i = 0; i < ticks; i++) {
            bb::TickCount++;
            bb::world_step();
        }
    }
};

// A standing figure's working values facing +z, with nothing pushing it.
inline bb::ControlValues values_with(int command) {
    bb::ControlValues c = {};
    c.Side = {1, 0, 0};
    c.Forward = {0, 0, 1};
    c.Command = command;
    return c;
}
