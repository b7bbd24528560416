// The texture generator's process-wide state: four layers, two work images and
// the lookup tables the operations share. Pixels are 0x00RRGGBB; every
// operation keeps the top byte 0 and every coordinate wraps modulo 256.
#pragma once

#include <cstdint>

namespace bb {

constexpr int TextureSize = 256;                             // pixels per row and rows
constexpr int TexturePixelCount = TextureSize * TextureSize; // 65,536
constexpr int TextureLayerCount = 4;

// π as the game's single-precision arithmetic has it (3.14159274).
constexpr float TexturePi = 3.14159274f;

struct TextureImage {
    uint32_t Pixels[TexturePixelCount]; // row-major, (x, y) at y * 256 + x; top byte 0
};

using ProgressFunction = void (*)(float fraction);

struct TextureGeneratorState {
    TextureImage Layer[TextureLayerCount]; // targets and sources of commands
    TextureImage ScratchA;                 // work image; content meaningless between commands
    TextureImage ScratchB;                 // work image; content meaningless between commands
    float SmoothField[TexturePixelCount];  // SmoothNoise's float field, work space only
    uint8_t BrightnessTable[256][256];     // [row][value]: rows < 128 darken, rows >= 128 lighten
    int32_t NoiseSeed;                     // seed of noise_hash; set by each noise command
    int32_t CosineWeights[256];            // FractalNoise weights 0..255 for the current step
    uint32_t TotalCommands;            // commands of the whole list; 0 outside generate_textures
    uint32_t DoneCommands;             // commands stepped over so far, run or skipped
    ProgressFunction ProgressCallback; // may be null: progress is then not reported
    bool Initialised;                  // BrightnessTable filled
};

// NOTE: the buffers are static rather than allocated, so the generator cannot
// fail for want of memory and may run any number of lists. Each thread has its
// own, so programs may run side by side on several threads.
extern thread_local TextureGeneratorState TextureGenerator [[gnu::tls_model("initial-exec")]];

// Fills BrightnessTable on the first call; later calls do nothing.
void texture_generator_init();

// Bit position of channel c (0 red, 1 green, 2 blue); c must be 0..2.
inline int channel_shift(int c) {
    return (2 - c) * 8;
}

inline uint32_t read_channel(uint32_t pixel, int c) {
    return (pixel >> channel_shift(c)) & 0xFF;
}

// Replaces channel c (0..2) by v (0..255); the other two keep their values and
// the top byte becomes 0.
inline uint32_t write_channel(uint32_t pixel, int c, uint32_t v) {
    int shift = channel_shift(c);
    return (pixel & (0xFFFFFFu ^ (0xFFu << shift))) | (v << shift);
}

// Red, green and blue of a pixel in three 16-bit lanes (blue lowest), so that
// sums and products by weights up to 255 act on all three without carries
// between channels, as long as each lane stays below 65,536.
inline uint64_t spread_channels(uint32_t p) {
    return (uint64_t(p & 0xFF0000) << 16) | (uint64_t(p & 0xFF00) << 8) | (p & 0xFF);
}

// Keeps the low byte of each lane.
constexpr uint64_t LaneLowBytes = 0x000000FF00FF00FFull;

// The inverse of spread_channels for lanes already reduced to 0..255.
inline uint32_t pack_channels(uint64_t lanes) {
    return uint32_t((lanes >> 16) & 0xFF0000) | uint32_t((lanes >> 8) & 0xFF00) |
           uint32_t(lanes & 0xFF);
}

inline uint32_t* layer_pixels(int layer) {
    return TextureGenerator.Layer[layer].Pixels;
}

// Copies ScratchA over the given layer: the end of every operation that reads
// neighbouring or displaced pixels.
void commit_scratch_to_layer(int layer);

} // namespace bb
