#include "texgen/generators.h"
#include "texgen/interpreter.h"
#include "texgen/texture_programs.h"
#include "texgen_test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace bb;
using namespace bb::test;

namespace {

std::vector<float> Fractions;
void record_progress(float f) {
    Fractions.push_back(f);
}

struct ListRun {
    std::vector<TextureImage> Images;
    std::vector<float> Progress;
};

ListRun run_list(std::vector<const TextureProgram*> list) {
    list.push_back(nullptr);
    Fractions.clear();
    ListRun run;
    run.Images = generate_textures(list.data(), record_progress);
    run.Progress = Fractions;
    return run;
}

std::vector<uint32_t> image_pixels(const TextureImage& image) {
    return std::vector<uint32_t>(image.Pixels, image.Pixels + TexturePixelCount);
}

// The commands as 9-byte rows.
const std::vector<uint8_t> SpotOnLayer0 = {4, 0, 0, 0, 0, 0, 0, 0, 0};
const std::vector<uint8_t> NoiseOnLayer0 = {1, 0, 1, 0, 9, 8, 7, 6, 0}; // green only

std::vector<uint8_t> concat(std::initializer_list<std::vector<uint8_t>> parts) {
    std::vector<uint8_t> out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

std::vector<uint32_t> spot_image() {
    std::vector<uint8_t> bytes = program_bytes(1, SpotOnLayer0);
    TextureProgram program = as_program(bytes);
    return image_pixels(run_list({&program}).Images[0]);
}

} // namespace

TEST(TextureInterpreter, EmptyProgramIsBlackAndABadHeaderLeavesTheImage) {
    std::vector<uint8_t> empty = program_bytes(0, {});
    TextureProgram program = as_program(empty);
    TextureImage image;
    for (uint32_t& p : image.Pixels) p = 0xABCDEF;
    run_program(&program, &image);
    EXPECT_EQ(image_pixels(image), std::vector<uint32_t>(TexturePixelCount, 0));

    // A wrong magic, or too few bytes for a header: no result and no progress.
    std::vector<uint8_t> wrong = concat({{'Q', 'T', 'Y', 1}, SpotOnLayer0});
    std::vector<uint8_t> short_header = {'Q', 'T', 'X'};
    for (const auto& bytes : {wrong, short_header}) {
        TextureProgram bad = as_program(bytes);
        for (uint32_t& p : image.Pixels) p = 0xABCDEF;
        run_program(&bad, &image);
        EXPECT_EQ(image.Pixels[0], 0xABCDEFu);
        ListRun run = run_list({&bad});
        EXPECT_TRUE(run.Progress.empty());
        EXPECT_EQ(image_pixels(run.Images[0]), std::vector<uint32_t>(TexturePixelCount, 0));
    }
}

TEST(TextureInterpreter, SkippedCommandsAreSteppedOverAndCounted) {
    // A layer-4 spot, then a layer-4 Bitmap whose data would read as skipped
    // commands if misframed, an opcode outside the table, then the real spot.
    std::vector<uint8_t> data(BitmapDataSize, 0xFF);
    std::vector<uint8_t> bytes = program_bytes(4, concat({{4, 4, 0, 0, 0, 0, 0, 0, 0},
                                                          {40, 4, 0, 0, 0, 255, 255, 255, 0},
                                                          data,
                                                          {7, 0, 1, 2, 3, 4, 5, 6, 7},
                                                          SpotOnLayer0}));
    TextureProgram program = as_program(bytes);
    ListRun run = run_list({&program});
    EXPECT_EQ(run.Progress, (std::vector<float>{0.25f, 0.5f, 0.75f, 1.0f}));
    EXPECT_EQ(image_pixels(run.Images[0]), spot_image());
    EXPECT_EQ(run.Images[0].Pixels[128 * 256 + 128], 0xFFFFFFu);
}

TEST(TextureInterpreter, ProgressRisesByOneCommandAndEndsAtExactlyOne) {
    std::vector<uint8_t> a = program_bytes(2, concat({SpotOnLayer0, NoiseOnLayer0}));
    std::vector<uint8_t> b = program_bytes(3, concat({SpotOnLayer0, SpotOnLayer0, SpotOnLayer0}));
    TextureProgram pa = as_program(a), pb = as_program(b);
    ListRun run = run_list({&pa, &pb, &pa});
    ASSERT_EQ(run.Progress.size(), 7u);
    for (size_t i = 0; i < run.Progress.size(); i++)
        EXPECT_EQ(run.Progress[i], float(i + 1) / 7.0f);
    EXPECT_EQ(run.Progress.back(), 1.0f);
    // The repeated program's noise starts from its own seed again.
    EXPECT_EQ(image_pixels(run.Images[0]), image_pixels(run.Images[2]));
    EXPECT_NE(image_pixels(run.Images[0]), image_pixels(run.Images[1]));
}

TEST(TextureInterpreter, StreamsThatRunShortOrNameBadLayersAreSkippedSafely) {
    // Each case is a spot on layer 0 followed by something that must do
    // nothing; every byte vector is exactly as long as it says, so a read past
    // it would be out of bounds.
    struct Case {
        const char* name;
        int count;
        std::vector<uint8_t> rest;
        size_t commands_counted;
    };
    const std::vector<uint8_t> cut_bitmap =
        concat({{40, 0, 255, 255, 255, 0, 0, 0, 0}, std::vector<uint8_t>(100, 0)});
    const Case cases[] = {
        {"count past the end", 5, {}, 5},
        {"largest count", 255, {}, 255},
        {"command cut short", 2, {17, 0, 1, 0}, 2},
        {"bitmap data cut short", 2, cut_bitmap, 2},
        {"displace from layer 7", 2, {17, 0, 7, 0, 255, 1, 1, 254, 0}, 2},
        {"displace by channel 3", 2, {17, 0, 1, 0, 255, 1, 3, 254, 0}, 2},
        {"copy from channel 5", 2, {23, 0, 1, 1, 5, 0, 0, 0, 0}, 2},
        {"noise into channel 3", 2, {1, 0, 3, 0, 1, 2, 3, 4, 0}, 2},
        {"mask from layer 4", 2, {38, 0, 1, 4, 0, 0, 0, 0, 0}, 2},
        {"cross-fade with layer 200", 2, {24, 0, 200, 128, 0, 0, 0, 0, 0}, 2},
        {"spot of mode 1 into channel 3", 2, {4, 0, 1, 3, 0, 0, 0, 0, 0}, 2},
        {"directional blur of 0 samples", 2, {18, 0, 0, 0, 0, 0, 0, 0, 0}, 2},
    };
    const std::vector<uint32_t> spot = spot_image();
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = program_bytes(c.count, concat({SpotOnLayer0, c.rest}));
        TextureProgram program = as_program(bytes);
        ListRun run = run_list({&program});
        EXPECT_EQ(image_pixels(run.Images[0]), spot) << c.name;
        EXPECT_EQ(run.Progress.size(), c.commands_counted) << c.name;
        EXPECT_EQ(run.Progress.back(), 1.0f) << c.name;
    }
    // Mode 0 does not use the channel byte, so a wild one does not skip it.
    std::vector<uint8_t> grey_spot = program_bytes(1, {4, 0, 0, 9, 0, 0, 0, 0, 0});
    TextureProgram program = as_program(grey_spot);
    EXPECT_EQ(image_pixels(run_list({&program}).Images[0]), spot);
}

TEST(TextureInterpreter, NullAndEmptyInputsDoNothing) {
    TextureImage image;
    image.Pixels[0] = 42;
    run_program(nullptr, &image);
    EXPECT_EQ(image.Pixels[0], 42u);
    run_program(&TextureProgramA, nullptr);
    const TextureProgram* empty_list[] = {nullptr};
    EXPECT_TRUE(generate_textures(empty_list, nullptr).empty());
    EXPECT_TRUE(generate_textures(nullptr, nullptr).empty());
    TextureProgram no_bytes = {nullptr, 100};
    ListRun run = run_list({&no_bytes});
    EXPECT_TRUE(run.Progress.empty());
}

TEST(BrightnessTable, DarkensBelowRow128AndLightensFromIt) {
    texture_generator_init();
    const auto& table = TextureGenerator.BrightnessTable;
    for (int v = 0; v < 256; v++) {
        EXPECT_EQ(table[0][v], 0) << v;
        EXPECT_EQ(table[127][v], v) << v;
        EXPECT_EQ(table[128][v], v) << v;
        EXPECT_EQ(table[255][v], 255) << v;
        EXPECT_EQ(table[64][v], 64 * v / 127) << v;
        EXPECT_GE(table[192][v], v) << v;
    }
    EXPECT_EQ(table[192][0], 128); // 255 - 255 * (1 - 64/127), truncated
}

TEST(TexturePrograms, HeadersCountsAndLengths) {
    struct Case {
        const TextureProgram* program;
        int count;
    };
    const Case cases[] = {
        {&TextureProgramA, 23}, {&TextureProgramB, 25}, {&TextureProgramC, 16},
        {&TextureProgramD, 23}, {&TextureProgramE, 17}, {&TextureProgramF, 13},
        {&TextureProgramG, 12}, {&TextureProgramH, 12}, {&TextureProgramI, 13},
    };
    for (const Case& c : cases) {
        const uint8_t* b = c.program->Bytes;
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(b), 3), "QTX");
        EXPECT_EQ(b[3], c.count);
        EXPECT_EQ(c.program->Size, uint32_t(4 + 9 * c.count));
        for (int n = 0; n < c.count; n++)
            EXPECT_TRUE(texture_opcode_name(b[4 + 9 * n]) && texture_command_valid(b + 4 + 9 * n))
                << "command " << n + 1;
    }
    // Programs that begin as another: their shared commands are the same bytes.
    auto shares = [](const TextureProgram& a, const TextureProgram& b, int commands) {
        return std::equal(a.Bytes + 4, a.Bytes + 4 + 9 * commands, b.Bytes + 4);
    };
    EXPECT_TRUE(shares(TextureProgramA, TextureProgramB, 23));
    EXPECT_TRUE(shares(TextureProgramC, TextureProgramD, 10));
    EXPECT_TRUE(shares(TextureProgramE, TextureProgramF, 12));
    EXPECT_TRUE(shares(TextureProgramE, TextureProgramG, 11));
    EXPECT_TRUE(shares(TextureProgramH, TextureProgramI, 10));

    const TextureProgram* const slots[] = {
        &TextureProgramA, &TextureProgramB, &TextureProgramC, &TextureProgramD, &TextureProgramE,
        &TextureProgramF, &TextureProgramE, &TextureProgramG, &TextureProgramH, &TextureProgramI,
        &TextureProgramH, &TextureProgramI, &TextureProgramH, &TextureProgramI};
    int total = 0;
    for (int i = 0; i < TextureSlotCount; i++) {
        EXPECT_EQ(TextureList[i], slots[i]) << "slot " << i;
        total += TextureList[i]->Bytes[3];
    }
    EXPECT_EQ(TextureList[TextureSlotCount], nullptr);
    EXPECT_EQ(total, 221);
}
