// A clean physics world for each test.
#pragma once

#include "game/game_flow.h"
#include "physics/body.h"
#include "physics/collide.h"
#include "physics/joint.h"

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
