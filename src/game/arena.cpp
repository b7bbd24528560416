#include "game/arena.h"

#include "app/input.h"
#include "audio/music_control.h"
#include "game/camera.h"
#include "game/game_flow.h"
#include "math/random_stream.h"
#include "physics/joint.h"
#include "physics/world.h"
#include "wrestler/wrestler.h"

#include <cstring>

namespace bb {

float ShadowLength = 40.0f;

// Turns a body's axes and its centre about the vertical through the origin.
static void turn_about_y(Body& b, float angle) {
    Vec3 w = {0, angle, 0};
    for (int r = 0; r < 3; r++) {
        Vec3 row = mat3_row(b.Orientation, r);
        vec3_rotate_by_vector(row, w);
        b.Orientation.m[3 * r] = row.x;
        b.Orientation.m[3 * r + 1] = row.y;
        b.Orientation.m[3 * r + 2] = row.z;
    }
    vec3_rotate_by_vector(b.Position, w);
}

void build_arena(int texture) {
    std::memset(Joints, 0, sizeof Joints);
    JointCount = 0;
    BodyCount = 0;
    WrestlersEnd = Wrestlers;

    Body* ground = make_box(180, -3, 180, 0, -4, 0, 1, 0.03125f);
    make_static(*ground);

    // The ring's base reaches z = +-35.8 while its top stays at +-31: the front
    // and back sides slope.
    Body* ring = make_box(31, -3, 31, 0, 2, 0, texture, 0.0625f);
    for (BodyVertex* v = ring->Vertices; v != ring->VerticesEnd; v++)
        if (v->Position.y < 0.0f) v->Position.z *= 1.1548387f;
    recentre_body(*ring, 1);
    finish_body(*ring);
    make_static(*ring);

    for (int i = 0; i < 4; i++) {
        for (int j = 0; j < 6; j++) {
            Body* block = make_box(8, -4, 0.5f, (j - 2.5f) * 18, 3, 54, texture, 0.0625f);
            turn_about_y(*block, i * 1.5707964f);
            make_static(*block);
            block->BreakThreshold = 40;
            block->Density = 3.0f;
            block->SoundId = 2;
            block->SoundGain = 0.6f;
            // The marked block: the way into the hidden part.
            if (GameState == Menu && MenuPage == 0 && i == 2 && j == 4) block->ItemId = 6;
        }
    }

    for (int k = 0; k < 31; k++) {
        Body* bale = make_box(2.6f, -0.2f, 0.45f, 0, 5, RingRadius, texture, 0.125f);
        turn_about_y(*bale, k * 0.2026834f);
        mat3_pre_rotate_x(bale->Orientation, -0.7853982f);
        make_static(*bale);
    }
    ShadowLength = 40.0f;
}

void throw_cube(Vec3 from, Vec3 to, float flight, int texture) {
    Body* cube = make_box(1.2f, -1.2f, 1.2f, from.x, from.y, from.z, texture, 0.125f);
    if (!cube) return; // a full world throws nothing
    scale_mass(*cube, 3);
    Vec3 d = vec3_sub(to, cube->Position);
    cube->Velocity = Vec3{d.x / flight, d.y / flight, d.z / flight};
    cube->Velocity.y -= Gravity * flight / 2.0f;
    cube->SoundId = 6;
    cube->SoundGain = 0.01f;
    cube->AngularVelocity = Vec3{0.1f, 0.1f, 0.1f};
}

// Steps 1 to 7 shared by a bout and the hidden part.
static void start_scene(uint8_t cursor) {
    show_cursor(cursor);
    music_restart(6);
    reset_camera_motion();
    build_arena(0);
    random_seed(1434, 6431);
    GameState = BoutWaiting;
    for (int p = 0; p < 2; p++) {
        float sg = p == 0 ? 1.0f : -1.0f;
        for (int n = 0; n < Score[p]; n++) {
            Body* cube =
                make_box(1.2f, -1.2f, 1.2f, 29 * sg, 6.2f + 2.412f * n, -29 * sg, 2 + p, 0.125f);
            if (!cube) break;
            mat3_post_rotate_y(cube->Orientation, random_next());
            scale_mass(*cube, 3);
        }
    }
}

void start_bout() {
    start_scene(0);
    build_wrestler(Wrestlers[0], Vec3{0, 5, -15}, 0.006283186f, 2);
    Wrestlers[0].ControlSource = 0;
    build_wrestler(Wrestlers[1], Vec3{0, 5, 15}, 3.1478758f, 3);
    Wrestlers[1].ControlSource = TwoPlayers ? 1 : 2;
    Wrestlers[0].Phase = 4;
    Wrestlers[1].Phase = 4;
    WrestlersEnd = Wrestlers + 2;
    rebuild_joint_links();
}

void start_hidden_part() {
    start_scene(1);
    TickCount = 0;
    GameState = HiddenPart;
    build_wrestler(Wrestlers[0], Vec3{0, 5, 0}, -1.5770795f, 3);
    Wrestlers[0].Phase = 0;
    Wrestlers[0].ControlSource = 2;
    WrestlersEnd = Wrestlers + 1;
    rebuild_joint_links();
}

} // namespace bb
