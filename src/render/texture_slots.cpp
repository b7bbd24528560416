#include "render/texture_slots.h"

namespace bb {

GfxTexture TextureSlots[TextureSlotCount];

GfxTexture texture_slot(int slot) {
    return slot >= 0 && slot < TextureSlotCount ? TextureSlots[slot] : 0;
}

} // namespace bb
