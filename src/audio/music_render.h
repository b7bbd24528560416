// Mixing the game's song offline into a WAVE file, exactly as the game mixes
// it for the output device.
#pragma once

#include <cstdint>
#include <string>

namespace bb {

enum RenderResult { RenderOk, RenderBadPosition, RenderNoSong, RenderWriteFailed };

// Renders seconds of the embedded song from a song position into a 44,100 Hz
// 16-bit stereo WAVE file at path. On failure error says why.
RenderResult render_music(const char* path, int64_t position, double seconds, std::string& error);

} // namespace bb
