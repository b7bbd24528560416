// The text rasteriser: fontconfig finds the face by name, FreeType draws the
// glyphs as greyscale coverage. A byte string is read as Windows-1252, the
// code page the game's texts were written in.
#include "render/text_raster.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H

#include <cstring>
#include <string>
#include <vector>

namespace bb {

struct LoadedFace {
    std::string Name; // the face name asked for
    FT_Face Face;     // null when nothing could be loaded for it
    bool Embolden;    // the match has no bold weight: thicken the outlines
};

// NOTE: a handful of names at most; a name past the table's end is not loaded.
constexpr int MaxLoadedFaces = 8;
static LoadedFace LoadedFaces[MaxLoadedFaces];
static int LoadedFaceCount = 0;
static FT_Library Library = nullptr;
static bool LibraryFailed = false;

// Windows-1252's 0x80..0x9F; 0 where the code page has no character.
static const uint16_t Cp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

static uint32_t unicode_of(uint8_t byte) {
    if (byte >= 0x80 && byte < 0xA0) return Cp1252High[byte - 0x80];
    return byte;
}

// The bold face fontconfig gives for name, with the system's monospace as the
// fallback ("Lucida Console" becomes DejaVu Sans Mono Bold on Debian).
static LoadedFace* face_for(const char* name) {
    for (int i = 0; i < LoadedFaceCount; i++)
        if (LoadedFaces[i].Name == name) return &LoadedFaces[i];
    if (LoadedFaceCount >= MaxLoadedFaces) return nullptr;
    if (!Library && !LibraryFailed) LibraryFailed = FT_Init_FreeType(&Library) != 0;
    LoadedFace& loaded = LoadedFaces[LoadedFaceCount++];
    loaded = LoadedFace{name, nullptr, false};
    if (LibraryFailed || !FcInit()) return &loaded;

    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name));
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>("monospace"));
    FcPatternAddInteger(pattern, FC_WEIGHT, FC_WEIGHT_BOLD);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return &loaded;
    FcChar8* file = nullptr;
    int index = 0, weight = FC_WEIGHT_BOLD;
    FcPatternGetInteger(match, FC_INDEX, 0, &index);
    FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch &&
        FT_New_Face(Library, reinterpret_cast<const char*>(file), index, &loaded.Face) != 0)
        loaded.Face = nullptr;
    loaded.Embolden = weight < FC_WEIGHT_BOLD;
    FcPatternDestroy(match);
    return &loaded;
}

// Coverage 0..255 of text drawn from the box's top-left corner, clipped to it.
static bool rasterise_text(std::vector<uint8_t>& coverage, int width, int height, const char* text,
                           int point_size, const char* face_name) {
    LoadedFace* loaded = face_for(face_name ? face_name : "");
    if (!loaded || !loaded->Face) return false;
    FT_Face face = loaded->Face;
    // The font's full height (ascent plus descent) is the point size at 96 dpi,
    // rounded as a multiply-then-divide does.
    int pixels = (point_size * 96 + 36) / 72;
    FT_Size_RequestRec request = {FT_SIZE_REQUEST_TYPE_REAL_DIM, 0, pixels * 64, 0, 0};
    if (pixels <= 0 || FT_Request_Size(face, &request) != 0) return false;
    int baseline = static_cast<int>((face->size->metrics.ascender + 32) >> 6);

    int pen = 0;
    for (const uint8_t* c = reinterpret_cast<const uint8_t*>(text); *c; c++) {
        FT_UInt glyph = FT_Get_Char_Index(face, unicode_of(*c));
        // A code with no glyph in the face draws nothing.
        if (glyph == 0 || FT_Load_Glyph(face, glyph, FT_LOAD_DEFAULT) != 0) continue;
        if (loaded->Embolden) FT_GlyphSlot_Embolden(face->glyph);
        if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0) continue;
        const FT_Bitmap& bitmap = face->glyph->bitmap;
        int left = pen + face->glyph->bitmap_left;
        int top = baseline - face->glyph->bitmap_top;
        for (unsigned row = 0; row < bitmap.rows; row++) {
            int y = top + static_cast<int>(row);
            if (y < 0 || y >= height) continue;
            const uint8_t* source = bitmap.buffer + static_cast<int64_t>(row) * bitmap.pitch;
            for (unsigned col = 0; col < bitmap.width; col++) {
                int x = left + static_cast<int>(col);
                if (x < 0 || x >= width) continue;
                uint8_t& cell = coverage[static_cast<size_t>(y) * width + x];
                if (source[col] > cell) cell = source[col];
            }
        }
        pen += static_cast<int>((face->glyph->advance.x + 32) >> 6);
        if (pen >= width) break;
    }
    return true;
}

bool render_text_into(uint32_t* pixels, const char* text, int x, int y, int pitch, int width,
                      int height, int point_size, uint32_t text_colour, uint32_t background,
                      const char* face) {
    if (!pixels || !text || !*text || width <= 0 || height <= 0) return true;
    std::vector<uint8_t> coverage(static_cast<size_t>(width) * height, 0);
    if (!rasterise_text(coverage, width, height, text, point_size, face)) return false;
    std::vector<uint32_t> image(coverage.size());
    for (size_t i = 0; i < coverage.size(); i++)
        image[i] = text_image_pixel(coverage[i], text_colour, background);
    darken_with_text_image(pixels, x, y, pitch, image.data(), width, height);
    return true;
}

} // namespace bb
