// libFuzzer target: any bytes are loaded as a module; one that loads is
// played for a few hundred ticks, mixed, and freed.
#include "audio/mixer.h"
#include "audio/module_loader.h"
#include "audio/player.h"

#include <cstddef>
#include <cstdint>

using namespace bb;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > UINT32_MAX) return 0;
    Module* m = load_module_from_memory(data, static_cast<uint32_t>(size));
    if (!m) return 0;
    mixer_open();
    player_start(*m, static_cast<int>(size % m->SongLength));
    Mixer.CurrentModule = m;
    // Ticks with a short stretch of mixing after each keep a run quick; two
    // whole blocks mix as the game does.
    float frames[2 * 32];
    for (int t = 0; t < 300; t++) {
        player_tick(*m);
        for (float& f : frames) f = 0;
        mix_voices(frames, 32);
    }
    mix_block();
    mix_block();
    free_module(m);
    return 0;
}
