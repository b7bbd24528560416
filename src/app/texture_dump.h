// `--dump-textures DIR`: the generated surface textures as PNG files.
#pragma once

#include <cstdint>
#include <string>

namespace bb {

// Generates the fourteen textures and writes them as DIR/slot00.png ...
// DIR/slot13.png, creating DIR if needed, then exactly what the start-up
// uploads: the relief maps of the even slots as DIR/relief00.png ...
// DIR/relief12.png and the labelled colour images of the odd ones as
// DIR/colour01.png ... DIR/colour13.png. A slot left plain is named on standard
// error. On failure returns false with one line in error.
bool dump_textures(const std::string& dir, std::string& error);

// Pixels of 0x00RRGGBB as opaque RGBA bytes.
void texture_pixels_to_rgba(const uint32_t* pixels, int count, uint8_t* rgba);

} // namespace bb
