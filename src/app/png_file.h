// Writing images as PNG files.
#pragma once

#include <cstdint>
#include <string>

namespace bb {

// Writes width x height pixels, 4 bytes each (red, green, blue, alpha), rows
// top first, as an 8-bit RGBA PNG file. On failure returns false, sets error
// to one line naming the file and leaves no partial file behind.
bool write_png_rgba(const char* path, int width, int height, const uint8_t* rgba,
                    std::string& error);

} // namespace bb
