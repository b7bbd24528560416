#include "audio/music_render.h"

#include "assets/song.h"
#include "audio/mixer.h"
#include "audio/module_loader.h"
#include "audio/player.h"
#include "audio/wav_file.h"

#include <cmath>

namespace bb {

RenderResult render_music(const char* path, int64_t position, double seconds, std::string& error) {
    Module* module = load_module_from_memory(SongData, SongSize);
    if (!module) {
        error = "the embedded song does not load";
        return RenderNoSong;
    }
    if (position < 0 || position >= module->SongLength) {
        error = "--position must be a song position from 0 to " +
                std::to_string(module->SongLength - 1) + ", got " + std::to_string(position);
        free_module(module);
        return RenderBadPosition;
    }
    WavFile wav;
    if (!wav_open(wav, path, OutputRate, error)) {
        free_module(module);
        return RenderWriteFailed;
    }
    mixer_open();
    player_start(*module, static_cast<int>(position));
    Mixer.CurrentModule = module;

    uint64_t frames_left = static_cast<uint64_t>(std::llround(seconds * OutputRate));
    while (frames_left > 0 && !wav.Error) {
        const int block = Mixer.WritePosition;
        mix_block();
        uint32_t n = frames_left < BlockFrames ? static_cast<uint32_t>(frames_left) : BlockFrames;
        wav_write(wav, MixRing + size_t(block) * BlockFrames * 2, n);
        frames_left -= n;
    }
    free_module(module);
    return wav_close(wav, error) ? RenderOk : RenderWriteFailed;
}

} // namespace bb
