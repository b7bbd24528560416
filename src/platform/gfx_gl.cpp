// The graphics device on OpenGL 2.1 (compatibility profile), fixed function:
// texture stages become GL_COMBINE texture environments, the texture factor
// their constant colour, and the left-handed 0..1-depth matrices are turned
// into GL's -1..1 depth when loaded.
#include "platform/gfx.h"

#include "platform/platform.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace bb {

// ---------------------------------------------------------------- types

struct GlTexture {
    GLuint Name;
    int Width, Height;
    int Levels;                 // 0: generated mipmaps; 1: one level
    bool Filled;                // level 0 has been given pixels
    uint8_t* Staging;           // level 0 while locked, null otherwise
    GLint MinFilter, MagFilter; // what the texture object holds now
};

struct GlBuffer {
    GLuint Name;
    int Bytes;        // capacity
    int LockedBytes;  // written by the last lock
    uint8_t* Staging; // the lock's memory, Bytes long
};

struct GlStage {
    uint32_t ColourOp, ColourArg1, ColourArg2;
    uint32_t AlphaOp, AlphaArg1, AlphaArg2;
    GfxTexture Texture;
    GfxFilter Mag, Min, Mip;
};

// ---------------------------------------------------------------- state

constexpr int MaxGfxTextures = 64;
constexpr int MaxGfxBuffers = 8;

static GlTexture Textures[MaxGfxTextures];
static int TextureCount = 0;
static GlBuffer Buffers[MaxGfxBuffers];
static int BufferCount = 0;
static GlStage Stages[GfxStageCount];
static uint32_t TextureFactor = 0;
static GfxBlend SrcBlend = GfxBlendOne, DestBlend = GfxBlendZero;
static GfxCompare StencilFunc = GfxCompareAlways;
static int StencilRef = 0;
static GfxStencilOp StencilPass = GfxStencilKeep, StencilFail = GfxStencilKeep,
                    StencilZFail = GfxStencilKeep;
static GfxVertexFormat VertexFormat = GfxXyzDiffuseTex1;
static GfxBuffer StreamSource = 0;
static GLuint WhiteTexture = 0;  // bound to stages that use no texture
static bool BgraColours = false; // colour arrays may be read as BGRA
static int FramebufferHeight = 0;
static std::vector<uint8_t> SwizzleScratch;

// ---------------------------------------------------------------- helpers

static GlTexture* texture_of(GfxTexture t) {
    return t >= 1 && static_cast<int>(t) <= TextureCount ? &Textures[t - 1] : nullptr;
}

static GlBuffer* buffer_of(GfxBuffer b) {
    return b >= 1 && static_cast<int>(b) <= BufferCount ? &Buffers[b - 1] : nullptr;
}

static bool has_extension(const char* name) {
    const char* all = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (!all) return false;
    size_t n = std::strlen(name);
    for (const char* p = std::strstr(all, name); p; p = std::strstr(p + 1, name))
        if ((p == all || p[-1] == ' ') && (p[n] == ' ' || p[n] == '\0')) return true;
    return false;
}

static GLenum gl_blend(uint32_t b) {
    switch (b) {
    case GfxBlendZero:
        return GL_ZERO;
    case GfxBlendSrcColour:
        return GL_SRC_COLOR;
    case GfxBlendSrcAlpha:
        return GL_SRC_ALPHA;
    case GfxBlendInvSrcAlpha:
        return GL_ONE_MINUS_SRC_ALPHA;
    case GfxBlendDestColour:
        return GL_DST_COLOR;
    default:
        return GL_ONE;
    }
}

static GLenum gl_compare(uint32_t c) {
    switch (c) {
    case GfxCompareGreaterEqual:
        return GL_GEQUAL;
    case GfxCompareLessEqual:
        return GL_LEQUAL;
    default:
        return GL_ALWAYS;
    }
}

static GLenum gl_stencil_op(uint32_t op) {
    switch (op) {
    case GfxStencilReplace:
        return GL_REPLACE;
    case GfxStencilIncrement:
        return GL_INCR;
    case GfxStencilDecrement:
        return GL_DECR;
    default:
        return GL_KEEP;
    }
}

static GLenum gl_source(uint32_t arg) {
    switch (arg) {
    case GfxArgTexture:
        return GL_TEXTURE;
    case GfxArgDiffuse:
        return GL_PRIMARY_COLOR;
    case GfxArgTextureFactor:
        return GL_CONSTANT;
    default:
        return GL_PREVIOUS;
    }
}

static GLenum gl_combine(uint32_t op) {
    switch (op) {
    case GfxOpModulate:
        return GL_MODULATE;
    case GfxOpDotProduct3:
        return GL_DOT3_RGB;
    default:
        return GL_REPLACE;
    }
}

static GLint gl_min_filter(const GlStage& s, int levels) {
    bool linear = s.Min == GfxFilterLinear;
    if (levels == 1 || s.Mip == GfxFilterNone) return linear ? GL_LINEAR : GL_NEAREST;
    if (s.Mip == GfxFilterLinear)
        return linear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
    return linear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
}

static void apply_stencil_ops() {
    glStencilOp(gl_stencil_op(StencilFail), gl_stencil_op(StencilZFail),
                gl_stencil_op(StencilPass));
}

// The texture stages as GL texture environments, set just before a draw.
static void apply_stages() {
    GLfloat factor[4] = {((TextureFactor >> 16) & 0xFF) / 255.0f,
                         ((TextureFactor >> 8) & 0xFF) / 255.0f, (TextureFactor & 0xFF) / 255.0f,
                         (TextureFactor >> 24) / 255.0f};
    bool on = true;
    for (int i = 0; i < GfxStageCount; i++) {
        const GlStage& s = Stages[i];
        glActiveTexture(GL_TEXTURE0 + i);
        on = on && s.ColourOp != GfxOpDisable;
        if (!on) {
            glDisable(GL_TEXTURE_2D);
            continue;
        }
        glEnable(GL_TEXTURE_2D);
        // NOTE: a GL texture environment only acts while a texture is bound,
        // so stages that only combine colours get a white one.
        GlTexture* t = texture_of(s.Texture);
        glBindTexture(GL_TEXTURE_2D, t ? t->Name : WhiteTexture);
        if (t) {
            GLint min = gl_min_filter(s, t->Levels);
            GLint mag = s.Mag == GfxFilterLinear ? GL_LINEAR : GL_NEAREST;
            if (t->MinFilter != min) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, min);
            if (t->MagFilter != mag) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, mag);
            t->MinFilter = min;
            t->MagFilter = mag;
        }
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
        glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB, gl_combine(s.ColourOp));
        glTexEnvi(GL_TEXTURE_ENV, GL_SRC0_RGB, gl_source(s.ColourArg1));
        glTexEnvi(GL_TEXTURE_ENV, GL_SRC1_RGB, gl_source(s.ColourArg2));
        glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_RGB, GL_SRC_COLOR);
        glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND1_RGB, GL_SRC_COLOR);
        // Alpha has no dot product here; a disabled alpha op passes the previous alpha.
        bool modulate = s.AlphaOp == GfxOpModulate;
        glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_ALPHA, modulate ? GL_MODULATE : GL_REPLACE);
        glTexEnvi(GL_TEXTURE_ENV, GL_SRC0_ALPHA,
                  s.AlphaOp == GfxOpDisable ? GL_PREVIOUS : gl_source(s.AlphaArg1));
        glTexEnvi(GL_TEXTURE_ENV, GL_SRC1_ALPHA, gl_source(s.AlphaArg2));
        glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_ALPHA, GL_SRC_ALPHA);
        glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND1_ALPHA, GL_SRC_ALPHA);
        glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, factor);
    }
    glActiveTexture(GL_TEXTURE0);
}

// 0xAARRGGBB in memory is B, G, R, A; without BGRA colour arrays the red and
// blue bytes of a copy are swapped.
static void swap_red_blue(uint8_t* vertices, int count) {
    for (int i = 0; i < count; i++) {
        uint8_t* c = vertices + i * 24 + 12;
        uint8_t b = c[0];
        c[0] = c[2];
        c[2] = b;
    }
}

static void apply_vertex_format(const uint8_t* base) {
    glEnableClientState(GL_VERTEX_ARRAY);
    if (VertexFormat == GfxXyz) {
        glVertexPointer(3, GL_FLOAT, 12, base);
        glDisableClientState(GL_COLOR_ARRAY);
        glClientActiveTexture(GL_TEXTURE0);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glColor4f(1, 1, 1, 1);
        return;
    }
    glVertexPointer(3, GL_FLOAT, 24, base);
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(BgraColours ? GL_BGRA : 4, GL_UNSIGNED_BYTE, 24, base + 12);
    glClientActiveTexture(GL_TEXTURE0);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, 24, base + 16);
}

// ---------------------------------------------------------------- device

static void reset_stage_defaults() {
    for (int i = 0; i < GfxStageCount; i++) {
        Stages[i] = GlStage{i == 0 ? GfxOpModulate : GfxOpDisable,
                            GfxArgTexture,
                            GfxArgCurrent,
                            i == 0 ? GfxOpSelectArg1 : GfxOpDisable,
                            GfxArgTexture,
                            GfxArgCurrent,
                            0,
                            GfxFilterPoint,
                            GfxFilterPoint,
                            GfxFilterNone};
    }
}

bool gfx_create_device(std::string& error) {
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    int major = 0, minor = 0;
    if (!version || std::sscanf(version, "%d.%d", &major, &minor) != 2) {
        error = "the OpenGL driver reports no version";
        return false;
    }
    int gl = major * 10 + minor;
    GLint stencil = 0, units = 0;
    glGetIntegerv(GL_STENCIL_BITS, &stencil);
    if (stencil < 8) {
        error = "the OpenGL driver gives no 8-bit stencil buffer (it has " +
                std::to_string(stencil) + " bits)";
        return false;
    }
    if (gl < 13 && !(has_extension("GL_ARB_texture_env_combine") &&
                     has_extension("GL_ARB_texture_env_dot3"))) {
        error = "the OpenGL driver lacks the texture combiners (GL_ARB_texture_env_combine and "
                "GL_ARB_texture_env_dot3, OpenGL " +
                std::to_string(major) + "." + std::to_string(minor) + ")";
        return false;
    }
    if (gl < 15) {
        error = "the OpenGL driver is version " + std::to_string(major) + "." +
                std::to_string(minor) + "; vertex buffers and generated mipmaps need 1.5";
        return false;
    }
    glGetIntegerv(GL_MAX_TEXTURE_UNITS, &units);
    if (units < GfxStageCount) {
        error = "the OpenGL driver has " + std::to_string(units) +
                " texture unit(s); the lighting needs 2";
        return false;
    }
    BgraColours = gl >= 32 || has_extension("GL_ARB_vertex_array_bgra") ||
                  has_extension("GL_EXT_vertex_array_bgra");

    int framebuffer_width = 0;
    platform_drawable_size(framebuffer_width, FramebufferHeight);

    if (!WhiteTexture) {
        const uint32_t white = 0xFFFFFFFFu;
        glGenTextures(1, &WhiteTexture);
        glBindTexture(GL_TEXTURE_2D, WhiteTexture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_BGRA, GL_UNSIGNED_BYTE, &white);
    }
    reset_stage_defaults();
    // The fixed states of a fixed-function device: depth passes on equal, so
    // later passes over the same triangles draw; the front face is clockwise.
    glDepthFunc(GL_LEQUAL);
    glFrontFace(GL_CCW);
    glDisable(GL_LIGHTING);
    glDisable(GL_DITHER);
    glShadeModel(GL_SMOOTH);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glStencilMask(0xFF);
    return true;
}

void gfx_set_viewport(int x, int y, int width, int height, float min_z, float max_z) {
    // GL counts rows from the bottom.
    glViewport(x, FramebufferHeight - y - height, width, height);
    glDepthRange(min_z, max_z);
}

void gfx_set_projection(const float matrix[16]) {
    // Depth z/w from 0..1 to GL's -1..1: z' = 2z - w, column 2 of the rows.
    float m[16];
    std::memcpy(m, matrix, sizeof m);
    for (int r = 0; r < 4; r++) m[4 * r + 2] = 2.0f * m[4 * r + 2] - m[4 * r + 3];
    glMatrixMode(GL_PROJECTION);
    // A row-major row-vector matrix is the column-major column-vector one.
    glLoadMatrixf(m);
    glMatrixMode(GL_MODELVIEW);
}

void gfx_set_view(const float matrix[16]) {
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(matrix);
}

// ---------------------------------------------------------------- buffers

GfxBuffer gfx_create_vertex_buffer(int bytes) {
    if (BufferCount >= MaxGfxBuffers || bytes <= 0) return 0;
    GlBuffer& b = Buffers[BufferCount];
    glGenBuffers(1, &b.Name);
    glBindBuffer(GL_ARRAY_BUFFER, b.Name);
    glBufferData(GL_ARRAY_BUFFER, bytes, nullptr, GL_STREAM_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    b.Bytes = bytes;
    b.LockedBytes = 0;
    b.Staging = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(bytes)));
    if (!b.Staging) return 0;
    return static_cast<GfxBuffer>(++BufferCount);
}

void* gfx_lock_vertex_buffer(GfxBuffer buffer, int bytes) {
    GlBuffer* b = buffer_of(buffer);
    if (!b || bytes < 0 || bytes > b->Bytes) return nullptr;
    b->LockedBytes = bytes;
    return b->Staging;
}

void gfx_unlock_vertex_buffer(GfxBuffer buffer) {
    GlBuffer* b = buffer_of(buffer);
    if (!b) return;
    glBindBuffer(GL_ARRAY_BUFFER, b->Name);
    // New storage of just the written size is the discard: no wait for draws
    // still using the old one, and no clearing of bytes nobody reads.
    glBufferData(GL_ARRAY_BUFFER, b->LockedBytes, b->Staging, GL_STREAM_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

// ---------------------------------------------------------------- textures

GfxTexture gfx_create_texture(int width, int height, int levels) {
    if (TextureCount >= MaxGfxTextures || width <= 0 || height <= 0) return 0;
    GlTexture& t = Textures[TextureCount];
    t = GlTexture{
        0, width, height, levels == 1 ? 1 : 0, false, nullptr, GL_NEAREST_MIPMAP_LINEAR, GL_LINEAR};
    // Errors left by earlier calls are not this texture's (a few at most).
    for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; i++) {
    }
    glGenTextures(1, &t.Name);
    glBindTexture(GL_TEXTURE_2D, t.Name);
    if (t.Levels == 0) glTexParameteri(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, GL_TRUE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
    // A size or an amount of memory the driver refuses: no texture.
    if (t.Name == 0 || glGetError() != GL_NO_ERROR) {
        glDeleteTextures(1, &t.Name);
        return 0;
    }
    return static_cast<GfxTexture>(++TextureCount);
}

uint8_t* gfx_lock_texture(GfxTexture texture, int& pitch) {
    GlTexture* t = texture_of(texture);
    pitch = 0;
    if (!t) return nullptr;
    if (!t->Staging) {
        t->Staging =
            static_cast<uint8_t*>(std::calloc(static_cast<size_t>(t->Width) * t->Height, 4));
        if (!t->Staging) return nullptr;
        // A new texture has nothing to read back (the start-up's 15 uploads
        // would each wait for the driver).
        if (t->Filled) {
            glBindTexture(GL_TEXTURE_2D, t->Name);
            glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA, GL_UNSIGNED_BYTE, t->Staging);
        }
    }
    pitch = t->Width * 4;
    return t->Staging;
}

void gfx_unlock_texture(GfxTexture texture) {
    GlTexture* t = texture_of(texture);
    if (!t || !t->Staging) return;
    glBindTexture(GL_TEXTURE_2D, t->Name);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, t->Width, t->Height, 0, GL_BGRA, GL_UNSIGNED_BYTE,
                 t->Staging);
    t->Filled = true;
    std::free(t->Staging);
    t->Staging = nullptr;
}

// ---------------------------------------------------------------- frame

void gfx_clear(uint32_t colour, float depth, int stencil) {
    // Clearing ignores the write masks of the drawing states.
    GLboolean colour_mask[4], depth_mask;
    glGetBooleanv(GL_COLOR_WRITEMASK, colour_mask);
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depth_mask);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_TRUE);
    glClearColor(((colour >> 16) & 0xFF) / 255.0f, ((colour >> 8) & 0xFF) / 255.0f,
                 (colour & 0xFF) / 255.0f, (colour >> 24) / 255.0f);
    glClearDepth(depth);
    glClearStencil(stencil);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glColorMask(colour_mask[0], colour_mask[1], colour_mask[2], colour_mask[3]);
    glDepthMask(depth_mask);
}

void gfx_begin_scene() {}

void gfx_end_scene() {
    glFlush();
}

void gfx_present() {
    platform_present_frame();
}

void gfx_set_render_state(GfxRenderState state, uint32_t value) {
    auto enable = [](GLenum cap, uint32_t on) { on ? glEnable(cap) : glDisable(cap); };
    switch (state) {
    case GfxAlphaBlendEnable:
        enable(GL_BLEND, value);
        break;
    case GfxSrcBlend:
        SrcBlend = static_cast<GfxBlend>(value);
        glBlendFunc(gl_blend(SrcBlend), gl_blend(DestBlend));
        break;
    case GfxDestBlend:
        DestBlend = static_cast<GfxBlend>(value);
        glBlendFunc(gl_blend(SrcBlend), gl_blend(DestBlend));
        break;
    case GfxZEnable:
        enable(GL_DEPTH_TEST, value);
        break;
    case GfxZWriteEnable:
        glDepthMask(value ? GL_TRUE : GL_FALSE);
        break;
    case GfxCullMode:
        enable(GL_CULL_FACE, value != GfxCullNone);
        // GL's front faces are counter-clockwise as seen.
        glCullFace(value == GfxCullCounterClockwise ? GL_FRONT : GL_BACK);
        break;
    case GfxStencilEnable:
        enable(GL_STENCIL_TEST, value);
        break;
    case GfxStencilFunc:
        StencilFunc = static_cast<GfxCompare>(value);
        glStencilFunc(gl_compare(StencilFunc), StencilRef, 0xFF);
        break;
    case GfxStencilRef:
        StencilRef = static_cast<int>(value & 0xFF);
        glStencilFunc(gl_compare(StencilFunc), StencilRef, 0xFF);
        break;
    case GfxStencilPass:
        StencilPass = static_cast<GfxStencilOp>(value);
        apply_stencil_ops();
        break;
    case GfxStencilFail:
        StencilFail = static_cast<GfxStencilOp>(value);
        apply_stencil_ops();
        break;
    case GfxStencilZFail:
        StencilZFail = static_cast<GfxStencilOp>(value);
        apply_stencil_ops();
        break;
    case GfxColourWriteEnable: {
        // Bits: 1 red, 2 green, 4 blue, 8 alpha.
        glColorMask(value & 1 ? GL_TRUE : GL_FALSE, value & 2 ? GL_TRUE : GL_FALSE,
                    value & 4 ? GL_TRUE : GL_FALSE, value & 8 ? GL_TRUE : GL_FALSE);
        break;
    }
    case GfxTextureFactor:
        TextureFactor = value;
        break;
    case GfxTwoSidedStencil:
    case GfxLighting:
    case GfxClipping:
        break;
    }
}

void gfx_set_sampler_filters(int stage, GfxFilter mag, GfxFilter min, GfxFilter mip) {
    if (stage < 0 || stage >= GfxStageCount) return;
    Stages[stage].Mag = mag;
    Stages[stage].Min = min;
    Stages[stage].Mip = mip;
}

void gfx_set_texture_stage_state(int stage, GfxStageState state, uint32_t value) {
    if (stage < 0 || stage >= GfxStageCount) return;
    GlStage& s = Stages[stage];
    switch (state) {
    case GfxColourOp:
        s.ColourOp = value;
        break;
    case GfxColourArg1:
        s.ColourArg1 = value;
        break;
    case GfxColourArg2:
        s.ColourArg2 = value;
        break;
    case GfxAlphaOp:
        s.AlphaOp = value;
        break;
    case GfxAlphaArg1:
        s.AlphaArg1 = value;
        break;
    case GfxAlphaArg2:
        s.AlphaArg2 = value;
        break;
    }
}

void gfx_set_texture(int stage, GfxTexture texture) {
    if (stage < 0 || stage >= GfxStageCount) return;
    Stages[stage].Texture = texture;
}

void gfx_set_vertex_format(GfxVertexFormat format) {
    VertexFormat = format;
}

void gfx_set_stream_source(GfxBuffer buffer) {
    StreamSource = buffer;
}

void gfx_draw_primitive(int first_vertex, int triangles) {
    GlBuffer* b = buffer_of(StreamSource);
    int stride = VertexFormat == GfxXyz ? 12 : 24;
    if (!b || triangles <= 0 || first_vertex < 0 ||
        (first_vertex + triangles * 3) * stride > b->LockedBytes)
        return;
    apply_stages();
    if (!BgraColours && VertexFormat == GfxXyzDiffuseTex1) {
        // Drawn from a swapped copy, as the buffer holds BGRA colours.
        gfx_draw_primitive_up(b->Staging + first_vertex * stride, triangles);
        return;
    }
    glBindBuffer(GL_ARRAY_BUFFER, b->Name);
    apply_vertex_format(nullptr);
    glDrawArrays(GL_TRIANGLES, first_vertex, triangles * 3);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void gfx_draw_primitive_up(const void* vertices, int triangles) {
    if (!vertices || triangles <= 0) return;
    apply_stages();
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    const uint8_t* base = static_cast<const uint8_t*>(vertices);
    if (!BgraColours && VertexFormat == GfxXyzDiffuseTex1) {
        size_t bytes = static_cast<size_t>(triangles) * 3 * 24;
        SwizzleScratch.assign(base, base + bytes);
        swap_red_blue(SwizzleScratch.data(), triangles * 3);
        base = SwizzleScratch.data();
    }
    apply_vertex_format(base);
    glDrawArrays(GL_TRIANGLES, 0, triangles * 3);
}

void gfx_read_back_buffer(int width, int height, uint8_t* rgba) {
    if (!rgba || width <= 0 || height <= 0) return;
    std::vector<uint8_t> rows(static_cast<size_t>(width) * height * 4);
    glReadBuffer(GL_BACK);
    glReadPixels(0, FramebufferHeight - height, width, height, GL_RGBA, GL_UNSIGNED_BYTE,
                 rows.data());
    size_t row = static_cast<size_t>(width) * 4;
    for (int y = 0; y < height; y++) {
        std::memcpy(rgba + y * row, rows.data() + (height - 1 - y) * row, row);
        for (int x = 0; x < width; x++) rgba[y * row + x * 4 + 3] = 255;
    }
}

} // namespace bb
