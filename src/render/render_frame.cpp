#include "render/render_frame.h"

#include "app/settings.h"
#include "game/camera.h"
#include "platform/gfx.h"
#include "render/draw_scene.h"
#include "render/lights.h"
#include "render/projection.h"
#include "render/scene_fade.h"
#include "render/text_pass.h"

namespace bb {

bool CaptureNextFrame = false;
std::vector<uint8_t> CapturedFrame;

Mat3 ViewMatrix = {{1, 0, 0, 0, 1, 0, 0, 0, 1}};
Vec3 ViewPosition = {0, 0, 0};

void draw_frame() {
    gfx_set_render_state(GfxAlphaBlendEnable, 0);
    gfx_set_render_state(GfxLighting, 0);
    gfx_set_render_state(GfxClipping, 1);
    gfx_set_render_state(GfxZEnable, 1);
    gfx_set_render_state(GfxZWriteEnable, 1);
    gfx_set_render_state(GfxCullMode, GfxCullCounterClockwise);
    for (int stage = 0; stage < GfxStageCount; stage++)
        gfx_set_sampler_filters(stage, GfxFilterLinear, GfxFilterLinear, GfxFilterPoint);

    ViewMatrix = CameraMatrix;
    ViewPosition = CameraPosition;
    float view[16];
    view_matrix(ViewMatrix, ViewPosition, view);
    gfx_set_view(view);

    gfx_clear(clear_colour(SceneColour), 1.0f, 0);
    gfx_begin_scene();
    draw_scene();
    gfx_set_texture(0, 0);
    gfx_set_texture(1, 0);
    draw_text_pass();
    gfx_end_scene();
}

void render_frame() {
    Lights = make_light_set(LightCount);
    draw_frame();
    if (CaptureNextFrame) {
        CaptureNextFrame = false;
        const Projection& p = CurrentProjection;
        CapturedFrame.resize(static_cast<size_t>(p.Width) * p.Height * 4);
        gfx_read_back_buffer(p.Width, p.Height, CapturedFrame.data());
    }
    gfx_present();
}

} // namespace bb
