// The game's nine texture programs and the fourteen-slot list that runs them.
#pragma once

#include "texgen/interpreter.h"

namespace bb {

constexpr int TextureSlotCount = 14;

extern const TextureProgram TextureProgramA; // ring, walls and bales: relief
extern const TextureProgram TextureProgramB; // ring, walls and bales: colour
extern const TextureProgram TextureProgramC; // ground slab: relief
extern const TextureProgram TextureProgramD; // ground slab: colour
extern const TextureProgram TextureProgramE; // wrestlers: relief (slots 4 and 6)
extern const TextureProgram TextureProgramF; // wrestler 0: colour
extern const TextureProgram TextureProgramG; // wrestler 1: colour
extern const TextureProgram TextureProgramH; // menu signs: relief
extern const TextureProgram TextureProgramI; // menu signs: colour

// Slot i's program for i = 0..13, then a null pointer. Slot 2m is the relief
// map and slot 2m + 1 the colour texture of texture index m.
extern const TextureProgram* const TextureList[TextureSlotCount + 1];

} // namespace bb
