// Writing 16-bit stereo PCM WAVE files, block by block.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace bb {

struct WavFile {
    std::FILE* File;
    uint32_t Frames; // stereo frames written so far
    int32_t Rate;    // frames per second
    int Error;       // errno of the first failed write, 0 while all is well
    std::string Path;
};

// Creates the file and writes a header that wav_close completes. On failure
// error says why, naming the file.
bool wav_open(WavFile& wav, const char* path, int rate, std::string& error);
// Appends stereo frames, left first.
void wav_write(WavFile& wav, const int16_t* frames, uint32_t frame_count);
// Completes the header and closes. False, with error saying why, when any
// part could not be written; the file is then left incomplete (it may be a
// device or a pipe, so it is never removed).
bool wav_close(WavFile& wav, std::string& error);

} // namespace bb
