#include "audio/sound_effects.h"

namespace bb {

SoundTrigger RecentSoundTriggers[RecentSoundTriggerCount];
int64_t SoundTriggerCount = 0;

void play_sound_effect(int effect, float frequency, float volume, int voice_id) {
    RecentSoundTriggers[SoundTriggerCount % RecentSoundTriggerCount] =
        SoundTrigger{effect, frequency, volume, voice_id};
    SoundTriggerCount++;
}

} // namespace bb
