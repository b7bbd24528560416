// The surface textures in pairs: texture index m uses slot 2m, a relief map
// for the light passes, and slot 2m + 1, a colour texture for the colour pass.
#pragma once

#include "platform/gfx.h"
#include "texgen/texture_programs.h"

#include <cstdint>

namespace bb {

extern GfxTexture TextureSlots[TextureSlotCount];

// A relief map of a flat surface: the normal straight out of the face.
constexpr uint32_t FlatRelief = 0x00FF7F7Fu;
constexpr int MaterialCount = TextureSlotCount / 2;

// The single colour (0x00RRGGBB) of texture index m's plain material: 0 ring,
// walls and bales light clay; 1 ground darker earth; 2 wrestler 0 blue;
// 3 wrestler 1 white; 4 to 6 the menu signs' wood.
uint32_t plain_material_colour(int m);
// Fills TextureSlots with plain materials: flat relief, one colour each.
void upload_plain_materials();
// The slot's texture, or none for a slot that does not exist.
GfxTexture texture_slot(int slot);

} // namespace bb
