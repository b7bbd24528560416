#include "texgen/colour_ops.h"
#include "texgen/combine_ops.h"
#include "texgen/distortions.h"
#include "texgen/filters.h"
#include "texgen/generators.h"
#include "texgen_test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

using namespace bb;
using namespace bb::test;

namespace {

struct TexgenOps : ::testing::Test {
    void SetUp() override {
        texture_generator_init();
        for (int l = 0; l < TextureLayerCount; l++) fill_layer(l, 0);
    }
};

// Every value 0..255 appears in every channel, in different combinations.
void fill_layer_all_values(int layer) {
    uint32_t* px = layer_pixels(layer);
    for (uint32_t i = 0; i < TexturePixelCount; i++)
        px[i] = ((i & 255) << 16) | (((i >> 8) & 255) << 8) | ((i * 7 + (i >> 8)) & 255);
}

// Checks each channel c of every pixel of the layer against f(c, value
// before, value of the other layer's channel c).
void expect_channels(int layer, const std::vector<uint32_t>& before,
                     const std::vector<uint32_t>& other, const std::function<int(int, int, int)>& f,
                     const char* what) {
    const uint32_t* px = layer_pixels(layer);
    int failures = 0;
    for (int i = 0; i < TexturePixelCount && failures < 5; i++)
        for (int c = 0; c < 3; c++) {
            int want = f(c, int(read_channel(before[i], c)), int(read_channel(other[i], c)));
            if (int(read_channel(px[i], c)) != want || (px[i] >> 24) != 0) {
                ADD_FAILURE() << what << ": pixel " << i << " channel " << c << " is "
                              << read_channel(px[i], c) << ", want " << want;
                failures++;
            }
        }
}

int truncate_toward_zero(float v) {
    return static_cast<int>(v);
}

} // namespace

TEST(NoiseHelpers, HashWrapsAndTruncatesItsDivision) {
    struct Case {
        int32_t seed, n, result;
    };
    const Case cases[] = {
        {0, 0, 111361},  {0, 1, 106546},          {0x1915D2C1, 12345, 109820},
        {-5, -7, 73469}, {0x1915D2C1, 6, -43483}, // a negative quotient rounds toward zero
    };
    for (const Case& c : cases) {
        TextureGenerator.NoiseSeed = c.seed;
        EXPECT_EQ(noise_hash(c.n), c.result) << c.n;
    }
    EXPECT_EQ(seed_from_bytes((const uint8_t[]){25, 21, 210, 193}), 0x1915D2C1);
    EXPECT_EQ(seed_from_bytes((const uint8_t[]){251, 139, 28, 14}), int32_t(0xFB8B1C0E));
}

TEST(NoiseHelpers, CubicPassesThroughInnerPointsAndMayOvershoot) {
    EXPECT_EQ(cubic_interpolate(3, 10, 20, 7, 0), 10);
    EXPECT_EQ(cubic_interpolate(3, 10, 20, 7, 1), 20);
    EXPECT_FLOAT_EQ(cubic_interpolate(0, 255, 255, 0, 0.5f), 318.75f);
}

TEST_F(TexgenOps, FractalNoiseFillsOneChannelWithSummedOctaves) {
    fill_layer_pattern(2);
    std::vector<uint32_t> before = layer_copy(2);
    const uint8_t p[7] = {1, 0, 25, 21, 210, 193, 0};
    fractal_noise(2, p);
    uint32_t lo = 255, hi = 0;
    for (int i = 0; i < TexturePixelCount; i++) {
        uint32_t v = read_channel(layer_pixels(2)[i], 1);
        lo = std::min(lo, v);
        hi = std::max(hi, v);
        ASSERT_EQ(layer_pixels(2)[i] & 0xFF00FFu, before[i] & 0xFF00FFu) << i;
    }
    EXPECT_LE(hi, 247u);
    EXPECT_GT(hi - lo, 64u);
    // Pixel (0, 0) is lattice point 0 of every octave: the sum of the first
    // lattice value scaled by 128/256, 64/256, ... 1/256, each truncated.
    TextureGenerator.NoiseSeed = seed_from_bytes(p + 2);
    int first = noise_hash(0) & 255, want = first * 128 / 256;
    for (int a = 64; a >= 1; a /= 2) want += first * a / 256;
    EXPECT_EQ(read_channel(pixel_at(2, 0, 0), 1), uint32_t(want));
}

TEST_F(TexgenOps, SmoothNoiseLatticeOrderAndStepZero) {
    fill_layer_pattern(1);
    std::vector<uint32_t> before = layer_copy(1);
    const uint8_t none[7] = {0, 0, 1, 2, 3, 4, 0};
    smooth_noise(1, none);
    EXPECT_EQ(layer_copy(1), before);

    const uint8_t p[7] = {2, 16, 162, 7, 25, 140, 0};
    smooth_noise(1, p);
    TextureGenerator.NoiseSeed = seed_from_bytes(p + 2);
    // Lattice points are numbered row by row: (16, 0) is point 1, (0, 16) point 16.
    auto lattice = [](int k) { return uint32_t(float(noise_hash(k) & 255) * (255.0f / 256.0f)); };
    EXPECT_EQ(read_channel(pixel_at(1, 0, 0), 2), lattice(0));
    EXPECT_EQ(read_channel(pixel_at(1, 16, 0), 2), lattice(1));
    EXPECT_EQ(read_channel(pixel_at(1, 0, 16), 2), lattice(16));
    for (int i = 0; i < TexturePixelCount; i++)
        ASSERT_EQ(layer_pixels(1)[i] & 0xFFFF00u, before[i] & 0xFFFF00u) << i;
}

TEST_F(TexgenOps, CellsMeasureWrappedDistanceToTheNearestPoint) {
    fill_layer_pattern(0);
    std::vector<uint32_t> before = layer_copy(0);
    const uint8_t no_points[7] = {1, 0, 200, 1, 2, 3, 4};
    cells(0, no_points);
    for (int i = 0; i < TexturePixelCount; i++)
        ASSERT_EQ(layer_pixels(0)[i], write_channel(before[i], 1, 255)) << i;

    const uint8_t one_point[7] = {2, 1, 25, 1, 2, 3, 4}; // scale 25/25.6
    cells(0, one_point);
    TextureGenerator.NoiseSeed = seed_from_bytes(one_point + 3);
    int px = noise_hash(0) & 255, py = noise_hash(1) & 255;
    auto at = [&](int dx, int dy) {
        return read_channel(pixel_at(0, (px + dx) & 255, (py + dy) & 255), 2);
    };
    EXPECT_EQ(at(0, 0), 0u);
    EXPECT_EQ(at(3, 4), 4u);                 // distance 5
    EXPECT_EQ(at(128, 0), 125u);             // the far side, reached either way round
    EXPECT_EQ(at(-100, -100), at(100, 100)); // wraps symmetrically
}

TEST_F(TexgenOps, RadialSpotModes) {
    fill_layer_pattern(0);
    std::vector<uint32_t> before = layer_copy(0);
    const uint8_t other_mode[7] = {2, 0, 0, 0, 0, 0, 0};
    radial_spot(0, other_mode);
    EXPECT_EQ(layer_copy(0), before);

    const uint8_t grey_spot[7] = {0, 0, 0, 0, 0, 0, 0};
    radial_spot(0, grey_spot);
    EXPECT_EQ(pixel_at(0, 128, 128), grey(255));
    for (auto [x, y] : {std::pair{127, 128}, {129, 128}, {128, 127}, {128, 129}})
        EXPECT_EQ(pixel_at(0, x, y), grey(253));
    for (int y = 0; y < 256; y++)
        for (int x = 0; x < 256; x++)
            if (std::hypot(x - 128.0, y - 128.0) >= 127.5) {
                ASSERT_EQ(pixel_at(0, x, y), 0u) << x << ", " << y;
            }

    fill_layer_pattern(0);
    const uint8_t blue_spot[7] = {1, 2, 0, 0, 0, 0, 0}; // falloff 0.8
    radial_spot(0, blue_spot);
    EXPECT_EQ(pixel_at(0, 128, 128), write_channel(before[128 * 256 + 128], 2, 255));
    EXPECT_EQ(pixel_at(0, 129, 128), write_channel(before[128 * 256 + 129], 2, 253));
}

TEST_F(TexgenOps, SinePlasmaWritesItsChannelParameterP6) {
    fill_layer_pattern(0);
    std::vector<uint32_t> before = layer_copy(0);
    const uint8_t p[7] = {3, 2, 10, 20, 0, 0, 1};
    sine_plasma(0, p);
    for (int i = 0; i < TexturePixelCount; i++) {
        uint32_t v = read_channel(layer_pixels(0)[i], 1);
        ASSERT_TRUE(v >= 1 && v <= 253) << i;
        ASSERT_EQ(layer_pixels(0)[i] & 0xFF00FFu, before[i] & 0xFF00FFu) << i;
    }
    // (182 + 10) * 3 and (12 + 20) * 2 are a quarter period (64) mod 256, so
    // both sines are 1; at (54, 76) both are -1.
    EXPECT_EQ(read_channel(pixel_at(0, 182, 12), 1), 253u);
    EXPECT_EQ(read_channel(pixel_at(0, 54, 76), 1), 1u);
}

TEST_F(TexgenOps, BitmapBitsAreLeastSignificantFirst) {
    std::vector<uint8_t> data(BitmapDataSize, 0);
    data[33] = 0x02;   // pixel (9, 1)
    data[0] = 0x01;    // pixel (0, 0)
    data[8191] = 0x80; // pixel (255, 255)
    const uint8_t p[7] = {1, 2, 3, 200, 100, 50, 0};
    bitmap(3, p, data.data());
    const uint32_t zero = 0x010203, one = 0xC86432;
    EXPECT_EQ(pixel_at(3, 9, 1), one);
    EXPECT_EQ(pixel_at(3, 8, 1), zero);
    EXPECT_EQ(pixel_at(3, 10, 1), zero);
    EXPECT_EQ(pixel_at(3, 0, 0), one);
    EXPECT_EQ(pixel_at(3, 1, 0), zero);
    EXPECT_EQ(pixel_at(3, 255, 255), one);
    EXPECT_EQ(std::count(layer_pixels(3), layer_pixels(3) + TexturePixelCount, one), 3);
    clear_layer(3);
    EXPECT_EQ(layer_copy(3), std::vector<uint32_t>(TexturePixelCount, 0));
}

TEST_F(TexgenOps, SampleBilinearLosesALittleAndWraps) {
    struct Case {
        uint32_t value;
        float u, v;
        uint32_t want;
    };
    const Case cases[] = {
        {255, 10, 20, 253}, {255, 10.5f, 20.5f, 252}, {100, 3, 4, 98},
        {255, 0, 0, 253},   {255, -0.5f, -0.5f, 252},
    };
    for (const Case& c : cases) {
        fill_layer(0, grey(c.value));
        EXPECT_EQ(sample_bilinear(layer_pixels(0), c.u, c.v), grey(c.want)) << c.u << ", " << c.v;
    }
    // u = -0.5 reads columns 255 and 0 (and nothing else), about half each.
    for (auto [left, right] : {std::pair{200u, 0u}, {0u, 200u}}) {
        fill_layer(0, grey(77));
        for (int y = 0; y < 256; y++) {
            layer_pixels(0)[y * 256 + 255] = grey(left);
            layer_pixels(0)[y * 256 + 0] = grey(right);
        }
        uint32_t s = sample_bilinear(layer_pixels(0), -0.5f, 7);
        EXPECT_TRUE(s == grey(98) || s == grey(99)) << std::hex << s;
        EXPECT_EQ(s, sample_bilinear(layer_pixels(0), 255.5f, 7));
    }
}

TEST_F(TexgenOps, ScrollMovesContentLeftAndUp) {
    fill_layer_pattern(0);
    std::vector<uint32_t> before = layer_copy(0);
    const uint8_t none[7] = {0, 0, 0, 0, 0, 0, 0};
    scroll(0, none);
    EXPECT_EQ(layer_copy(0), before);
    const uint8_t back_one[7] = {255, 255, 0, 0, 0, 0, 0};
    scroll(0, back_one);
    for (int y = 0; y < 256; y++)
        for (int x = 0; x < 256; x++)
            ASSERT_EQ(pixel_at(0, x, y), before[((y - 1) & 255) * 256 + ((x - 1) & 255)]);
    fill_layer_pattern(0);
    const uint8_t by_3_5[7] = {3, 5, 0, 0, 0, 0, 0};
    scroll(0, by_3_5);
    EXPECT_EQ(pixel_at(0, 254, 252), before[1 * 256 + 1]);
}

TEST_F(TexgenOps, DisplaceSamplesAtTheOffsetGivenByTwoChannels) {
    fill_layer_pattern(0);
    std::vector<uint32_t> before = layer_copy(0);
    // Red 128 at scale 2/256 is one pixel across; green 64 at scale 8/256 is
    // two pixels down.
    fill_layer(1, 0x804000);
    const uint8_t p[7] = {1, 0, 2, 1, 1, 8, 0};
    displace(0, p);
    for (int r = 0; r < 256; r += 5)
        for (int c = 0; c < 256; c += 3)
            ASSERT_EQ(pixel_at(0, c, r),
                      sample_bilinear(before.data(), float(c + 1), float(r + 2)));

    // The target as its own displacement is read as it was before the command.
    fill_layer_pattern(0);
    const uint8_t self[7] = {0, 0, 255, 0, 2, 255, 0};
    displace(0, self);
    for (int r = 0; r < 256; r += 7)
        for (int c = 0; c < 256; c += 3) {
            uint32_t b = before[r * 256 + c];
            float u = float(c) + float(read_channel(b, 0)) * (255.0f / 256.0f);
            float v = float(r) + float(read_channel(b, 2)) * (255.0f / 256.0f);
            ASSERT_EQ(pixel_at(0, c, r), sample_bilinear(before.data(), u, v));
        }
}

TEST_F(TexgenOps, SineWarpShiftsRowsAcrossAndColumnsDown) {
    fill_layer_pattern(0);
    std::vector<uint32_t> before = layer_copy(0);
    // Zero frequencies: dx = p2 sin(0) = 0 and dy = p3 cos(0) = p3.
    const uint8_t p[7] = {0, 0, 9, 3, 17, 40, 0};
    sine_warp(0, p);
    for (int r = 0; r < 256; r += 3)
        for (int c = 0; c < 256; c += 5)
            ASSERT_EQ(pixel_at(0, c, r), sample_bilinear(before.data(), float(c), float(r + 3)));
}

TEST_F(TexgenOps, SwirlTwistsTheCentreAndLeavesTheCornersHalfAPixelOff) {
    // A smooth layer, so that sub-pixel differences stay small.
    uint32_t* px = layer_pixels(0);
    for (int y = 0; y < 256; y++)
        for (int x = 0; x < 256; x++)
            px[y * 256 + x] =
                grey(uint32_t(127 + 120 * std::sin(x * 0.0245) * std::cos(y * 0.0245)));
    std::vector<uint32_t> before = layer_copy(0);
    auto near_half_off = [&](int x, int y) {
        int got = int(pixel_at(0, x, y) & 255);
        int want = int(sample_bilinear(before.data(), x + 0.5f, y + 0.5f) & 255);
        return std::abs(got - want) <= 2;
    };
    const uint8_t none[7] = {127, 0, 0, 0, 0, 0, 0};
    swirl(0, none);
    int off = 0;
    for (int y = 0; y < 256; y += 3)
        for (int x = 0; x < 256; x += 3) off += !near_half_off(x, y);
    EXPECT_EQ(off, 0);

    std::copy(before.begin(), before.end(), layer_pixels(0));
    const uint8_t strong[7] = {255, 0, 0, 0, 0, 0, 0};
    swirl(0, strong);
    EXPECT_TRUE(near_half_off(0, 0) && near_half_off(255, 255) && near_half_off(3, 250));
    int twisted = 0;
    for (int y = 64; y < 192; y += 4)
        for (int x = 64; x < 192; x += 4) twisted += !near_half_off(x, y);
    EXPECT_GT(twisted, 100);
}

TEST_F(TexgenOps, BlurSpreadsAQuarterToEachNeighbourAndWraps) {
    fill_layer_pattern(0);
    std::vector<uint32_t> before = layer_copy(0);
    const uint8_t none[7] = {0, 0, 0, 0, 0, 0, 0};
    blur(0, none);
    EXPECT_EQ(layer_copy(0), before);

    fill_layer(0, 0);
    layer_pixels(0)[0] = grey(255);
    const uint8_t once[7] = {1, 0, 0, 0, 0, 0, 0};
    blur(0, once);
    EXPECT_EQ(pixel_at(0, 0, 0), grey(127));
    for (auto [x, y] : {std::pair{1, 0}, {255, 0}, {0, 1}, {0, 255}})
        EXPECT_EQ(pixel_at(0, x, y), grey(31));
    EXPECT_EQ(pixel_at(0, 255, 255), 0u);

    fill_layer(0, 0x30C8FF);
    const uint8_t many[7] = {41, 0, 0, 0, 0, 0, 0}; // an odd count ends in the work image
    blur(0, many);
    EXPECT_EQ(layer_copy(0), std::vector<uint32_t>(TexturePixelCount, 0x30C8FF));
}

TEST_F(TexgenOps, DirectionalBlurAveragesAlongTheDirectionAndWraps) {
    // Direction 0 walks down the rows, 64 (a quarter turn) across the columns;
    // a bright line two samples ahead of the wrap is reached from both sides.
    for (uint32_t direction : {0u, 64u}) {
        bool across = direction == 64;
        fill_layer(0, 0);
        fill_layer(1, direction << 8);
        for (int i = 0; i < 256; i++)
            layer_pixels(0)[across ? i * 256 + 2 : 2 * 256 + i] = grey(255);
        const uint8_t p[7] = {1, 1, 4, 0, 0, 0, 0};
        directional_blur(0, p);
        // Before its closing blur: positions 252, 254, 0 and 2 see the line once in 4 samples.
        fill_layer(2, 0);
        for (int j : {252, 254, 0, 2})
            for (int i = 0; i < 256; i++)
                layer_pixels(2)[across ? i * 256 + j : j * 256 + i] = grey(63);
        blur_passes(2, 2);
        EXPECT_EQ(layer_copy(0), layer_copy(2)) << "direction " << direction;
    }
}

TEST_F(TexgenOps, HorizontalEdgeAndShiftDifference) {
    fill_layer(0, grey(90));
    horizontal_edge(0);
    EXPECT_EQ(layer_copy(0), std::vector<uint32_t>(TexturePixelCount, grey(128)));

    // A vertical edge at column 128, with the wrap-around edge at column 0.
    for (int i = 0; i < TexturePixelCount; i++)
        layer_pixels(0)[i] = (i & 255) >= 128 ? grey(100) : 0;
    horizontal_edge(0);
    for (auto [x, want] : {std::pair{127, 255u}, {128, 255u}, {255, 0u}, {0, 0u}, {60, 128u}})
        EXPECT_EQ(pixel_at(0, x, 9), grey(want)) << x;

    fill_layer_pattern(0);
    const uint8_t zero[7] = {0, 0, 0, 0, 0, 0, 0};
    shift_difference(0, zero);
    EXPECT_EQ(layer_copy(0), std::vector<uint32_t>(TexturePixelCount, 0));

    // Offset 1 compares each pixel with the one a row down and a column right;
    // past column 255 that continues on the row after.
    for (int i = 0; i < TexturePixelCount; i++) layer_pixels(0)[i] = grey(i % 251);
    const uint8_t one[7] = {1, 0, 0, 0, 0, 0, 0};
    shift_difference(0, one);
    auto want = [](int i, int j) { return grey(uint32_t(std::max(j % 251 - i % 251, 0))); };
    EXPECT_EQ(pixel_at(0, 3, 0), want(3, 260));
    EXPECT_EQ(pixel_at(0, 255, 0), want(255, 512));
    EXPECT_EQ(pixel_at(0, 255, 255), want(65535, 256));
}

TEST_F(TexgenOps, ChannelMapsMatchTheirFormulas) {
    // f(channel, value) for every channel; one-channel maps pass others through.
    using Map = std::function<int(int, int)>;
    auto only = [](int channel, std::function<int(int)> f) -> Map {
        return [=](int c, int v) { return c == channel ? f(v) : v; };
    };
    struct Case {
        const char* name;
        void (*op)(int, const uint8_t*);
        uint8_t p[7];
        Map f;
    };
    const Case cases[] = {
        {"contrast 32", contrast, {32}, [](int, int v) { return v == 0 ? 1 : v; }},
        {"contrast 79",
         contrast,
         {79},
         [](int, int v) {
             return std::clamp(truncate_toward_zero(79.0f / 32 * float(v - 128)), -127, 127) + 128;
         }},
        {"brightness 127", brightness, {127}, [](int, int v) { return v; }},
        {"brightness 128", brightness, {128}, [](int, int v) { return v; }},
        {"brightness 0", brightness, {0}, [](int, int) { return 0; }},
        {"brightness 255", brightness, {255}, [](int, int) { return 255; }},
        // A falling range floors toward its end: 200 - 0.625 gives 199, not 200.
        {"range falling",
         channel_range,
         {1, 200, 40},
         only(1, [](int v) { return int(std::floor(200.0 - v * 160 / 256.0)); })},
        {"range rising", channel_range, {2, 0, 139}, only(2, [](int v) { return v * 139 / 256; })},
        {"cosine bands",
         cosine_bands,
         {0, 1},
         only(0,
              [](int v) {
                  return int(127.0f - 127.0f * std::cos(float(v) * (2.0f * TexturePi / 256.0f)));
              })},
    };
    for (const Case& c : cases) {
        fill_layer_all_values(0);
        std::vector<uint32_t> before = layer_copy(0);
        c.op(0, c.p);
        expect_channels(
            0, before, before, [&](int ch, int v, int) { return c.f(ch, v); }, c.name);
    }
    fill_layer(0, grey(128));
    const uint8_t bands[7] = {2, 1};
    cosine_bands(0, bands);
    EXPECT_EQ(pixel_at(0, 0, 0), 0x8080FEu); // half a period: the top of the band
}

TEST_F(TexgenOps, CombiningWithAnotherLayer) {
    struct Case {
        const char* name;
        void (*op)(int, const uint8_t*);
        uint8_t p[7];
        std::function<int(int, int)> f; // (target value, other value)
    };
    const Case cases[] = {
        {"multiply", multiply, {1}, [](int v, int o) { return v * o >> 8; }},
        {"add", add, {1}, [](int v, int o) { return std::min(v + o, 255); }},
        {"lighten", lighten, {1}, [](int v, int o) { return std::max(v, o); }},
        {"cross-fade 128",
         cross_fade,
         {1, 128},
         [](int v, int o) { return v * 64 / 127 + o * 63 / 127; }},
        {"cross-fade 0", cross_fade, {1, 0}, [](int, int o) { return o; }},
        {"cross-fade 1", cross_fade, {1, 1}, [](int, int o) { return o; }},
        {"cross-fade 254", cross_fade, {1, 254}, [](int v, int) { return v; }},
        {"cross-fade 255", cross_fade, {1, 255}, [](int v, int) { return v; }},
    };
    for (const Case& c : cases) {
        fill_layer_all_values(0);
        fill_layer_pattern(1);
        std::vector<uint32_t> before = layer_copy(0), other = layer_copy(1);
        c.op(0, c.p);
        expect_channels(
            0, before, other, [&](int, int v, int o) { return c.f(v, o); }, c.name);
        EXPECT_EQ(layer_copy(1), other) << c.name;
    }
    // A white multiplier takes one off every value but 0; 200 + 200 saturates.
    fill_layer_all_values(0);
    std::vector<uint32_t> before = layer_copy(0);
    fill_layer(1, grey(255));
    const uint8_t with_1[7] = {1};
    multiply(0, with_1);
    expect_channels(
        0, before, before, [](int, int v, int) { return v == 0 ? 0 : v - 1; }, "multiply by white");
    fill_layer(0, grey(200));
    fill_layer(1, grey(200));
    add(0, with_1);
    EXPECT_EQ(pixel_at(0, 5, 5), grey(255));
}

TEST_F(TexgenOps, MaskBlendAndModulateByLayer) {
    fill_layer(0, 0x10F080);
    fill_layer(1, 0xF01020);
    for (int i = 0; i < TexturePixelCount; i++) layer_pixels(2)[i] = uint32_t(i & 255) << 8;
    const uint8_t blend[7] = {1, 2, 1};
    mask_blend(0, blend);
    EXPECT_EQ(pixel_at(0, 255, 0), 0x10F080u); // mask 255: the target stays
    // mask 0: 255/256 of the way, floored: red 16 + 224 * 255/256 = 239.125,
    // green 240 - 224 * 255/256 = 16.875
    EXPECT_EQ(pixel_at(0, 0, 0), 0xEF1020u);

    fill_layer_all_values(0);
    std::vector<uint32_t> before = layer_copy(0);
    for (int i = 0; i < TexturePixelCount; i++)
        layer_pixels(3)[i] = uint32_t(i % 3 == 0 ? 0 : i % 3 == 1 ? 127 : 255);
    const uint8_t modulate[7] = {3, 2};
    modulate_by_layer(0, modulate);
    for (int i = 0; i < TexturePixelCount; i++) {
        uint32_t want = i % 3 == 0 ? 0 : i % 3 == 1 ? before[i] : 0xFFFFFF;
        ASSERT_EQ(layer_pixels(0)[i], want) << i;
    }
}

TEST_F(TexgenOps, GradientMapAndHueSaturation) {
    fill_layer_all_values(0);
    std::vector<uint32_t> before = layer_copy(0);
    const uint8_t greys[7] = {0, 0, 255, 0, 255, 0, 255};
    gradient_map(0, greys);
    for (int i = 0; i < TexturePixelCount; i++)
        ASSERT_EQ(layer_pixels(0)[i], grey(read_channel(before[i], 0) * 255 / 256)) << i;
    // A falling ramp from the green channel floors toward its end.
    fill_layer(0, 0x000100);
    const uint8_t falling[7] = {1, 255, 0, 0, 0, 10, 10};
    gradient_map(0, falling);
    EXPECT_EQ(pixel_at(0, 0, 0), 0xFE000Au);

    // No shift and no desaturation: greys stay grey, colours come back to
    // within the truncation.
    fill_layer_all_values(0);
    const uint8_t none[7] = {0, 0};
    hue_saturation(0, none);
    for (int i = 0; i < TexturePixelCount; i++) {
        uint32_t b = before[i], a = layer_pixels(0)[i];
        for (int c = 0; c < 3; c++)
            ASSERT_LE(int(read_channel(b, c)) - int(read_channel(a, c)), 1) << i;
        for (int c = 0; c < 3; c++) ASSERT_GE(read_channel(b, c), read_channel(a, c)) << i;
    }
    for (uint32_t v : {0u, 1u, 77u, 255u}) {
        fill_layer(0, grey(v));
        hue_saturation(0, none);
        EXPECT_EQ(pixel_at(0, 0, 0), grey(v));
    }
    // A third of a turn takes red to green; full desaturation gives the value.
    fill_layer(0, 0xFF0000);
    const uint8_t third[7] = {85, 0};
    hue_saturation(0, third);
    EXPECT_EQ(pixel_at(0, 0, 0) & 0x00FFFF, 0x00FF00u);
    EXPECT_LE(read_channel(pixel_at(0, 0, 0), 0), 2u);
    fill_layer(0, 0xFF0000);
    const uint8_t grey_out[7] = {0, 255};
    hue_saturation(0, grey_out);
    EXPECT_EQ(pixel_at(0, 0, 0), 0xFFFFFFu);
}

TEST_F(TexgenOps, ChannelMoves) {
    fill_layer(0, 0x112233);
    fill_layer(1, 0x445566);
    const uint8_t copy_green_to_red[7] = {0, 1, 1};
    copy_channel(0, copy_green_to_red);
    EXPECT_EQ(pixel_at(0, 0, 0), 0x552233u);

    const uint8_t swap_with_other[7] = {2, 1, 0}; // target blue <-> layer 1 red
    swap_channels(0, swap_with_other);
    EXPECT_EQ(pixel_at(0, 0, 0), 0x552244u);
    EXPECT_EQ(pixel_at(1, 0, 0), 0x335566u);
    const uint8_t swap_within[7] = {0, 0, 1}; // red <-> green of the target itself
    swap_channels(0, swap_within);
    EXPECT_EQ(pixel_at(0, 0, 0), 0x225544u);

    const uint8_t green[7] = {1};
    channel_to_grey(0, green);
    EXPECT_EQ(pixel_at(0, 0, 0), grey(0x55));
    invert_blue(0);
    EXPECT_EQ(pixel_at(0, 0, 0), 0x5555AAu);
}
