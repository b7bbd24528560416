// The renderer on a real GL context: run under a virtual display (xvfb-run).
#include "app/settings.h"
#include "game/arena.h"
#include "game/camera.h"
#include "physics/body.h"
#include "platform/gfx.h"
#include "platform/platform.h"
#include "render/device.h"
#include "render/font_atlas.h"
#include "render/lights.h"
#include "render/projection.h"
#include "render/render_frame.h"
#include "render/scene_fade.h"
#include "render/text_queue.h"
#include "render/texture_slots.h"
#include "texgen/relief_map.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace bb;

namespace {

struct Rgb {
    int R, G, B;
    int sum() const { return R + G + B; }
};

struct RendererTest : ::testing::Test {
    static inline bool Ready = false;
    static inline std::string Error;

    static void SetUpTestSuite() {
        DisplayWidth = 1024;
        DisplayHeight = 768;
        Windowed = 1;
        Ready = platform_open_window(1024, 768, false, false, Error) && start_renderer(Error);
    }
    static void TearDownTestSuite() { platform_close_window(); }

    // The game's textures are set aside: each test draws through one flat
    // relief map and one plain colour, so that a pixel's brightness is the light's.
    GfxTexture GameSlots[TextureSlotCount] = {};

    void SetUp() override {
        ASSERT_TRUE(Ready) << Error;
        std::copy(TextureSlots, TextureSlots + TextureSlotCount, GameSlots);
        std::vector<uint32_t> flat(8 * 8, FlatRelief), plain(8 * 8, 0xC0C0C0);
        GfxTexture plain_slots[2] = {upload_texture(flat.data(), 8, 8, 0),
                                     upload_texture(plain.data(), 8, 8, 0)};
        for (int i = 0; i < TextureSlotCount; i++) TextureSlots[i] = plain_slots[i % 2];
        BodyCount = 0;
        TextQueueCount = 0;
        ShadowLength = 40.0f;
        set_scene_fade(255);
        look_from(Vec3{0, 25, -30}, Vec3{0, 0, 0});
    }
    void TearDown() override { std::copy(GameSlots, GameSlots + TextureSlotCount, TextureSlots); }

    // A camera at eye looking at target, level: right is +x.
    static void look_from(Vec3 eye, Vec3 target) {
        Vec3 f = vec3_normalized(vec3_sub(target, eye));
        Vec3 r = {1, 0, 0};
        Vec3 u = vec3_cross(f, r);
        CameraMatrix = Mat3{{r.x, r.y, r.z, u.x, u.y, u.z, f.x, f.y, f.z}};
        CameraPosition = eye;
    }

    // Draws with one light from straight above and reads the picture back.
    std::vector<uint8_t> draw_lit_from_above(int shadows) {
        Lights = make_light_set(1);
        Lights.Directions[0] = Vec3{0, 1, 0};
        ShadowsOn = shadows;
        draw_frame();
        std::vector<uint8_t> rgba(1024 * 768 * 4);
        gfx_read_back_buffer(1024, 768, rgba.data());
        return rgba;
    }

    static Rgb pixel_at(const std::vector<uint8_t>& rgba, Vec3 world) {
        float px = 0, py = 0, depth = 0;
        EXPECT_TRUE(project_to_pixel(CurrentProjection, CameraMatrix, CameraPosition, world, px, py,
                                     depth));
        int x = static_cast<int>(px), y = static_cast<int>(py);
        const uint8_t* p = rgba.data() + (y * 1024 + x) * 4;
        return Rgb{p[0], p[1], p[2]};
    }
};

} // namespace

TEST_F(RendererTest, BoxAboveASlabShadowsItOnlyWithShadowsOn) {
    make_box(20, -1, 20, 0, 0, 0, 1, 0.1f); // slab, top at y 1
    make_box(2, -2, 2, 0, 8, 0, 0, 0.1f);   // box from y 6 to 10
    // Under the box (seen past its front edge), and beside it.
    Vec3 under = {0, 1, 1.5f}, beside = {8, 1, 1.5f}, in_front = {0, 1, -6};

    std::vector<uint8_t> with = draw_lit_from_above(1);
    Rgb shadow = pixel_at(with, under), lit = pixel_at(with, beside);
    EXPECT_LT(shadow.sum() * 10, lit.sum() * 7)
        << "under " << shadow.sum() << ", beside " << lit.sum();
    // The shadow is the column under the box only.
    EXPECT_NEAR(pixel_at(with, in_front).sum(), lit.sum(), 6);

    std::vector<uint8_t> without = draw_lit_from_above(0);
    Rgb plain = pixel_at(without, under), plain_beside = pixel_at(without, beside);
    EXPECT_NEAR(plain.sum(), plain_beside.sum(), 6);
    EXPECT_NEAR(plain_beside.sum(), lit.sum(), 6);
    // Lit from above, the slab is brighter than its ambient-only shadow.
    EXPECT_GT(plain.R, shadow.R + 20);
}

TEST_F(RendererTest, NothingToDrawLeavesTheClearColour) {
    std::vector<uint8_t> rgba = draw_lit_from_above(1);
    uint32_t clear = clear_colour(SceneColour);
    for (int i : {0, 512 * 4 + 384 * 1024 * 4, (1024 * 768 - 1) * 4}) {
        EXPECT_NEAR(rgba[i], (clear >> 16) & 0xFF, 1);
        EXPECT_NEAR(rgba[i + 1], (clear >> 8) & 0xFF, 1);
        EXPECT_NEAR(rgba[i + 2], clear & 0xFF, 1);
    }
}

TEST_F(RendererTest, TextQuadShowsTheGlyphInItsColour) {
    // One big quad of character 'A' in the middle of the view, yellow, over a
    // scene that casts shadows: the text pass must not inherit their state.
    look_from(Vec3{0, 0, -10}, Vec3{0, 0, 0});
    make_box(20, -1, 20, 0, -12, 0, 1, 0.1f);
    make_box(2, -2, 2, 8, -6, 0, 0, 0.1f);
    const float s = 0.5f, cu = 1 * 0.0625f, cv = 4 * 0.0625f, d = 0.0625f;
    const TextVertex quad[6] = {
        {-s, s, -8, 0xFFFFFF00, cu, cv},         {s, s, -8, 0xFFFFFF00, cu + d, cv},
        {-s, -s, -8, 0xFFFFFF00, cu, cv + d},    {s, s, -8, 0xFFFFFF00, cu + d, cv},
        {s, -s, -8, 0xFFFFFF00, cu + d, cv + d}, {-s, -s, -8, 0xFFFFFF00, cu, cv + d},
    };
    for (const TextVertex& v : quad) TextQueue[TextQueueCount++] = v;
    std::vector<uint8_t> rgba = draw_lit_from_above(1);

    float x0, y0, x1, y1, depth;
    ASSERT_TRUE(project_to_pixel(CurrentProjection, CameraMatrix, CameraPosition, Vec3{-s, s, -8},
                                 x0, y0, depth));
    ASSERT_TRUE(project_to_pixel(CurrentProjection, CameraMatrix, CameraPosition, Vec3{s, -s, -8},
                                 x1, y1, depth));
    int ink = 0, area = 0, wrong = 0;
    for (int y = static_cast<int>(y0); y < static_cast<int>(y1); y++)
        for (int x = static_cast<int>(x0); x < static_cast<int>(x1); x++) {
            const uint8_t* p = rgba.data() + (y * 1024 + x) * 4;
            area++;
            if (p[0] > 200 && p[1] > 200 && p[2] < 80) ink++;
            if (p[2] > 200) wrong++;
        }
    // A glyph, not a block: some of the quad is ink, most is not; never blue.
    EXPECT_GT(ink, area / 20);
    EXPECT_LT(ink, area / 2);
    EXPECT_EQ(wrong, 0);
    // The upper corners of an 'A' cell are background.
    const uint8_t* corner =
        rgba.data() + (static_cast<int>(y0 + 3) * 1024 + static_cast<int>(x0 + 3)) * 4;
    EXPECT_LT(corner[0], 80);
}

TEST_F(RendererTest, FontAtlasHasEachGlyphInItsCell) {
    std::vector<uint32_t> atlas(FontAtlasSize * FontAtlasSize);
    build_font_atlas_image(atlas.data());
    auto cell_ink = [&](int c) {
        int x0, y0, ink = 0;
        font_atlas_cell(c, x0, y0);
        for (int y = y0; y < y0 + FontCellSize; y++)
            for (int x = x0; x < x0 + FontCellSize; x++) ink += (atlas[y * 256 + x] >> 24) > 128;
        return ink;
    };
    EXPECT_GT(cell_ink('A'), 15);
    EXPECT_GT(cell_ink('W'), cell_ink('.'));
    EXPECT_EQ(cell_ink(' '), 0);
    // Code 0 draws nothing; a drawn cell's background is nearly black with alpha 2.
    for (int y = 0; y < 16; y++)
        for (int x = 0; x < 16; x++) EXPECT_EQ(atlas[y * 256 + x], 0u);
    EXPECT_EQ(atlas[32 * 256 + 0], 0x02010101u);
    // Full ink inverts to opaque white.
    bool opaque_white = false;
    for (int y = 64; y < 80; y++)
        for (int x = 16; x < 32; x++) opaque_white |= atlas[y * 256 + x] == 0xFFFFFFFFu;
    EXPECT_TRUE(opaque_white);
}

TEST_F(RendererTest, FaceLitStraightOnIsBrightestThroughAFlatRelief) {
    // Texture index 6 for this test only: a white colour texture and a relief
    // map of one normal. The slab's top face is lit from straight above.
    std::vector<uint32_t> pixels(8 * 8, 0xFFFFFF), relief(8 * 8);
    TextureSlots[13] = upload_texture(pixels.data(), 8, 8, 0);
    make_box(20, -1, 20, 0, 0, 0, 6, 0.1f);
    auto brightness = [&](const std::vector<uint32_t>& map) {
        TextureSlots[12] = upload_texture(map.data(), 8, 8, 0);
        return pixel_at(draw_lit_from_above(0), Vec3{0, 1, 0}).sum();
    };
    make_normal_map(pixels.data(), 8, 8, -100, relief.data()); // uniform heights: flat
    int flat = brightness(relief);
    // Normals 60 degrees off the face's, towards either surface direction:
    // red 127 + 128 cos 60, and 127 + 128 sin 60 in blue (x) or green (y).
    std::fill(relief.begin(), relief.end(), 0x00BF7FEEu);
    int tilted_x = brightness(relief);
    std::fill(relief.begin(), relief.end(), 0x00BFEE7Fu);
    int tilted_y = brightness(relief);
    // The light adds about half as much through the tilted normals.
    EXPECT_GT(flat, tilted_x + 60) << "flat " << flat << ", tilted " << tilted_x;
    EXPECT_GT(flat, tilted_y + 60) << "flat " << flat << ", tilted " << tilted_y;
    EXPECT_NEAR(tilted_x, tilted_y, 6);
}
