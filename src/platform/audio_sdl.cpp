#include "platform/audio.h"

#include "app/settings.h"
#include "audio/audio_output.h"
#include "audio/effect_files.h"
#include "audio/mixer.h"
#include "audio/music_control.h"
#include "audio/sound_effects.h"

#include <SDL.h>

#include <algorithm>
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

// A device that went away: the main loop plays its part until one is back.
struct LostDevice {
    bool Active;           // the device is gone and none is open
    uint64_t SinceMs;      // when the device was closed
    uint64_t FramesPlayed; // frames the main loop has played for it since
    uint64_t LastTryMs;    // of the last attempt to open the default device
    bool DeviceAdded;      // one appeared: try at once
};

static LostDevice Lost = {};

uint32_t AudioRetryMs = 1000;

// At most this much is played per pump, so a long stall of the main loop is
// made up over several passes with the feeder keeping ahead of it.
constexpr uint64_t MostFramesPerPump = OutputRate / 4;
constexpr int StandInFrames = 512; // as the device's own callback buffers

static bool open_default_device(std::string& error) {
    SDL_AudioSpec want = {};
    want.freq = OutputRate;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = StandInFrames;
    want.callback = fill_device;
    // No changes allowed: SDL converts when the hardware wants another format.
    AudioDevice = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
    if (AudioDevice == 0) {
        error = std::string("no sound: ") + SDL_GetError();
        return false;
    }
    SDL_PauseAudioDevice(AudioDevice, 0);
    return true;
}

bool platform_open_audio(std::string& error) {
    // The events too: the device's comings and goings arrive as events.
    if (SDL_InitSubSystem(SDL_INIT_AUDIO | SDL_INIT_EVENTS) != 0) {
        error = std::string("no sound: ") + SDL_GetError();
        return false;
    }
    FeederThreadStartHook = raise_feeder_priority;
    if (!open_default_device(error)) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO | SDL_INIT_EVENTS);
        return false;
    }
    Lost = {};
    AudioOutput.DeviceOpen.store(1);
    return true;
}

void platform_close_audio() {
    if (AudioDevice == 0 && !Lost.Active) return;
    // NOTE: SDL_Quit, when the window went first, has closed the device already.
    if (SDL_WasInit(SDL_INIT_AUDIO)) {
        if (AudioDevice != 0) SDL_CloseAudioDevice(AudioDevice);
        SDL_QuitSubSystem(SDL_INIT_AUDIO | SDL_INIT_EVENTS);
    }
    AudioDevice = 0;
    Lost = {};
    AudioOutput.DeviceOpen.store(0);
}

// Plays, into nowhere, the frames the lost device would have played by now:
// the play position, the feeder, the ring and the effect voices move on as if
// heard. Safe on this thread because no callback runs while no device is open.
// True when it has caught up with the clock.
static bool play_for_lost_device(uint64_t now_ms) {
    const uint64_t due = (now_ms - Lost.SinceMs) * OutputRate / 1000;
    const uint64_t owed = due - std::min(due, Lost.FramesPlayed);
    uint64_t frames = std::min(owed, MostFramesPerPump);
    int16_t scratch[2 * StandInFrames];
    while (frames > 0) {
        const int n = int(std::min<uint64_t>(frames, StandInFrames));
        audio_output_fill(scratch, n);
        Lost.FramesPlayed += uint64_t(n);
        frames -= uint64_t(n);
    }
    return owed <= MostFramesPerPump;
}

void platform_audio_device_event(bool added, uint32_t which, bool capture) {
    if (capture || !SDL_WasInit(SDL_INIT_AUDIO)) return;
    if (added) {
        Lost.DeviceAdded = Lost.Active;
        return;
    }
    if (AudioDevice == 0 || which != AudioDevice) return;
    // SDL goes on calling the callback at the device's pace after a loss, so
    // the main loop takes over from the moment the device is closed.
    SDL_CloseAudioDevice(AudioDevice);
    AudioDevice = 0;
    const uint64_t now = SDL_GetTicks64();
    Lost = {true, now, 0, now, false};
    std::fprintf(stderr,
                 "brawlbox: the sound device is gone; playing on silent until one is back\n");
}

void platform_audio_keep_time() {
    if (!Lost.Active) return;
    const uint64_t now = SDL_GetTicks64();
    // Up to the clock first: a reopened device carries on from there.
    if (!play_for_lost_device(now)) return;
    if (!Lost.DeviceAdded && now - Lost.LastTryMs < AudioRetryMs) return;
    Lost.DeviceAdded = false;
    Lost.LastTryMs = now;
    std::string error;
    if (!open_default_device(error)) return;
    Lost = {};
    std::fprintf(stderr, "brawlbox: sound is back on the default device\n");
}

uint32_t platform_audio_device() {
    return AudioDevice;
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
