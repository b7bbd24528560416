#include "render/draw_scene.h"

#include "app/settings.h"
#include "platform/gfx.h"
#include "render/device.h"
#include "render/lights.h"
#include "render/scene_fade.h"
#include "render/scene_geometry.h"
#include "render/texture_slots.h"

#include <cstring>

namespace bb {

constexpr uint32_t AmbientColour = 0x203040;
constexpr uint32_t ShadowStencil = 8; // a surface's stencil value before the volumes

static void set_stage(int stage, GfxStageOp op, GfxStageArg arg1, GfxStageArg arg2) {
    gfx_set_texture_stage_state(stage, GfxColourOp, op);
    gfx_set_texture_stage_state(stage, GfxColourArg1, arg1);
    gfx_set_texture_stage_state(stage, GfxColourArg2, arg2);
}

static void set_stencil_ops(GfxStencilOp pass, GfxStencilOp fail, GfxStencilOp depth_fail) {
    gfx_set_render_state(GfxStencilPass, pass);
    gfx_set_render_state(GfxStencilFail, fail);
    gfx_set_render_state(GfxStencilZFail, depth_fail);
}

static void copy_light_geometry() {
    const LightGeometry& g = FrameGeometry;
    if (g.ShadowCount > 0) {
        int bytes = g.ShadowCount * 3 * static_cast<int>(sizeof(ShadowVertex));
        if (void* p = gfx_lock_vertex_buffer(ShadowVertexBuffer, bytes)) {
            std::memcpy(p, g.Shadow, static_cast<size_t>(bytes));
            gfx_unlock_vertex_buffer(ShadowVertexBuffer);
        }
    }
    int bytes = g.LitCount * 3 * static_cast<int>(sizeof(LitVertex));
    if (void* p = gfx_lock_vertex_buffer(LitVertexBuffer, bytes)) {
        sort_lit_triangles(static_cast<LitVertex*>(p));
        gfx_unlock_vertex_buffer(LitVertexBuffer);
    }
}

// Each texture index's range of the sorted lit triangles with its slot.
static void draw_by_texture_index(int slot_offset) {
    const LightGeometry& g = FrameGeometry;
    for (int m = 0; m < TextureIndexCount; m++) {
        if (g.TextureCounts[m] == 0) continue;
        gfx_set_texture(0, texture_slot(2 * m + slot_offset));
        gfx_draw_primitive(g.TextureFirst[m] * 3, g.TextureCounts[m]);
    }
}

static void draw_light(bool first) {
    const LightGeometry& g = FrameGeometry;
    bool shadows = ShadowsOn != 0;
    gfx_set_vertex_format(GfxXyzDiffuseTex1);
    gfx_set_stream_source(LitVertexBuffer);

    if (shadows || first) {
        set_stage(0, GfxOpSelectArg1, GfxArgTextureFactor, GfxArgCurrent);
        set_stage(1, GfxOpDisable, GfxArgCurrent, GfxArgCurrent);
        if (shadows) {
            gfx_set_render_state(GfxStencilEnable, 1);
            gfx_set_render_state(GfxStencilRef, ShadowStencil);
            gfx_set_render_state(GfxStencilFunc, GfxCompareAlways);
            set_stencil_ops(GfxStencilReplace, GfxStencilReplace, GfxStencilReplace);
        }
        gfx_set_render_state(GfxTextureFactor, first ? AmbientColour : 0);
        gfx_set_render_state(GfxZWriteEnable, first ? 1 : 0);
        if (first) gfx_set_render_state(GfxAlphaBlendEnable, 0);
        gfx_set_texture(0, 0);
        gfx_draw_primitive(0, g.LitCount);
    }

    gfx_set_render_state(GfxZWriteEnable, 0);
    gfx_set_render_state(GfxColourWriteEnable, 0);
    gfx_set_render_state(GfxStencilEnable, 1);
    gfx_set_render_state(GfxTwoSidedStencil, 0);
    gfx_set_render_state(GfxStencilRef, ShadowStencil);
    gfx_set_render_state(GfxStencilFunc, GfxCompareAlways);
    if (shadows && g.ShadowCount > 0) {
        // Volumes are wound counter-clockwise seen from outside: the faces
        // towards the eye count up, the far ones down.
        gfx_set_vertex_format(GfxXyz);
        gfx_set_stream_source(ShadowVertexBuffer);
        gfx_set_render_state(GfxCullMode, GfxCullClockwise);
        set_stencil_ops(GfxStencilIncrement, GfxStencilIncrement, GfxStencilKeep);
        gfx_draw_primitive(0, g.ShadowCount);
        gfx_set_render_state(GfxCullMode, GfxCullCounterClockwise);
        set_stencil_ops(GfxStencilDecrement, GfxStencilDecrement, GfxStencilKeep);
        gfx_draw_primitive(0, g.ShadowCount);
        gfx_set_vertex_format(GfxXyzDiffuseTex1);
        gfx_set_stream_source(LitVertexBuffer);
    }
    gfx_set_render_state(GfxColourWriteEnable, 0xF);

    if (first) {
        gfx_set_render_state(GfxAlphaBlendEnable, 1);
        gfx_set_render_state(GfxSrcBlend, GfxBlendOne);
        gfx_set_render_state(GfxDestBlend, GfxBlendOne);
    }

    if (shadows) {
        gfx_set_render_state(GfxStencilEnable, 1);
        gfx_set_render_state(GfxStencilRef, ShadowStencil);
        gfx_set_render_state(GfxStencilFunc, GfxCompareGreaterEqual);
        set_stencil_ops(GfxStencilKeep, GfxStencilKeep, GfxStencilKeep);
    }
    set_stage(0, GfxOpDotProduct3, GfxArgTexture, GfxArgDiffuse);
    set_stage(1, GfxOpModulate, GfxArgCurrent, GfxArgTextureFactor);
    gfx_set_render_state(GfxTextureFactor, LightColour);
    draw_by_texture_index(0);

    gfx_set_render_state(GfxZWriteEnable, 1);
    gfx_set_render_state(GfxStencilEnable, 0);
}

void draw_scene() {
    if (Lights.Count <= 0) return;
    for (int i = 0; i < Lights.Count; i++) {
        LightDir = Lights.Directions[i];
        LightColour = Lights.Colour;
        build_light_geometry();
        copy_light_geometry();
        draw_light(i == 0);
    }

    // Colour pass over the last light's triangles: the result is twice the
    // product of the texture colour and the accumulated light.
    gfx_set_vertex_format(GfxXyzDiffuseTex1);
    gfx_set_stream_source(LitVertexBuffer);
    gfx_set_render_state(GfxSrcBlend, GfxBlendDestColour);
    gfx_set_render_state(GfxDestBlend, GfxBlendSrcColour);
    set_stage(0, GfxOpModulate, GfxArgTextureFactor, GfxArgTexture);
    set_stage(1, GfxOpDisable, GfxArgCurrent, GfxArgCurrent);
    gfx_set_render_state(GfxTextureFactor, SceneColour);
    draw_by_texture_index(1);
}

} // namespace bb
