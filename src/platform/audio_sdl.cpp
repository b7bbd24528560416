#include "platform/audio.h"

#include "app/settings.h"
#include "audio/audio_output.h"
#include "audio/effect_files.h"
#include "audio/mixer.h"
#include "audio/music_control.h"
#include "audio/sound_effects.h"

#include <SDL.h>

#include <cstdio>

namespace bb {

static SDL_AudioDeviceID AudioDevice = 0;

static void SDLCALL fill_device(void*, Uint8* stream, int bytes) {
    audio_output_fill(reinterpret_cast<int16_t*>(stream), bytes / 4);
}

// NOTE: time-critical needs rights most desktops grant only through rtkit;
// without them the feeder runs at normal priority, which its 2 s lead covers.
static void raise_feeder_priority() {
    SDL_SetThreadPriority(SDL_THREAD_PRIORITY_TIME_CRITICAL);
}

bool platform_open_audio(std::string& error) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        error = std::string("no sound: ") + SDL_GetError();
        return false;
    }
    SDL_AudioSpec want = {};
    want.freq = OutputRate;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 512;
    want.callback = fill_device;
    // No changes allowed: SDL converts when the hardware wants another format.
    AudioDevice = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
    if (AudioDevice == 0) {
        error = std::string("no sound: ") + SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    FeederThreadStartHook = raise_feeder_priority;
    AudioOutput.DeviceOpen.store(1);
    SDL_PauseAudioDevice(AudioDevice, 0);
    return true;
}

void platform_close_audio() {
    if (AudioDevice == 0) return;
    // NOTE: SDL_Quit, when the window went first, has closed the device already.
    if (SDL_WasInit(SDL_INIT_AUDIO)) {
        SDL_CloseAudioDevice(AudioDevice);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    AudioDevice = 0;
    AudioOutput.DeviceOpen.store(0);
}

bool init_sound_effects() {
    if (!SoundOn || !AudioOutput.DeviceOpen.load()) return false;
    for (int e = 0; e < EffectCount; e++) {
        std::string error;
        if (!load_effect_file(e, EffectFiles[e].Bytes, EffectFiles[e].Size, error))
            std::fprintf(stderr, "brawlbox: sound effect %d: %s; it stays silent\n", e,
                         error.c_str());
    }
    SoundEffects.EffectsReady = 1;
    return true;
}

} // namespace bb
