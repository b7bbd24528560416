// The sound-effect trigger used by the physics and the wrestlers.
#pragma once

#include <cstdint>

namespace bb {

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

// Plays effect at frequency factor and volume. Until the effects are loaded
// (or with sound off) it only records the trigger.
void play_sound_effect(int effect, float frequency, float volume, int voice_id);

} // namespace bb
