#include "render/text_pass.h"

#include "platform/gfx.h"
#include "render/font_atlas.h"
#include "render/text_queue.h"

namespace bb {

void draw_text_pass() {
    int count = TextQueueCount < MaxTextVertices ? TextQueueCount : MaxTextVertices;
    if (count < 3) return;
    gfx_set_vertex_format(GfxXyzDiffuseTex1);
    gfx_set_render_state(GfxAlphaBlendEnable, 1);
    gfx_set_render_state(GfxSrcBlend, GfxBlendSrcAlpha);
    gfx_set_render_state(GfxDestBlend, GfxBlendInvSrcAlpha);
    gfx_set_render_state(GfxCullMode, GfxCullNone);
    gfx_set_render_state(GfxZEnable, 0);
    gfx_set_texture_stage_state(0, GfxColourOp, GfxOpSelectArg1);
    gfx_set_texture_stage_state(0, GfxColourArg1, GfxArgDiffuse);
    gfx_set_texture_stage_state(0, GfxAlphaOp, GfxOpModulate);
    gfx_set_texture_stage_state(0, GfxAlphaArg1, GfxArgTexture);
    gfx_set_texture_stage_state(0, GfxAlphaArg2, GfxArgDiffuse);
    gfx_set_texture_stage_state(1, GfxColourOp, GfxOpDisable);
    gfx_set_texture(0, FontAtlas);
    static_assert(sizeof(TextVertex) == 24);
    gfx_draw_primitive_up(TextQueue, count / 3);
}

} // namespace bb
