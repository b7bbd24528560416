#include "texgen/texture_setup.h"

#include "render/device.h"
#include "render/font_atlas.h"
#include "render/text_raster.h"
#include "render/texture_slots.h"
#include "texgen/relief_map.h"
#include "texgen/texture_programs.h"

#include <algorithm>
#include <cstdio>
#include <system_error>
#include <thread>

namespace bb {

// NOTE: the page-2 labels begin with blanks (one, one, five): a blank label is
// not empty and still takes its row.
const char MenuLabelPages[MenuLabelPageCount][MenuLabelFieldCount][MenuLabelFieldSize] = {
    {"Singleplayer Game", "2 Player Game", "Settings: Detail", "Quit", "", ""},
    {"No shadow", "2 lights", "4 lights", "12 lights", "", ""},
    {" ", " Documentation", " ", "     OK", "", ""},
};

int menu_label_page(int slot) {
    if (slot < FirstMenuLabelSlot || slot >= FirstMenuLabelSlot + 2 * MenuLabelPageCount) return -1;
    return slot / 2 - FirstMenuLabelSlot / 2;
}

bool draw_menu_labels(TextureImage& image, int slot) {
    int page = menu_label_page(slot);
    if (page < 0) return true;
    uint32_t ink = slot % 2 == 0 ? 0x000000 : 0x7F7F7F;
    for (int k = 0; k < MenuLabelFieldCount && MenuLabelPages[page][k][0]; k++)
        if (!render_text_into(image.Pixels, MenuLabelPages[page][k], MenuLabelX, menu_label_top(k),
                              TextureSize, MenuLabelBoxWidth, MenuLabelBoxHeight, MenuLabelPoints,
                              ink, 0xFFFFFF, MenuLabelFace))
            return false;
    return true;
}

void finish_texture_images(std::vector<TextureImage>& images, std::vector<std::string>& problems) {
    std::vector<uint32_t> relief(TexturePixelCount);
    for (size_t i = 0; i < images.size(); i++) {
        TextureImage& image = images[i];
        int slot = static_cast<int>(i);
        if (!draw_menu_labels(image, slot)) {
            problems.push_back("slot " + std::to_string(slot) + ": no font for \"" + MenuLabelFace +
                               "\"; the menu sign stays plain");
            for (uint32_t& p : image.Pixels) p = PlainSlotColour;
        }
        if (slot % 2 == 0) {
            make_normal_map(image.Pixels, TextureSize, TextureSize, ReliefStrength, relief.data());
            std::copy(relief.begin(), relief.end(), image.Pixels);
        }
    }
}

int texture_threads() {
    unsigned cores = std::thread::hardware_concurrency();
    return cores < 1 ? 1 : cores > 8 ? 8 : static_cast<int>(cores);
}

std::vector<TextureImage> make_texture_images(int threads, std::vector<std::string>& problems) {
    std::vector<TextureImage> images = generate_textures_parallel(TextureList, threads);
    finish_texture_images(images, problems);
    return images;
}

void upload_texture_slots(const std::vector<TextureImage>& images, TextureUploader upload,
                          std::vector<std::string>& problems) {
    // Small, as one colour needs no detail: the likeliest upload to succeed.
    constexpr int PlainSide = 8;
    for (int slot = 0; slot < TextureSlotCount; slot++) {
        GfxTexture texture = 0;
        if (static_cast<size_t>(slot) < images.size())
            texture = upload(images[slot].Pixels, TextureSize, TextureSize, 0);
        if (!texture) {
            uint32_t plain[PlainSide * PlainSide];
            for (uint32_t& p : plain) p = slot % 2 == 0 ? FlatRelief : PlainSlotColour;
            texture = upload(plain, PlainSide, PlainSide, 0);
            problems.push_back("slot " + std::to_string(slot) +
                               ": the driver refused its texture; it stays plain");
        }
        TextureSlots[slot] = texture;
    }
}

void texture_setup() {
    // NOTE: the driver's first texture may cost more than all the others
    // (Mesa's software rasteriser prepares itself then), so the font atlas is
    // made and uploaded while the programs run, not after them.
    std::vector<TextureImage> images;
    std::thread generator;
    try {
        generator = std::thread(
            [&] { images = generate_textures_parallel(TextureList, texture_threads()); });
    } catch (const std::system_error&) {
    }
    build_font_atlas();
    if (generator.joinable())
        generator.join();
    else
        images = generate_textures_parallel(TextureList, texture_threads());

    std::vector<std::string> problems;
    finish_texture_images(images, problems);
    upload_texture_slots(images, upload_texture, problems);
    for (const std::string& problem : problems)
        std::fprintf(stderr, "brawlbox: %s\n", problem.c_str());
}

} // namespace bb
