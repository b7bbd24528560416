#include "render/device.h"

#include "app/settings.h"
#include "render/projection.h"
#include "texgen/texture_setup.h"

#include <cstring>

namespace bb {

GfxBuffer LitVertexBuffer = 0;
GfxBuffer ShadowVertexBuffer = 0;

bool create_device(std::string& error) {
    CurrentProjection = projection_for_display(DisplayWidth, DisplayHeight, Windowed != 0);
    Aspect = CurrentProjection.Aspect;
    if (!gfx_create_device(error)) return false;
    gfx_set_viewport(0, 0, CurrentProjection.Width, CurrentProjection.Height, 0.0f, 1.0f);
    return true;
}

void setup_projection_and_buffers() {
    const Projection& p = CurrentProjection;
    float matrix[16];
    projection_matrix(p.Tx, p.Ty, matrix);
    gfx_set_projection(matrix);
    RayOffsetX = p.RayOffsetX;
    RayOffsetY = p.RayOffsetY;
    RayScaleX = p.RayScaleX;
    RayScaleY = p.RayScaleY;
    LitVertexBuffer = gfx_create_vertex_buffer(LitVertexBufferBytes);
    ShadowVertexBuffer = gfx_create_vertex_buffer(ShadowVertexBufferBytes);
}

bool start_renderer(std::string& error) {
    if (!create_device(error)) return false;
    texture_setup();
    setup_projection_and_buffers();
    return true;
}

GfxTexture upload_texture(const uint32_t* pixels, int w, int h, int levels) {
    if (!pixels || w <= 0 || h <= 0) return 0;
    GfxTexture texture = gfx_create_texture(w, h, levels);
    int pitch = 0;
    uint8_t* bits = gfx_lock_texture(texture, pitch);
    if (!bits) return texture;
    for (int r = 0; r < h; r++)
        std::memcpy(bits + static_cast<int64_t>(r) * pitch, pixels + static_cast<int64_t>(r) * w,
                    static_cast<size_t>(w) * 4);
    gfx_unlock_texture(texture);
    return texture;
}

} // namespace bb
