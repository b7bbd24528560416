#include "render/font_atlas.h"

#include "render/device.h"
#include "render/text_raster.h"

#include <vector>

namespace bb {

GfxTexture FontAtlas = 0;

void build_font_atlas_image(uint32_t* atlas) {
    for (int i = 0; i < FontAtlasSize * FontAtlasSize; i++) atlas[i] = 0xFFFFFFFFu;
    for (int b = 0; b < 256; b++) {
        const char text[2] = {static_cast<char>(b), 0};
        int x, y;
        font_atlas_cell(b, x, y);
        render_text_into(atlas, text, x, y, FontAtlasSize, FontCellSize, FontCellSize, 12, 0x000000,
                         0xFFFFFF, "Lucida Console");
    }
    for (int i = 0; i < FontAtlasSize * FontAtlasSize; i++) atlas[i] = ~atlas[i];
}

void build_font_atlas() {
    std::vector<uint32_t> atlas(FontAtlasSize * FontAtlasSize);
    build_font_atlas_image(atlas.data());
    FontAtlas = upload_texture(atlas.data(), FontAtlasSize, FontAtlasSize, 0);
}

} // namespace bb
