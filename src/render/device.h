// The graphics device of the main window, its fixed projection and the two
// vertex buffers every frame refills.
#pragma once

#include "platform/gfx.h"

#include <cstdint>
#include <string>

namespace bb {

constexpr int LitVertexBufferBytes = 589824;    // 24576 vertices of 24 bytes
constexpr int ShadowVertexBufferBytes = 294912; // 24576 vertices of 12 bytes

extern GfxBuffer LitVertexBuffer;
extern GfxBuffer ShadowVertexBuffer;

// After the main window exists: the projection numbers for DisplayWidth,
// DisplayHeight and Windowed, the driver's checks and the viewport. False with
// the missing feature in error when the driver cannot draw the game.
bool create_device(std::string& error);
// Sets the projection, stores the click-ray constants, makes the vertex buffers.
void setup_projection_and_buffers();
// The renderer's start-up in its order: create_device, texture_setup (which
// ends with the font atlas), then setup_projection_and_buffers.
bool start_renderer(std::string& error);
// A new texture from w x h pixels (rows top first; bytes blue, green, red,
// alpha); levels 0 makes a full mipmap chain, 1 a single level. 0 on failure.
GfxTexture upload_texture(const uint32_t* pixels, int w, int h, int levels);

} // namespace bb
