// The seven sound effects: decoded PCM played by our own voice mixer at a
// chosen pitch and level, up to 120 overlapping plays of each effect.
//
// Triggers come from the main thread, mixing from the audio callback. The
// two meet in a lock-free queue of play and stop commands and in one atomic
// per slot that the callback sets when a play ends, so a trigger never waits
// for a mix and a mix never waits for a trigger.
#pragma once

#include <cstdint>

namespace bb {

constexpr int EffectCount = 7;
constexpr int EffectSlotCount = 120;
constexpr int DuplicateRingSize = 1024;
constexpr int VoiceIdCount = 8;
// DirectSound's range of attenuations, in hundredths of a decibel.
constexpr int AttenuationSilent = -10000;
// And of playback rates, in Hz.
constexpr int PlaybackRateMin = 100;
constexpr int PlaybackRateMax = 200000;

// One trigger, as the game asked for it.
struct SoundTrigger {
    int32_t Effect;  // 0..6
    float Frequency; // factor on the effect's own rate
    float Volume;    // linear; 1 is full level
    int32_t VoiceId; // 0, or a voice whose previous sound this one cuts
};

// The most recent triggers, newest at (SoundTriggerCount - 1) % size, for
// tests and diagnostics; SoundTriggerCount counts every trigger of the run.
constexpr int RecentSoundTriggerCount = 64;
extern SoundTrigger RecentSoundTriggers[RecentSoundTriggerCount];
extern int64_t SoundTriggerCount;

// The main thread's view of one effect.
struct SoundEffect {
    int32_t Rate;        // the natural rate; 0 while the effect is not loaded (silent)
    int32_t SampleCount; // decoded samples
    // The slot holds a buffer: slot 0 once loaded, the others duplicates.
    uint8_t SlotHeld[EffectSlotCount];
    uint32_t SlotGeneration[EffectSlotCount]; // of the last play started in the slot; 0 = none yet
    uint32_t SlotStopped[EffectSlotCount];    // the generation a voice id last cut
};

struct SoundEffectsState {
    SoundEffect Effects[EffectCount];
    int32_t EffectsReady; // a device mixes the effects; 0 makes every trigger silent
    // Per voice id, the slot last started for it as effect * 120 + slot + 1;
    // 0 = none.
    int32_t VoiceSlots[VoiceIdCount];
    // The slots that hold duplicates, oldest first, as effect * 120 + slot.
    int16_t DuplicateRing[DuplicateRingSize];
    int32_t DuplicateRead, DuplicateCount;
};

extern SoundEffectsState SoundEffects;

// Attenuation in hundredths of a decibel for a linear volume:
// trunc(2000 * log10 v), clamped to AttenuationSilent..0. A volume of 0 or
// below, or not a number, is AttenuationSilent.
int effect_attenuation(float volume);
// trunc(rate * factor), clamped to the playback range; a factor that is not
// a number keeps the natural rate.
int effect_playback_rate(int rate, float factor);

// Gives effect its decoded PCM (at most 32,768 samples) at its natural rate;
// the effect is then heard when triggered. False for a bad effect number,
// rate or count, which leaves the effect silent.
bool sound_effect_load(int effect, const int16_t* pcm, int sample_count, int rate);

// Back to nothing loaded, nothing playing, not ready. Only while no device
// mixes.
void sound_effects_reset();

// Plays effect at trunc(rate * frequency) Hz and volume; a voice id 1-7 first
// cuts the sound last started with that id. Records the trigger. Returns the
// slot that plays it, or -1 when nothing plays (effects not ready, the effect
// not loaded, a volume of 0 or below, a bad effect number).
int play_sound_effect(int effect, float frequency, float volume, int voice_id);

// Audio callback side: takes the queued commands and adds frames of every
// playing effect voice, resampled to 44,100 Hz, to stereo floats.
void mix_effect_voices(float* frames, int count);
// Effect voices the callback is playing, for tests and benchmarks.
int effect_voices_playing();

} // namespace bb
