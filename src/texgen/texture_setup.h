// The start-up textures: the fourteen programs' images, the menu labels drawn
// into slots 8 to 13, the even slots turned into relief maps, everything
// uploaded with full mipmap chains into TextureSlots, then the font atlas.
#pragma once

#include "platform/gfx.h"
#include "texgen/interpreter.h"

#include <string>
#include <vector>

namespace bb {

constexpr int MenuLabelPageCount = 3;
constexpr int MenuLabelFieldCount = 6;
constexpr int MenuLabelFieldSize = 24;
constexpr int FirstMenuLabelSlot = 8; // slots 8 + 2p and 9 + 2p show page p

// Each page's labels in sign order; an empty field ends the page.
extern const char MenuLabelPages[MenuLabelPageCount][MenuLabelFieldCount][MenuLabelFieldSize];

// Label k's box: columns 10 to 255, rows 6 + 42k to 37 + 42k, the bands the
// menu signs map (at 2.953125 units a row and a scale of 1/18, 42 texels).
constexpr int MenuLabelX = 10;
constexpr int MenuLabelBoxWidth = 246;
constexpr int MenuLabelBoxHeight = 32;
constexpr int MenuLabelPoints = 24;
constexpr const char* MenuLabelFace = "Times New Roman";
constexpr int menu_label_top(int k) {
    return 6 + 42 * k;
}

constexpr int ReliefStrength = -100;
// What a slot shows when its labels or its upload fail: this mid-grey as a
// colour texture, and the flat relief it gives as a relief map.
constexpr uint32_t PlainSlotColour = 0x808080;

// The page slot shows (0..2), or -1 for a slot without labels.
int menu_label_page(int slot);

// Draws slot's labels into its image: black on even slots, grey 0x7F7F7F on
// odd ones. A slot without labels is left as it is. False when the font
// cannot be loaded.
bool draw_menu_labels(TextureImage& image, int slot);

// Generated images into what is uploaded, in slot order: labels drawn, even
// slots made relief maps. A slot whose labels cannot be drawn becomes plain
// and gets one line in problems.
void finish_texture_images(std::vector<TextureImage>& images, std::vector<std::string>& problems);

// The threads texture generation uses: the machine's cores, 1 to 8.
int texture_threads();

// Generation on threads threads, then finish_texture_images: every pixel the
// start-up uploads, without the graphics device.
std::vector<TextureImage> make_texture_images(int threads, std::vector<std::string>& problems);

using TextureUploader = GfxTexture (*)(const uint32_t* pixels, int w, int h, int levels);

// Uploads image i into TextureSlots[i] with a full mipmap chain. A slot whose
// texture upload refuses (returns 0) gets a small plain texture instead and one
// line in problems.
void upload_texture_slots(const std::vector<TextureImage>& images, TextureUploader upload,
                          std::vector<std::string>& problems);

// Once at start-up, after the device exists: fills TextureSlots and FontAtlas.
// Each problem is one line on standard error; the game starts regardless.
void texture_setup();

} // namespace bb
