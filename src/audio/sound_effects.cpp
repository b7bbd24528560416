#include "audio/sound_effects.h"

#include "audio/effect_wave.h"
#include "audio/mixer.h"

#include <atomic>
#include <cmath>
#include <cstring>

namespace bb {

SoundTrigger RecentSoundTriggers[RecentSoundTriggerCount];
int64_t SoundTriggerCount = 0;
SoundEffectsState SoundEffects = {};

namespace {

// The decoded samples, and one zero after the last for interpolation.
// Written only while no play of the effect can be running.
int16_t EffectPcm[EffectCount][EffectMaxSamples + 1];

// Set by the callback to the generation of a play that ran to its end.
std::atomic<uint32_t> SlotFinished[EffectCount][EffectSlotCount];

enum CommandKind : uint8_t { CommandPlay, CommandStop };

struct EffectCommand {
    uint8_t Kind;
    uint8_t Effect;
    uint8_t Slot;
    uint32_t Generation;
    uint64_t Step; // 32.32 source samples per output frame
    uint64_t End;  // 32.32 position just past the last sample
    float Gain;
};

// Single producer (main thread), single consumer (audio callback).
constexpr uint32_t QueueSize = 1024;
EffectCommand Queue[QueueSize];
std::atomic<uint32_t> QueueHead{0}; // next to write; only the producer stores it
std::atomic<uint32_t> QueueTail{0}; // next to read; only the consumer stores it

bool queue_push(const EffectCommand& c) {
    const uint32_t head = QueueHead.load(std::memory_order_relaxed);
    if (head - QueueTail.load(std::memory_order_acquire) >= QueueSize) return false;
    Queue[head % QueueSize] = c;
    QueueHead.store(head + 1, std::memory_order_release);
    return true;
}

// The callback's voices, one per slot; touched only by the callback.
struct EffectVoice {
    uint32_t Generation;
    uint8_t Active;
    uint64_t Position; // 32.32 source samples
    uint64_t Step;
    uint64_t End;
    float Gain;
};

EffectVoice Voices[EffectCount][EffectSlotCount];
std::atomic<int> VoicesPlaying{0};

bool slot_playing(int e, int i) {
    const SoundEffect& fx = SoundEffects.Effects[e];
    const uint32_t g = fx.SlotGeneration[i];
    return fx.SlotHeld[i] && g != 0 && fx.SlotStopped[i] != g &&
           SlotFinished[e][i].load(std::memory_order_acquire) != g;
}

void stop_slot(int e, int i) {
    SoundEffect& fx = SoundEffects.Effects[e];
    if (!slot_playing(e, i)) return;
    fx.SlotStopped[i] = fx.SlotGeneration[i];
    queue_push({CommandStop, uint8_t(e), uint8_t(i), fx.SlotGeneration[i], 0, 0, 0.0f});
}

// A new copy of slot 0 in slot i; when the ring of duplicates is full the
// oldest is given up first. False when there is nothing to give up.
// NOTE: a copy costs nothing but its slot here, so only a full ring refuses
// one, and seven effects of 119 duplicates never fill 1,024.
bool duplicate_into(int e, int i) {
    SoundEffectsState& s = SoundEffects;
    while (s.DuplicateCount >= DuplicateRingSize) {
        const int oldest = s.DuplicateRing[s.DuplicateRead];
        s.DuplicateRead = (s.DuplicateRead + 1) % DuplicateRingSize;
        s.DuplicateCount--;
        stop_slot(oldest / EffectSlotCount, oldest % EffectSlotCount);
        s.Effects[oldest / EffectSlotCount].SlotHeld[oldest % EffectSlotCount] = 0;
    }
    if (i == 0) return false; // slot 0 is the effect itself, never a duplicate
    s.Effects[e].SlotHeld[i] = 1;
    s.DuplicateRing[(s.DuplicateRead + s.DuplicateCount) % DuplicateRingSize] =
        int16_t(e * EffectSlotCount + i);
    s.DuplicateCount++;
    return true;
}

void apply_command(const EffectCommand& c) {
    EffectVoice& v = Voices[c.Effect][c.Slot];
    if (c.Kind == CommandPlay) {
        if (!v.Active) VoicesPlaying.fetch_add(1, std::memory_order_relaxed);
        v = {c.Generation, 1, 0, c.Step, c.End, c.Gain};
    } else if (v.Active && v.Generation == c.Generation) {
        v.Active = 0;
        VoicesPlaying.fetch_sub(1, std::memory_order_relaxed);
    }
}

} // namespace

int effect_attenuation(float volume) {
    if (!(volume > 0.0f)) return AttenuationSilent;
    // In single precision, as the game computes it: log10 of 0.1f is then -1.
    const float a = std::trunc(2000.0f * std::log10(volume));
    if (a > 0.0f) return 0;
    if (a < AttenuationSilent) return AttenuationSilent;
    return static_cast<int>(a);
}

int effect_playback_rate(int rate, float factor) {
    if (std::isnan(factor)) return rate;
    const double r = std::trunc(double(rate) * double(factor));
    if (r < PlaybackRateMin) return PlaybackRateMin;
    if (r > PlaybackRateMax) return PlaybackRateMax;
    return static_cast<int>(r);
}

bool sound_effect_load(int effect, const int16_t* pcm, int sample_count, int rate) {
    if (effect < 0 || effect >= EffectCount || !pcm || sample_count <= 0 ||
        sample_count > EffectMaxSamples || rate < 1000 || rate > 192000)
        return false;
    std::memcpy(EffectPcm[effect], pcm, sizeof(int16_t) * size_t(sample_count));
    EffectPcm[effect][sample_count] = 0;
    SoundEffect& fx = SoundEffects.Effects[effect];
    fx.Rate = rate;
    fx.SampleCount = sample_count;
    fx.SlotHeld[0] = 1;
    return true;
}

void sound_effects_reset() {
    SoundEffects = {};
    for (auto& effect : SlotFinished)
        for (auto& f : effect) f.store(0, std::memory_order_relaxed);
    std::memset(Voices, 0, sizeof Voices);
    VoicesPlaying.store(0);
    QueueHead.store(0);
    QueueTail.store(0);
}

int play_sound_effect(int effect, float frequency, float volume, int voice_id) {
    RecentSoundTriggers[SoundTriggerCount % RecentSoundTriggerCount] =
        SoundTrigger{effect, frequency, volume, voice_id};
    SoundTriggerCount++;

    SoundEffectsState& s = SoundEffects;
    if (voice_id < 0 || voice_id >= VoiceIdCount) voice_id = 0;
    if (voice_id != 0 && s.VoiceSlots[voice_id] != 0) {
        const int named = s.VoiceSlots[voice_id] - 1;
        stop_slot(named / EffectSlotCount, named % EffectSlotCount);
    }
    if (!s.EffectsReady || effect < 0 || effect >= EffectCount) return -1;
    SoundEffect& fx = s.Effects[effect];
    const int attenuation = effect_attenuation(volume);
    if (fx.Rate == 0 || attenuation <= AttenuationSilent) return -1;

    int i = 0;
    while (i < EffectSlotCount && slot_playing(effect, i)) i++;
    if (i == EffectSlotCount) i = 0;
    while (!fx.SlotHeld[i])
        if (!duplicate_into(effect, i)) return -1;

    const int rate = effect_playback_rate(fx.Rate, frequency);
    const uint32_t generation = fx.SlotGeneration[i] + 1;
    fx.SlotGeneration[i] = generation;
    const EffectCommand play{CommandPlay,
                             uint8_t(effect),
                             uint8_t(i),
                             generation,
                             (uint64_t(rate) << 32) / OutputRate,
                             uint64_t(fx.SampleCount) << 32,
                             static_cast<float>(std::pow(10.0, attenuation / 2000.0))};
    if (!queue_push(play)) {
        // A full queue: the callback has not run for a thousand triggers.
        fx.SlotStopped[i] = generation;
        return -1;
    }
    if (voice_id != 0) s.VoiceSlots[voice_id] = effect * EffectSlotCount + i + 1;
    return i;
}

void mix_effect_voices(float* frames, int count) {
    const uint32_t head = QueueHead.load(std::memory_order_acquire);
    uint32_t tail = QueueTail.load(std::memory_order_relaxed);
    for (; tail != head; tail++) apply_command(Queue[tail % QueueSize]);
    QueueTail.store(tail, std::memory_order_release);
    if (VoicesPlaying.load(std::memory_order_relaxed) == 0) return;

    const float FractionScale = 1.0f / 4294967296.0f;
    for (int e = 0; e < EffectCount; e++) {
        const int16_t* data = EffectPcm[e];
        for (int i = 0; i < EffectSlotCount; i++) {
            EffectVoice& v = Voices[e][i];
            if (!v.Active) continue;
            // Frames until the position passes the last sample.
            const uint64_t left =
                v.Position >= v.End ? 0 : (v.End - v.Position + v.Step - 1) / v.Step;
            const int n = left < uint64_t(count) ? int(left) : count;
            uint64_t pos = v.Position;
            float* out = frames;
            for (int k = 0; k < n; k++, out += 2) {
                const int16_t* p = data + (pos >> 32);
                const float f = float(uint32_t(pos)) * FractionScale;
                const float x = (float(p[0]) + f * float(p[1] - p[0])) * v.Gain;
                out[0] += x;
                out[1] += x;
                pos += v.Step;
            }
            v.Position = pos;
            if (n < count) {
                v.Active = 0;
                VoicesPlaying.fetch_sub(1, std::memory_order_relaxed);
                SlotFinished[e][i].store(v.Generation, std::memory_order_release);
            }
        }
    }
}

int effect_voices_playing() {
    return VoicesPlaying.load(std::memory_order_relaxed);
}

} // namespace bb
