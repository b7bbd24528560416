#include "render/texture_slots.h"

#include "render/device.h"

namespace bb {

GfxTexture TextureSlots[TextureSlotCount];

uint32_t plain_material_colour(int m) {
    static const uint32_t Colours[MaterialCount] = {
        0xD8C3A0, // ring, walls, bales: light clay
        0x7A5C40, // ground: darker earth
        0x3858C8, // wrestler 0: blue
        0xF0F0F0, // wrestler 1: white
        0xA87848, // menu signs: wood
        0xA87848, 0xA87848,
    };
    return m >= 0 && m < MaterialCount ? Colours[m] : 0x808080;
}

void upload_plain_materials() {
    // Small images: one colour needs no detail, and the mipmaps stay cheap.
    constexpr int Side = 8;
    uint32_t pixels[Side * Side];
    for (int slot = 0; slot < TextureSlotCount; slot++) {
        uint32_t colour = slot % 2 == 0 ? FlatRelief : plain_material_colour(slot / 2);
        for (uint32_t& p : pixels) p = colour;
        TextureSlots[slot] = upload_texture(pixels, Side, Side, 0);
    }
}

GfxTexture texture_slot(int slot) {
    return slot >= 0 && slot < TextureSlotCount ? TextureSlots[slot] : 0;
}

} // namespace bb
