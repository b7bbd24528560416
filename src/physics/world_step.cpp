#include "physics/world_step.h"

#include "game/game_flow.h"
#include "physics/solver.h"
#include "render/scene_fade.h"
#include "render/text_queue.h"
#include "wrestler/wrestler.h"

namespace bb {

uint8_t HasStepped = 0;

void world_step() {
    clear_text_queue();
    limit_debris();
    set_scene_fade(8 * TickCount);
    collide_and_solve();
    // Pieces made by breaks in this tick are integrated too.
    for (int i = 0; i < BodyCount; i++) integrate_body(Bodies[i]);
    run_all_controllers();
    HasStepped = 1;
}

void limit_debris() {
    int loose = 0;
    Body* lightest = nullptr;
    for (int i = 0; i < BodyCount; i++) {
        Body& b = Bodies[i];
        if (b.Removed || b.Fixed || b.JointLinks) continue;
        loose++;
        if (!lightest || b.Mass < lightest->Mass) lightest = &b;
    }
    if (loose > MaxLooseBodies) lightest->Removed = 1;
}

void integrate_body(Body& b) {
    if (b.Removed || b.Fixed) return;
    if (!b.Asleep) {
        Mat3& o = b.Orientation;
        Vec3 rows[3];
        for (int r = 0; r < 3; r++) {
            rows[r] = mat3_row(o, r);
            vec3_rotate_by_vector(rows[r], b.AngularVelocity);
        }
        vec3_normalize(rows[0]);
        vec3_normalize(rows[1]);
        rows[2] = vec3_cross(rows[0], rows[1]);
        rows[1] = vec3_cross(rows[2], rows[0]);
        o = Mat3{{rows[0].x, rows[0].y, rows[0].z, rows[1].x, rows[1].y, rows[1].z, rows[2].x,
                  rows[2].y, rows[2].z}};
        vec3_add_to(b.Position, b.Velocity);
        if (!b.JointLinks) {
            float motion = vec3_length_squared(b.Velocity) + vec3_length_squared(b.AngularVelocity);
            if (motion * RestSpeedFactor < 1.0f) {
                if (++b.RestTicks > RestTicksToSleep) b.Asleep = 1;
            } else {
                b.RestTicks = 0;
            }
        }
        if (!b.Asleep) b.Velocity.y += Gravity;
    }
    b.ImpactPeak *= 0.94f;
}

} // namespace bb
