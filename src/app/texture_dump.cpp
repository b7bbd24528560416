#include "app/texture_dump.h"

#include "app/png_file.h"
#include "texgen/texture_programs.h"

#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

namespace bb {

void texture_pixels_to_rgba(const uint32_t* pixels, int count, uint8_t* rgba) {
    for (int i = 0; i < count; i++) {
        rgba[4 * i + 0] = static_cast<uint8_t>(pixels[i] >> 16);
        rgba[4 * i + 1] = static_cast<uint8_t>(pixels[i] >> 8);
        rgba[4 * i + 2] = static_cast<uint8_t>(pixels[i]);
        rgba[4 * i + 3] = 255; // the top byte is 0, not transparency
    }
}

bool dump_textures(const std::string& dir, std::string& error) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec || !fs::is_directory(dir, ec)) {
        error = "cannot write textures to '" + dir +
                "': " + (ec ? ec.message() : std::string("not a directory"));
        return false;
    }
    std::vector<TextureImage> images = generate_textures(TextureList, nullptr);
    std::vector<uint8_t> rgba(4 * TexturePixelCount);
    for (size_t i = 0; i < images.size(); i++) {
        char name[32];
        std::snprintf(name, sizeof name, "slot%02zu.png", i);
        std::string path = (fs::path(dir) / name).string();
        texture_pixels_to_rgba(images[i].Pixels, TexturePixelCount, rgba.data());
        if (!write_png_rgba(path.c_str(), TextureSize, TextureSize, rgba.data(), error))
            return false;
    }
    return true;
}

} // namespace bb
