#include "scenes/physics_scenes.h"

#include "game/arena.h"
#include "game/game_flow.h"
#include "math/random_stream.h"
#include "physics/collide.h"
#include "physics/fracture.h"
#include "physics/joint.h"
#include "physics/world_step.h"
#include "wrestler/wrestler.h"

#include <cstring>

namespace bb {

void reset_physics_scene() {
    BodyCount = 0;
    JointCount = 0;
    ContactCount = 0;
    PenetrationCount = 0;
    WrestlersEnd = Wrestlers;
    BrokenItemId = 0;
    TickCount = 0;
    allocate_clip_scratch();
    random_seed(1434, 6431);
}

void add_arena_boxes() {
    // The game's own arena, as a bout has it.
    GameState = BoutWaiting;
    build_arena(0);
}

void add_two_jointed_figures() {
    for (int side = 0; side < 2; side++) {
        Body* below = nullptr;
        for (int k = 0; k < 15; k++) {
            Body* b =
                make_box(0.8f, -0.6f, 0.8f, side ? 6.0f : -6.0f, 5.62f + k * 1.2f, 0, 3, 0.125f);
            b->ContactIterations = 40;
            if (below) {
                Joint& j = Joints[JointCount++];
                j = Joint{};
                j.BodyA = below;
                j.BodyB = b;
                j.AnchorA = {0, 0.6f, 0};
                j.AnchorB = {0, -0.6f, 0};
                j.AxisA = j.AxisB = {0, -1, 0};
                j.RefA = j.RefB = {1, 0, 0};
                j.ConeLimit = 0.09f;
                j.TwistLimit = 0.16f;
            }
            below = b;
        }
    }
}

void build_bout_like_scene() {
    reset_physics_scene();
    add_arena_boxes();
    add_two_jointed_figures();
    rebuild_joint_links();
}

void build_cube_pile() {
    reset_physics_scene();
    make_static(*make_box(60, -1, 60, 0, -1, 0, 1, 0.03125f));
    for (int i = 0; i < 60; i++) {
        float x = (i % 5) * 2.2f - 4.4f + 0.3f * random_next();
        float z = ((i / 5) % 3) * 2.2f - 2.2f + 0.3f * random_next();
        make_box(1, -1, 1, x, 1.5f + (i / 15) * 2.3f, z, 2, 0.125f);
    }
}

void build_falling_and_breaking_scene() {
    reset_physics_scene();
    add_arena_boxes();
    for (int i = 0; i < 12; i++) {
        Body* b = make_box(1, -0.7f, 1.3f, (i % 3) * 0.7f, 8 + i * 1.6f, (i % 2) * 0.5f, 2, 0.125f);
        b->AngularVelocity = {0.01f * (i % 3), 0.02f, 0};
        b->SoundId = 6;
        b->SoundGain = 0.01f;
    }
    for (int i = 0; i < 4; i++) {
        Body* cube = make_box(1.2f, -1.2f, 1.2f, (i - 1.5f) * 18, 3, 30, 2, 0.125f);
        scale_mass(*cube, 3);
        cube->Velocity = {0, 0.0735f, 0.8f};
        cube->AngularVelocity = {0.1f, 0.1f, 0.1f};
    }
    rebuild_joint_links();
}

void step_scene(int ticks) {
    for (int i = 0; i < ticks; i++) {
        TickCount++;
        world_step();
    }
}

uint64_t hash_bodies() {
    uint64_t h = 1469598103934665603ull;
    auto mix = [&h](const void* data, size_t n) {
        const unsigned char* p = static_cast<const unsigned char*>(data);
        for (size_t i = 0; i < n; i++) h = (h ^ p[i]) * 1099511628211ull;
    };
    mix(&BodyCount, sizeof BodyCount);
    for (int i = 0; i < BodyCount; i++) {
        const Body& b = Bodies[i];
        mix(&b.Position, sizeof b.Position);
        mix(&b.Orientation, sizeof b.Orientation);
        mix(&b.Velocity, sizeof b.Velocity);
        mix(&b.AngularVelocity, sizeof b.AngularVelocity);
        mix(&b.Removed, sizeof b.Removed);
    }
    return h;
}

} // namespace bb
