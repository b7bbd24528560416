#include "texgen/texture_programs.h"

namespace bb {

// Each line is one command: opcode, target layer, p0..p6.
// clang-format off

static const uint8_t ProgramA[] = {
    'Q', 'T', 'X', 23,
    3, 0, 0, 43, 87, 25, 21, 210, 193,    // Cells
    3, 0, 0, 43, 176, 25, 21, 210, 193,   // Cells
    3, 0, 0, 43, 206, 25, 21, 210, 193,   // Cells
    3, 0, 0, 43, 218, 25, 21, 210, 193,   // Cells
    3, 0, 0, 43, 255, 25, 21, 210, 193,   // Cells
    1, 1, 1, 0, 25, 21, 210, 193, 0,      // FractalNoise
    1, 1, 0, 0, 25, 21, 210, 193, 0,      // FractalNoise
    1, 1, 0, 0, 251, 139, 28, 14, 0,      // FractalNoise
    17, 0, 1, 0, 255, 1, 1, 254, 0,       // Displace x 14
    17, 0, 1, 0, 255, 1, 1, 254, 0,
    17, 0, 1, 0, 255, 1, 1, 254, 0,
    17, 0, 1, 0, 255, 1, 1, 254, 0,
    17, 0, 1, 0, 255, 1, 1, 254, 0,
    17, 0, 1, 0, 255, 1, 1, 254, 0,
    17, 0, 1, 0, 255, 1, 1, 254, 0,
    17, 0, 1, 0, 255, 1, 1, 254, 0,
    17, 0, 1, 0, 255, 1, 1, 254, 0,
    17, 0, 1, 0, 255, 1, 1, 254, 0,
    17, 0, 1, 0, 255, 1, 1, 254, 0,
    17, 0, 1, 0, 255, 1, 1, 254, 0,
    17, 0, 1, 0, 255, 1, 1, 254, 0,
    17, 0, 1, 0, 255, 1, 1, 254, 0,
    37, 0, 0, 0, 255, 0, 255, 0, 255,     // GradientMap
};

static const uint8_t ProgramB[] = {
    'Q', 'T', 'X', 25,
    3, 0, 0, 43, 87, 25, 21, 210, 193,    // Cells
    3, 0, 0, 43, 176, 25, 21, 210, 193,   // Cells
    3, 0, 0, 43, 206, 25, 21, 210, 193,   // Cells
    3, 0, 0, 43, 218, 25, 21, 210, 193,   // Cells
    3, 0, 0, 43, 255, 25, 21, 210, 193,   // Cells
    1, 1, 1, 0, 25, 21, 210, 193, 0,      // FractalNoise
    1, 1, 0, 0, 25, 21, 210, 193, 0,      // FractalNoise
    1, 1, 0, 0, 251, 139, 28, 14, 0,      // FractalNoise
    17, 0, 1, 0, 255, 1, 1, 254, 0,       // Displace x 14
    17, 0, 1, 0, 255, 1, 1, 254, 0,
    17, 0, 1, 0, 255, 1, 1, 254, 0,
    17, 0, 1, 0, 255, 1, 1, 254, 0,
    17, 0, 1, 0, 255, 1, 1, 254, 0,
    17, 0, 1, 0, 255, 1, 1, 254, 0,
    17, 0, 1, 0, 255, 1, 1, 254, 0,
    17, 0, 1, 0, 255, 1, 1, 254, 0,
    17, 0, 1, 0, 255, 1, 1, 254, 0,
    17, 0, 1, 0, 255, 1, 1, 254, 0,
    17, 0, 1, 0, 255, 1, 1, 254, 0,
    17, 0, 1, 0, 255, 1, 1, 254, 0,
    17, 0, 1, 0, 255, 1, 1, 254, 0,
    17, 0, 1, 0, 255, 1, 1, 254, 0,
    37, 0, 0, 0, 255, 0, 255, 0, 255,     // GradientMap
    10, 0, 3, 3, 4, 4, 0, 0, 0,           // SineWarp
    37, 0, 0, 255, 255, 127, 222, 0, 118, // GradientMap
};

static const uint8_t ProgramC[] = {
    'Q', 'T', 'X', 16,
    1, 1, 0, 0, 4, 194, 43, 1, 0,         // FractalNoise
    1, 1, 1, 0, 28, 77, 60, 163, 0,       // FractalNoise
    3, 0, 0, 14, 77, 0, 146, 27, 112,     // Cells
    17, 0, 1, 0, 186, 1, 1, 188, 0,       // Displace x 3
    17, 0, 1, 0, 186, 1, 1, 188, 0,
    17, 0, 1, 0, 186, 1, 1, 188, 0,
    17, 0, 1, 0, 88, 1, 1, 75, 0,         // Displace x 2
    17, 0, 1, 0, 88, 1, 1, 75, 0,
    1, 1, 0, 0, 4, 82, 66, 196, 0,        // FractalNoise
    1, 1, 1, 0, 27, 221, 72, 226, 0,      // FractalNoise
    17, 0, 1, 0, 198, 1, 1, 201, 0,       // Displace x 3
    17, 0, 1, 0, 198, 1, 1, 201, 0,
    17, 0, 1, 0, 198, 1, 1, 201, 0,
    37, 0, 0, 0, 255, 0, 255, 0, 255,     // GradientMap
    33, 0, 172, 0, 0, 0, 0, 0, 0,         // Brightness
    30, 0, 79, 0, 0, 0, 0, 0, 0,          // Contrast
};

static const uint8_t ProgramD[] = {
    'Q', 'T', 'X', 23,
    1, 1, 0, 0, 4, 194, 43, 1, 0,         // FractalNoise
    1, 1, 1, 0, 28, 77, 60, 163, 0,       // FractalNoise
    3, 0, 0, 14, 77, 0, 146, 27, 112,     // Cells
    17, 0, 1, 0, 186, 1, 1, 188, 0,       // Displace x 3
    17, 0, 1, 0, 186, 1, 1, 188, 0,
    17, 0, 1, 0, 186, 1, 1, 188, 0,
    17, 0, 1, 0, 88, 1, 1, 75, 0,         // Displace x 2
    17, 0, 1, 0, 88, 1, 1, 75, 0,
    1, 1, 0, 0, 4, 82, 66, 196, 0,        // FractalNoise
    1, 1, 1, 0, 27, 221, 72, 226, 0,      // FractalNoise
    5, 0, 1, 32, 55, 38, 229, 65, 0,      // SmoothNoise
    17, 0, 1, 0, 198, 1, 1, 201, 0,       // Displace x 3
    17, 0, 1, 0, 198, 1, 1, 201, 0,
    17, 0, 1, 0, 198, 1, 1, 201, 0,
    23, 2, 1, 0, 1, 0, 0, 0, 0,           // CopyChannel
    37, 2, 1, 74, 75, 72, 168, 65, 68,    // GradientMap
    23, 0, 1, 2, 1, 0, 0, 0, 0,           // CopyChannel
    36, 0, 237, 29, 0, 0, 0, 0, 0,        // HueSaturation
    34, 0, 0, 1, 0, 0, 0, 0, 0,           // CosineBands
    33, 0, 210, 0, 0, 0, 0, 0, 0,         // Brightness
    35, 0, 1, 0, 139, 0, 0, 0, 0,         // ChannelRange
    35, 0, 2, 0, 33, 0, 0, 0, 0,          // ChannelRange
    33, 0, 103, 0, 0, 0, 0, 0, 0,         // Brightness
};

static const uint8_t ProgramE[] = {
    'Q', 'T', 'X', 17,
    2, 0, 3, 3, 0, 0, 0, 0, 0,            // SinePlasma
    33, 0, 130, 0, 0, 0, 0, 0, 0,         // Brightness
    30, 0, 255, 0, 0, 0, 0, 0, 0,         // Contrast x 4
    30, 0, 255, 0, 0, 0, 0, 0, 0,
    30, 0, 255, 0, 0, 0, 0, 0, 0,
    30, 0, 255, 0, 0, 0, 0, 0, 0,
    15, 0, 40, 0, 0, 0, 0, 0, 0,          // Blur
    23, 2, 0, 0, 0, 0, 0, 0, 0,           // CopyChannel
    37, 2, 0, 255, 0, 0, 0, 0, 0,         // GradientMap
    25, 2, 0, 0, 0, 0, 0, 0, 0,           // Multiply
    33, 2, 177, 0, 0, 0, 0, 0, 0,         // Brightness
    30, 2, 129, 0, 0, 0, 0, 0, 0,         // Contrast
    37, 0, 0, 0, 0, 107, 255, 255, 0,     // GradientMap
    37, 2, 0, 255, 0, 255, 0, 255, 0,     // GradientMap
    23, 0, 0, 2, 0, 0, 0, 0, 0,           // CopyChannel
    23, 0, 1, 2, 1, 0, 0, 0, 0,           // CopyChannel
    23, 0, 2, 2, 2, 0, 0, 0, 0,           // CopyChannel
};

static const uint8_t ProgramF[] = {
    'Q', 'T', 'X', 13,
    2, 0, 3, 3, 0, 0, 0, 0, 0,            // SinePlasma
    33, 0, 130, 0, 0, 0, 0, 0, 0,         // Brightness
    30, 0, 255, 0, 0, 0, 0, 0, 0,         // Contrast x 4
    30, 0, 255, 0, 0, 0, 0, 0, 0,
    30, 0, 255, 0, 0, 0, 0, 0, 0,
    30, 0, 255, 0, 0, 0, 0, 0, 0,
    15, 0, 40, 0, 0, 0, 0, 0, 0,          // Blur
    23, 2, 0, 0, 0, 0, 0, 0, 0,           // CopyChannel
    37, 2, 0, 255, 0, 0, 0, 0, 0,         // GradientMap
    25, 2, 0, 0, 0, 0, 0, 0, 0,           // Multiply
    33, 2, 177, 0, 0, 0, 0, 0, 0,         // Brightness
    30, 2, 129, 0, 0, 0, 0, 0, 0,         // Contrast
    37, 0, 0, 15, 52, 98, 196, 255, 190,  // GradientMap
};

static const uint8_t ProgramG[] = {
    'Q', 'T', 'X', 12,
    2, 0, 3, 3, 0, 0, 0, 0, 0,            // SinePlasma
    33, 0, 130, 0, 0, 0, 0, 0, 0,         // Brightness
    30, 0, 255, 0, 0, 0, 0, 0, 0,         // Contrast x 4
    30, 0, 255, 0, 0, 0, 0, 0, 0,
    30, 0, 255, 0, 0, 0, 0, 0, 0,
    30, 0, 255, 0, 0, 0, 0, 0, 0,
    15, 0, 40, 0, 0, 0, 0, 0, 0,          // Blur
    23, 2, 0, 0, 0, 0, 0, 0, 0,           // CopyChannel
    37, 2, 0, 255, 0, 0, 0, 0, 0,         // GradientMap
    25, 2, 0, 0, 0, 0, 0, 0, 0,           // Multiply
    33, 2, 177, 0, 0, 0, 0, 0, 0,         // Brightness
    37, 0, 0, 193, 255, 195, 255, 193, 255, // GradientMap
};

static const uint8_t ProgramH[] = {
    'Q', 'T', 'X', 12,
    1, 0, 0, 0, 162, 7, 25, 140, 0,       // FractalNoise
    37, 0, 0, 0, 255, 0, 255, 0, 255,     // GradientMap
    5, 1, 0, 16, 162, 7, 25, 140, 0,      // SmoothNoise
    5, 1, 1, 16, 204, 248, 97, 135, 0,    // SmoothNoise
    17, 0, 1, 0, 80, 1, 1, 82, 0,         // Displace
    1, 1, 0, 0, 209, 12, 160, 83, 0,      // FractalNoise
    1, 1, 1, 0, 57, 142, 3, 231, 0,       // FractalNoise
    17, 0, 1, 0, 187, 1, 1, 192, 0,       // Displace x 2
    17, 0, 1, 0, 187, 1, 1, 192, 0,
    10, 0, 3, 1, 60, 0, 0, 0, 0,          // SineWarp
    17, 0, 0, 0, 49, 0, 1, 43, 0,         // Displace
    37, 0, 0, 133, 255, 129, 255, 131, 255, // GradientMap
};

static const uint8_t ProgramI[] = {
    'Q', 'T', 'X', 13,
    1, 0, 0, 0, 162, 7, 25, 140, 0,       // FractalNoise
    37, 0, 0, 0, 255, 0, 255, 0, 255,     // GradientMap
    5, 1, 0, 16, 162, 7, 25, 140, 0,      // SmoothNoise
    5, 1, 1, 16, 204, 248, 97, 135, 0,    // SmoothNoise
    17, 0, 1, 0, 80, 1, 1, 82, 0,         // Displace
    1, 1, 0, 0, 209, 12, 160, 83, 0,      // FractalNoise
    1, 1, 1, 0, 57, 142, 3, 231, 0,       // FractalNoise
    17, 0, 1, 0, 187, 1, 1, 192, 0,       // Displace x 2
    17, 0, 1, 0, 187, 1, 1, 192, 0,
    10, 0, 3, 1, 60, 0, 0, 0, 0,          // SineWarp
    17, 0, 0, 0, 49, 0, 1, 43, 0,         // Displace x 2
    17, 0, 0, 0, 49, 0, 1, 43, 0,
    37, 0, 0, 134, 143, 155, 244, 207, 255, // GradientMap
};

// clang-format on

const TextureProgram TextureProgramA = {ProgramA, sizeof ProgramA};
const TextureProgram TextureProgramB = {ProgramB, sizeof ProgramB};
const TextureProgram TextureProgramC = {ProgramC, sizeof ProgramC};
const TextureProgram TextureProgramD = {ProgramD, sizeof ProgramD};
const TextureProgram TextureProgramE = {ProgramE, sizeof ProgramE};
const TextureProgram TextureProgramF = {ProgramF, sizeof ProgramF};
const TextureProgram TextureProgramG = {ProgramG, sizeof ProgramG};
const TextureProgram TextureProgramH = {ProgramH, sizeof ProgramH};
const TextureProgram TextureProgramI = {ProgramI, sizeof ProgramI};

const TextureProgram* const TextureList[TextureSlotCount + 1] = {
    &TextureProgramA, &TextureProgramB, &TextureProgramC, &TextureProgramD, &TextureProgramE,
    &TextureProgramF, &TextureProgramE, &TextureProgramG, &TextureProgramH, &TextureProgramI,
    &TextureProgramH, &TextureProgramI, &TextureProgramH, &TextureProgramI, nullptr,
};

} // namespace bb
