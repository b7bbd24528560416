// Texture programs and their interpreter. A program is "QTX", a command count
// N, then N commands of 9 bytes (opcode, target layer, p0..p6); a Bitmap
// command (opcode 40) carries 8,192 data bytes right after it. There is no
// other framing, so the program's byte length is carried alongside and no
// command is read past it.
#pragma once

#include "texgen/texgen_state.h"

#include <cstdint>
#include <vector>

namespace bb {

constexpr int TextureCommandSize = 9;
constexpr int TextureHeaderSize = 4;

enum TextureOpcode : uint8_t {
    OpFractalNoise = 1,
    OpSinePlasma = 2,
    OpCells = 3,
    OpRadialSpot = 4,
    OpSmoothNoise = 5,
    OpClearLayer = 6,
    OpSineWarp = 10,
    OpScroll = 11,
    OpSwirl = 12,
    OpShiftDifference = 14,
    OpBlur = 15,
    OpDisplace = 17,
    OpDirectionalBlur = 18,
    OpSwapChannels = 20,
    OpChannelToGrey = 21,
    OpCopyChannel = 23,
    OpCrossFade = 24,
    OpMultiply = 25,
    OpAdd = 26,
    OpLighten = 27,
    OpContrast = 30,
    OpInvertBlue = 31,
    OpModulateByLayer = 32,
    OpBrightness = 33,
    OpCosineBands = 34,
    OpChannelRange = 35,
    OpHueSaturation = 36,
    OpGradientMap = 37,
    OpMaskBlend = 38,
    OpHorizontalEdge = 39,
    OpBitmap = 40,
};

struct TextureProgram {
    const uint8_t* Bytes; // "QTX", count, commands
    uint32_t Size;        // bytes at Bytes; nothing past it is read
};

// Byte length of a command with this opcode, its bitmap data included.
int texture_command_size(uint8_t opcode);

// Name of an opcode of the table, or null for one that does nothing.
const char* texture_opcode_name(uint8_t opcode);

// Whether the command's layer (above 3 never) and the layer and channel
// parameters it uses (above 3 and above 2 never) are in range.
bool texture_command_valid(const uint8_t* command);

// Performs one command on the generator's layers. command holds the 9 command
// bytes, followed by the bitmap data for a Bitmap command. A command that is
// not valid, and an opcode outside the table, do nothing.
void execute_command(const uint8_t* command);

// Runs the program and writes layer 0 into image. A null program or image
// does nothing; a program that does not start with "QTX" leaves image as it
// was and counts no progress.
void run_program(const TextureProgram* program, TextureImage* image);

// Runs the programs of a list ended by a null pointer, one image per entry in
// list order. progress (may be null) gets the fraction of commands done after
// every command.
std::vector<TextureImage> generate_textures(const TextureProgram* const* programs,
                                            ProgressFunction progress);

// The images of generate_textures, bit-identical, made on up to threads
// threads (the caller's among them) and without progress reports. Entries that
// share a program get copies of one run, and programs that begin with the
// same commands run those once and go on from copies of the generator's
// state. A thread that cannot be started leaves its share to the others.
std::vector<TextureImage> generate_textures_parallel(const TextureProgram* const* programs,
                                                     int threads);

} // namespace bb
