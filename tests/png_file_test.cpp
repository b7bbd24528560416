#include "app/png_file.h"
#include "app/texture_dump.h"
#include "texgen/texture_programs.h"
#include "texgen/texture_setup.h"

#include <gtest/gtest.h>

#include <png.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

using namespace bb;
namespace fs = std::filesystem;

namespace {

// A fresh, empty directory for one test.
fs::path scratch_dir(const char* name) {
    fs::path dir = fs::temp_directory_path() /
                   ("brawlbox_test_" + std::string(name) + "_" + std::to_string(getpid()));
    fs::remove_all(dir);
    return dir;
}

// Reads a PNG back as RGBA bytes; false if it is no readable PNG.
bool read_png_rgba(const fs::path& path, int& width, int& height, std::vector<uint8_t>& rgba) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    image.format = PNG_FORMAT_RGBA;
    width = int(image.width);
    height = int(image.height);
    rgba.resize(PNG_IMAGE_SIZE(image));
    bool ok = png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr) != 0;
    png_image_free(&image);
    return ok;
}

} // namespace

TEST(PngFile, WritesWhatReadsBack) {
    fs::path dir = scratch_dir("png");
    fs::create_directories(dir);
    std::vector<uint8_t> rgba(3 * 2 * 4);
    for (size_t i = 0; i < rgba.size(); i++) rgba[i] = uint8_t(i * 37);
    std::string error;
    fs::path file = dir / "small.png";
    ASSERT_TRUE(write_png_rgba(file.c_str(), 3, 2, rgba.data(), error)) << error;
    int w = 0, h = 0;
    std::vector<uint8_t> back;
    ASSERT_TRUE(read_png_rgba(file, w, h, back));
    EXPECT_EQ(w, 3);
    EXPECT_EQ(h, 2);
    EXPECT_EQ(back, rgba);
    fs::remove_all(dir);
}

TEST(PngFile, FailuresSayWhichFileAndLeaveNothing) {
    fs::path dir = scratch_dir("png_fail");
    std::vector<uint8_t> rgba(4, 255);
    std::string error;
    fs::path missing = dir / "no_such_dir" / "x.png";
    EXPECT_FALSE(write_png_rgba(missing.c_str(), 1, 1, rgba.data(), error));
    EXPECT_NE(error.find(missing.string()), std::string::npos) << error;
    EXPECT_NE(error.find("No such file"), std::string::npos) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos);

    fs::create_directories(dir);
    fs::path file = dir / "empty.png";
    EXPECT_FALSE(write_png_rgba(file.c_str(), 0, 1, rgba.data(), error));
    EXPECT_FALSE(write_png_rgba(file.c_str(), 1, 1, nullptr, error));
    EXPECT_FALSE(fs::exists(file));
    // A full disk: the write fails at the close and the partial file goes.
    if (fs::exists("/dev/full")) {
        EXPECT_FALSE(write_png_rgba("/dev/full", 1, 1, rgba.data(), error));
        EXPECT_NE(error.find("/dev/full"), std::string::npos) << error;
    }
    fs::remove_all(dir);
}

TEST(TextureDump, WritesTheSlotsAndWhatIsUploadedAsOpaquePictures) {
    fs::path dir = scratch_dir("dump") / "made" / "here";
    std::string error;
    ASSERT_TRUE(dump_textures(dir.string(), error)) << error;
    std::vector<TextureImage> images = generate_textures(TextureList, nullptr);
    std::vector<std::string> problems;
    std::vector<TextureImage> uploaded = make_texture_images(1, problems);
    auto expect_file = [&](const char* stem, int i, const TextureImage& image) {
        char name[24];
        std::snprintf(name, sizeof name, "%s%02d.png", stem, i);
        int w = 0, h = 0;
        std::vector<uint8_t> back, want(4 * TexturePixelCount);
        ASSERT_TRUE(read_png_rgba(dir / name, w, h, back)) << name;
        EXPECT_EQ(w, 256);
        EXPECT_EQ(h, 256);
        texture_pixels_to_rgba(image.Pixels, TexturePixelCount, want.data());
        EXPECT_EQ(back, want) << name;
    };
    for (int i = 0; i < TextureSlotCount; i++) {
        expect_file("slot", i, images[i]);
        expect_file(i % 2 == 0 ? "relief" : "colour", i, uploaded[i]);
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()),
              2 * TextureSlotCount);
    fs::remove_all(scratch_dir("dump"));

    // A path through a regular file cannot become a directory.
    EXPECT_FALSE(dump_textures("/dev/null/textures", error));
    EXPECT_NE(error.find("/dev/null/textures"), std::string::npos) << error;
}

TEST(TextureDump, PixelsBecomeOpaqueRgba) {
    const uint32_t pixels[2] = {0x00123456, 0x00FF0080};
    uint8_t rgba[8];
    texture_pixels_to_rgba(pixels, 2, rgba);
    const uint8_t want[8] = {0x12, 0x34, 0x56, 255, 0xFF, 0x00, 0x80, 255};
    EXPECT_EQ(std::memcmp(rgba, want, 8), 0);
}
