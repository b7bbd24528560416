// The game's song: an Extended Module composed by tools/compose_song at build
// time and compiled into the program.
#pragma once

#include <cstdint>

namespace bb {

extern const uint8_t SongData[];
extern const uint32_t SongSize;

} // namespace bb
