#include "physics/body.h"
#include "physics/collide.h"

#include <benchmark/benchmark.h>

using namespace bb;

namespace {

void reset_world() {
    BodyCount = 0;
    ContactCount = 0;
    PenetrationCount = 0;
    allocate_clip_scratch();
}

void turn_about_y(Body& b, float angle) {
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

// The arena's 57 static boxes (ground, ring, 24 wall blocks, 31 bales) and two
// columns of 15 boxes standing on the ring where the wrestlers would be.
void build_bout_like_scene() {
    reset_world();
    make_static(*make_box(180, -3, 180, 0, -4, 0, 1, 0.03125f));
    make_static(*make_box(31, -3, 31, 0, 2, 0, 0, 0.0625f));
    for (int i = 0; i < 4; i++)
        for (int j = 0; j < 6; j++) {
            Body* b = make_box(8, -4, 0.5f, (j - 2.5f) * 18, 3, 54, 0, 0.0625f);
            turn_about_y(*b, i * 1.5707964f);
            make_static(*b);
        }
    for (int k = 0; k < 31; k++) {
        Body* b = make_box(2.6f, -0.2f, 0.45f, 0, 5, 27, 0, 0.125f);
        turn_about_y(*b, k * 0.2026834f);
        mat3_pre_rotate_x(b->Orientation, -0.7853982f);
        make_static(*b);
    }
    for (int side = 0; side < 2; side++)
        for (int k = 0; k < 15; k++)
            make_box(0.8f, -0.6f, 0.8f, side ? 6.0f : -6.0f, 5.55f + k * 1.15f, 0, 3, 0.125f);
}

} // namespace

static void BM_collide_pair_two_boxes(benchmark::State& state) {
    reset_world();
    Body* a = make_box(1, -1, 1, 0, 0, 0, 0, 1);
    Body* b = make_box(1, -1, 1, 0.4f, 1.5f, 0.3f, 0, 1);
    mat3_post_rotate_y(b->Orientation, 0.3f);
    mat3_post_rotate_x(b->Orientation, 0.2f);
    for (auto _ : state) {
        ContactCount = 0;
        PenetrationCount = 0;
        collide_pair(*b, *a);
        benchmark::DoNotOptimize(ContactCount);
    }
    state.counters["contacts"] = ContactCount;
}
BENCHMARK(BM_collide_pair_two_boxes);

static void BM_detect_collisions_bout_scene(benchmark::State& state) {
    build_bout_like_scene();
    for (auto _ : state) {
        ContactCount = 0;
        PenetrationCount = 0;
        detect_collisions();
        benchmark::DoNotOptimize(ContactCount);
    }
    state.counters["bodies"] = BodyCount;
    state.counters["contacts"] = ContactCount;
}
BENCHMARK(BM_detect_collisions_bout_scene)->Unit(benchmark::kMicrosecond);
