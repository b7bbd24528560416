#include "app/texture_dump.h"

#include "app/output_dir.h"

#include "app/png_file.h"
#include "texgen/texture_programs.h"
#include "texgen/texture_setup.h"

#include <cstdio>
#include <filesystem>
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
    if (!make_output_dir(dir, "textures", error)) return false;
    namespace fs = std::filesystem;
    std::vector<uint8_t> rgba(4 * TexturePixelCount);
    auto write = [&](const TextureImage& image, const char* stem, size_t slot) {
        char name[32];
        std::snprintf(name, sizeof name, "%s%02zu.png", stem, slot);
        std::string path = (fs::path(dir) / name).string();
        texture_pixels_to_rgba(image.Pixels, TexturePixelCount, rgba.data());
        return write_png_rgba(path.c_str(), TextureSize, TextureSize, rgba.data(), error);
    };
    std::vector<TextureImage> images = generate_textures_parallel(TextureList, texture_threads());
    for (size_t i = 0; i < images.size(); i++)
        if (!write(images[i], "slot", i)) return false;

    std::vector<std::string> problems;
    finish_texture_images(images, problems);
    for (const std::string& problem : problems)
        std::fprintf(stderr, "brawlbox: %s\n", problem.c_str());
    for (size_t i = 0; i < images.size(); i++)
        if (!write(images[i], i % 2 == 0 ? "relief" : "colour", i)) return false;
    return true;
}

} // namespace bb
