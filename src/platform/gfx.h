// The graphics device: the small set of operations the renderer draws with,
// modelled on a fixed-function device with texture stages. Matrices are
// row-major in the row-vector convention, left-handed, depth 0..1; colours
// are 0xAARRGGBB; textures are 32-bit BGRA. Triangles that are clockwise on
// screen face the viewer. Only the platform layer implements this; no GL
// header is needed to use it.
#pragma once

#include <cstdint>
#include <string>

namespace bb {

using GfxTexture = uint32_t; // 0: none
using GfxBuffer = uint32_t;  // 0: none

enum GfxVertexFormat : uint32_t {
    GfxXyz,            // 12 bytes: position
    GfxXyzDiffuseTex1, // 24 bytes: position, colour 0xAARRGGBB, u, v
};

enum GfxRenderState : uint32_t {
    GfxAlphaBlendEnable,
    GfxSrcBlend,  // a GfxBlend
    GfxDestBlend, // a GfxBlend
    GfxZEnable,
    GfxZWriteEnable,
    GfxCullMode, // a GfxCull
    GfxStencilEnable,
    GfxStencilFunc, // a GfxCompare
    GfxStencilRef,
    GfxStencilPass,  // a GfxStencilOp
    GfxStencilFail,  // a GfxStencilOp
    GfxStencilZFail, // a GfxStencilOp
    GfxColourWriteEnable,
    GfxTextureFactor,   // 0xAARRGGBB, the constant of every stage
    GfxTwoSidedStencil, // only off is supported
    GfxLighting,        // only off is supported: colours come from the vertices
    GfxClipping,        // always on
};

enum GfxBlend : uint32_t {
    GfxBlendZero,
    GfxBlendOne,
    GfxBlendSrcColour,
    GfxBlendSrcAlpha,
    GfxBlendInvSrcAlpha,
    GfxBlendDestColour,
};

enum GfxCull : uint32_t {
    GfxCullNone,
    GfxCullClockwise,        // as seen on screen
    GfxCullCounterClockwise, // as seen on screen
};

enum GfxCompare : uint32_t {
    GfxCompareAlways,
    GfxCompareGreaterEqual, // drawn where reference >= stored value
    GfxCompareLessEqual,
};

enum GfxStencilOp : uint32_t {
    GfxStencilKeep,
    GfxStencilReplace,
    GfxStencilIncrement, // saturating
    GfxStencilDecrement, // saturating
};

enum GfxStageState : uint32_t {
    GfxColourOp,   // a GfxStageOp
    GfxColourArg1, // a GfxStageArg
    GfxColourArg2,
    GfxAlphaOp,
    GfxAlphaArg1,
    GfxAlphaArg2,
};

enum GfxStageOp : uint32_t {
    GfxOpDisable, // this stage and all after it are off
    GfxOpSelectArg1,
    GfxOpModulate,
    GfxOpDotProduct3, // signed dot product of the colours, on every channel
};

enum GfxStageArg : uint32_t {
    GfxArgTexture,
    GfxArgDiffuse,
    GfxArgCurrent, // the previous stage's result (the diffuse colour in stage 0)
    GfxArgTextureFactor,
};

enum GfxFilter : uint32_t {
    GfxFilterNone,
    GfxFilterPoint,
    GfxFilterLinear,
};

constexpr int GfxStageCount = 2;

// Checks what the renderer relies on in the window's GL context (8-bit
// stencil, texture combiners with dot products, two texture units, vertex
// buffers) and sets the fixed states. On failure returns false with what is
// missing in error.
bool gfx_create_device(std::string& error);
void gfx_set_viewport(int x, int y, int width, int height, float min_z, float max_z);
void gfx_set_projection(const float matrix[16]);
void gfx_set_view(const float matrix[16]);

GfxBuffer gfx_create_vertex_buffer(int bytes);
// Write-only memory for the first bytes of the buffer; its old content is gone.
void* gfx_lock_vertex_buffer(GfxBuffer buffer, int bytes);
void gfx_unlock_vertex_buffer(GfxBuffer buffer);

// levels 0: a full mipmap chain made from level 0; 1: one level.
GfxTexture gfx_create_texture(int width, int height, int levels);
// Level 0's pixels, rows top first, pitch bytes apart.
uint8_t* gfx_lock_texture(GfxTexture texture, int& pitch);
void gfx_unlock_texture(GfxTexture texture);

void gfx_clear(uint32_t colour, float depth, int stencil);
void gfx_begin_scene();
void gfx_end_scene();
void gfx_present();

void gfx_set_render_state(GfxRenderState state, uint32_t value);
void gfx_set_sampler_filters(int stage, GfxFilter mag, GfxFilter min, GfxFilter mip);
void gfx_set_texture_stage_state(int stage, GfxStageState state, uint32_t value);
void gfx_set_texture(int stage, GfxTexture texture);
void gfx_set_vertex_format(GfxVertexFormat format);
void gfx_set_stream_source(GfxBuffer buffer);
// Triangle lists: from the stream source, or straight from memory.
void gfx_draw_primitive(int first_vertex, int triangles);
void gfx_draw_primitive_up(const void* vertices, int triangles);

// The back buffer as RGBA bytes, rows top first (call before gfx_present).
void gfx_read_back_buffer(int width, int height, uint8_t* rgba);

} // namespace bb
