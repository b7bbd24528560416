// The surface textures in pairs: texture index m uses slot 2m, a relief map
// for the light passes, and slot 2m + 1, a colour texture for the colour pass.
// texture_setup fills them at start-up.
#pragma once

#include "platform/gfx.h"
#include "texgen/texture_programs.h"

namespace bb {

extern GfxTexture TextureSlots[TextureSlotCount];

// The slot's texture, or none for a slot that does not exist.
GfxTexture texture_slot(int slot);

} // namespace bb
