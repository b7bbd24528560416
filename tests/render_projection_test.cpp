#include "render/font_atlas.h"
#include "render/projection.h"
#include "render/scene_fade.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace bb;

namespace {

uint32_t bits_of(float f) {
    uint32_t b;
    std::memcpy(&b, &f, sizeof b);
    return b;
}

// A row vector times a row-major 4x4 matrix.
void row_times(const float v[4], const float m[16], float out[4]) {
    for (int c = 0; c < 4; c++)
        out[c] = v[0] * m[c] + v[1] * m[4 + c] + v[2] * m[8 + c] + v[3] * m[12 + c];
}

} // namespace

TEST(Projection, AspectAndFieldOfViewForDisplayModes) {
    struct Case {
        int width, height;
        bool windowed;
        int back_width, back_height;
        float aspect, tx, ty;
    };
    const Case cases[] = {
        {1024, 768, false, 1024, 768, 1.33333f, 0.7673f, 0.5755f},
        // Wide: the vertical field stays at its minimum, the horizontal one widens.
        {1280, 720, false, 1280, 720, 1.77778f, 0.9778f, 0.55f},
        // A window is always 1.3333 and, for the 0 by 0 mode, 1024 by 768.
        {0, 0, true, 1024, 768, 1.3333f, 0.7673f, 0.5755f},
        {1280, 720, true, 1280, 720, 1.3333f, 0.7673f, 0.5755f},
    };
    for (const Case& c : cases) {
        Projection p = projection_for_display(c.width, c.height, c.windowed);
        EXPECT_EQ(p.Width, c.back_width);
        EXPECT_EQ(p.Height, c.back_height);
        EXPECT_NEAR(p.Aspect, c.aspect, 1e-4);
        EXPECT_NEAR(p.Tx, c.tx, 1e-4) << c.width << "x" << c.height;
        EXPECT_NEAR(p.Ty, c.ty, 1e-4) << c.width << "x" << c.height;
        // A click at the centre looks straight ahead; at the right edge along tx.
        EXPECT_FLOAT_EQ(p.RayOffsetX, -c.back_width / 2.0f);
        EXPECT_FLOAT_EQ(p.RayOffsetY, -c.back_height / 2.0f);
        EXPECT_NEAR((c.back_width + p.RayOffsetX) * p.RayScaleX, p.Tx, 1e-6);
        EXPECT_NEAR((0 + p.RayOffsetY) * p.RayScaleY, -p.Ty, 1e-6);
    }
    EXPECT_EQ(bits_of(projection_for_display(0, 0, true).Aspect), 0x3FAAA993u);
}

TEST(Projection, MatricesTakeWorldPointsToTheScreen) {
    // A camera at (1, 2, 3) turned a quarter about +y: its forward axis is +x.
    Mat3 camera = {{0, 0, -1, 0, 1, 0, 1, 0, 0}};
    Vec3 eye = {1, 2, 3};
    float view[16], proj[16];
    view_matrix(camera, eye, view);
    Projection p = projection_for_display(1024, 768, false);
    projection_matrix(p.Tx, p.Ty, proj);

    // A point 10 ahead, 2 right and 1 up of the eye.
    Vec3 world = {1 + 10, 2 + 1, 3 - 2};
    float v[4] = {world.x, world.y, world.z, 1}, in_view[4], clip[4];
    row_times(v, view, in_view);
    EXPECT_NEAR(in_view[0], 2, 1e-5);
    EXPECT_NEAR(in_view[1], 1, 1e-5);
    EXPECT_NEAR(in_view[2], 10, 1e-5);
    row_times(in_view, proj, clip);
    EXPECT_NEAR(clip[0] / clip[3], 2 / (10 * p.Tx), 1e-5);
    EXPECT_NEAR(clip[1] / clip[3], 1 / (10 * p.Ty), 1e-5);

    // Depth 0 at the near plane (0.1), about 1 at 4000.
    float near_point[4] = {0, 0, 0.1f, 1}, far_point[4] = {0, 0, 4000, 1}, out[4];
    row_times(near_point, proj, out);
    EXPECT_NEAR(out[2] / out[3], 0.0f, 1e-4);
    row_times(far_point, proj, out);
    EXPECT_NEAR(out[2] / out[3], 1.0f, 1e-4);

    float px, py, depth;
    ASSERT_TRUE(project_to_pixel(p, camera, eye, world, px, py, depth));
    EXPECT_NEAR(px, (1 + 2 / (10 * p.Tx)) * 512, 1e-3);
    EXPECT_NEAR(py, (1 - 1 / (10 * p.Ty)) * 384, 1e-3);
    EXPECT_FALSE(project_to_pixel(p, camera, eye, Vec3{-5, 2, 3}, px, py, depth));
}

TEST(SceneColour, FadesInFromBlackAndSetsTheClearColour) {
    struct Case {
        int tick;
        uint32_t scene, clear;
    };
    const Case cases[] = {
        {0, 0x000000, 0x000000},
        {16, 0x804040, 0x080C10}, // v = 0x10: (0x10 * 0x80C1) & 0x3F3F3F
        {32, 0xFFFEFE, 0x1F2F3F},
        {100, 0xFFFEFE, 0x1F2F3F},
    };
    for (const Case& c : cases) {
        set_scene_fade(8 * c.tick);
        EXPECT_EQ(SceneColour, c.scene) << "tick " << c.tick;
        EXPECT_EQ(clear_colour(SceneColour), c.clear) << "tick " << c.tick;
    }
}

TEST(FontAtlas, CharacterCellsOnASixteenByGrid) {
    int x, y;
    font_atlas_cell(65, x, y);
    EXPECT_EQ(x, 16);
    EXPECT_EQ(y, 64);
    font_atlas_cell(255, x, y);
    EXPECT_EQ(x, 240);
    EXPECT_EQ(y, 240);
}
