// Periods are linear: 7680 - 64 * note, so one semitone is 64 units and the
// frequency is 8363 * 2^((4608 - period + period delta) / 768), C-4 (period
// 4608) playing a sample at 8363 Hz.
#include "audio/player.h"

#include "audio/mixer.h"

#include <cmath>
#include <cstdint>
#include <numbers>

namespace bb {

namespace {

const Instrument ZeroInstrument = {};

// Porta down has no musical limit; this one only keeps the arithmetic in range.
constexpr int32_t MaxPeriod = 1 << 24;
// The highest frequency a voice is given: about 380 samples per output frame.
constexpr double MaxFrequency = 16777216.0;

int32_t clamp(int32_t v, int32_t lo, int32_t hi) {
    return v < lo ? lo : v > hi ? hi : v;
}

struct Lookup {
    const Instrument* Ins;
    const Sample* Smp;
};

// The channel's instrument and the sample its keymap gives for the channel's
// note; the empty sample when either is missing.
Lookup look_up(const Module& m, const Channel& ch) {
    if (ch.Instrument < m.InstrumentCount) {
        const Instrument& ins = m.Instruments[ch.Instrument];
        uint8_t slot = ins.Keymap[ch.Note];
        return {&ins, slot < 16 ? ins.Samples[slot] : &EmptySample};
    }
    return {&ZeroInstrument, &EmptySample};
}

void reset_instrument(Channel& ch, const Sample& smp) {
    ch.Volume = smp.Volume;
    ch.Pan = smp.Panning;
    ch.VolumeEnvelope = {};
    ch.VolumeEnvelope.Output = 64;
    ch.PanningEnvelope = {};
    ch.PanningEnvelope.Output = 32;
    ch.KeyOff = 0;
    ch.Fadeout = 65536;
    ch.AutoVibratoPosition = 0;
    ch.SweepCounter = 0;
    ch.VibratoPosition = 0;
    ch.Flags |= FlagVolume | FlagPan;
}

void envelope_step(EnvelopeState& e, const uint16_t points[][2], int count, int type, int sustain,
                   int loop_start, int loop_end, bool key_off, uint8_t& flags, uint8_t flag) {
    if (e.Point < count) {
        if (points[e.Point][0] == e.Tick) {
            if ((type & EnvelopeLoop) && e.Point == loop_end) {
                e.Point = loop_start;
                e.Tick = points[loop_start][0];
            }
            const int y = points[e.Point][1];
            if (e.Point == count - 1) {
                e.Output = y;
                e.Done = 1;
                flags |= flag;
                return;
            }
            if ((type & EnvelopeSustain) && e.Point == sustain && !key_off) {
                e.Output = y; // held until key off
                flags |= flag;
                return;
            }
            const int dx = points[e.Point + 1][0] - points[e.Point][0];
            const int dy = points[e.Point + 1][1] - y;
            e.Step = dx == 0 ? 0 : dy * 65536 / dx;
            e.Value = y * 65536;
            e.Point++;
        } else {
            e.Value += e.Step;
        }
    }
    e.Output = e.Value >> 16;
    e.Tick++;
    flags |= flag;
}

void step_envelopes(Channel& ch, const Instrument& ins) {
    if ((ins.VolumeType & EnvelopeOn) && !ch.VolumeEnvelope.Done)
        envelope_step(ch.VolumeEnvelope, ins.VolumePoints, ins.VolumePointCount, ins.VolumeType,
                      ins.VolumeSustain, ins.VolumeLoopStart, ins.VolumeLoopEnd, ch.KeyOff,
                      ch.Flags, FlagVolume);
}

void step_panning_envelope(Channel& ch, const Instrument& ins) {
    if ((ins.PanningType & EnvelopeOn) && !ch.PanningEnvelope.Done)
        envelope_step(ch.PanningEnvelope, ins.PanningPoints, ins.PanningPointCount, ins.PanningType,
                      ins.PanningSustain, ins.PanningLoopStart, ins.PanningLoopEnd, ch.KeyOff,
                      ch.Flags, FlagPan);
}

void fade_out(Channel& ch, const Instrument& ins) {
    ch.Fadeout -= ins.Fadeout;
    if (ch.Fadeout < 0) ch.Fadeout = 0;
    ch.Flags |= FlagVolume;
}

// Sine vibrato at the channel's signed position (-32..31 for a full cycle).
void vibrato(Channel& ch) {
    int value =
        static_cast<int>(std::fabs(std::sin(ch.VibratoPosition * std::numbers::pi / 32.0)) * 256.0);
    int d = ((value * ch.VibratoDepth) >> 5) & ~3;
    ch.PeriodDelta = ch.VibratoPosition < 0 ? d : -d;
    ch.Flags |= FlagFrequency;
}

void advance_vibrato(Channel& ch) {
    ch.VibratoPosition += ch.VibratoSpeed;
    if (ch.VibratoPosition > 31) ch.VibratoPosition -= 64;
}

void tone_porta_step(Channel& ch) {
    const int32_t speed = 4 * ch.TonePortaSpeed;
    if (ch.Period < ch.TonePortaTarget) {
        ch.Period += speed;
        if (ch.Period > ch.TonePortaTarget) ch.Period = ch.TonePortaTarget;
    } else if (ch.Period > ch.TonePortaTarget) {
        ch.Period -= speed;
        if (ch.Period < ch.TonePortaTarget) ch.Period = ch.TonePortaTarget;
    }
    ch.Flags |= FlagFrequency;
}

// Slides keep the pan within reach of the 0-255 range it is clamped to.
void slide_pan(Channel& ch, int by) {
    ch.Pan = clamp(ch.Pan + by, -4096, 4096);
    ch.Flags |= FlagPan;
}

void volume_column_tick0(Channel& ch, uint8_t v) {
    const int x = v & 15;
    if (v >= 0x10 && v <= 0x50) {
        ch.Volume = v - 16;
        ch.Flags |= FlagVolume;
    } else if ((v >= 0x60 && v <= 0x6F) || (v >= 0x80 && v <= 0x8F)) {
        ch.Volume = clamp(ch.Volume - x, 0, 64);
        ch.Flags |= FlagVolume;
    } else if ((v >= 0x70 && v <= 0x7F) || (v >= 0x90 && v <= 0x9F)) {
        ch.Volume = clamp(ch.Volume + x, 0, 64);
        ch.Flags |= FlagVolume;
    } else if (v >= 0xA0 && v <= 0xAF) {
        ch.VibratoSpeed = x;
    } else if (v >= 0xB0 && v <= 0xBF) {
        ch.VibratoDepth = x;
    } else if (v >= 0xC0 && v <= 0xCF) {
        ch.Pan = 16 * x;
        ch.Flags |= FlagPan;
    } else if (v >= 0xD0 && v <= 0xDF) {
        slide_pan(ch, -x);
    } else if (v >= 0xE0 && v <= 0xEF) {
        slide_pan(ch, x);
    } else if (v >= 0xF0 && x != 0) {
        ch.TonePortaSpeed = 16 * x;
        ch.TonePortaTarget = ch.NewPeriod;
    }
}

void volume_column_later(Channel& ch, uint8_t v) {
    const int x = v & 15;
    if (v >= 0x60 && v <= 0x6F) {
        ch.Volume = clamp(ch.Volume - x, 0, 64);
        ch.Flags |= FlagVolume;
    } else if (v >= 0x70 && v <= 0x7F) {
        ch.Volume = clamp(ch.Volume + x, 0, 64);
        ch.Flags |= FlagVolume;
    } else if (v >= 0xB0 && v <= 0xBF) {
        ch.VibratoDepth = x;
        vibrato(ch);
        advance_vibrato(ch);
    } else if (v >= 0xD0 && v <= 0xDF) {
        slide_pan(ch, -x);
    } else if (v >= 0xE0 && v <= 0xEF) {
        slide_pan(ch, x);
    } else if (v >= 0xF0) {
        tone_porta_step(ch);
    }
}

int32_t retrigger_volume(int32_t volume, int change) {
    switch (change) {
    case 1:
        return volume - 1;
    case 2:
        return volume - 2;
    case 3:
        return volume - 4;
    case 4:
        return volume - 8;
    case 5:
        return volume - 16;
    case 6:
        return volume * 2 / 3;
    case 7:
        return volume >> 1;
    case 9:
        return volume + 1;
    case 10:
        return volume + 2;
    case 11:
        return volume + 4;
    case 12:
        return volume + 8;
    case 13:
        return volume + 16;
    case 14:
        return volume * 3 / 2;
    case 15:
        return volume * 2;
    default:
        return volume;
    }
}

void effect_tick0(Module& m, Channel& ch, const PatternCell& cell, const Sample& smp) {
    const uint8_t p = cell.Parameter;
    const int x = p >> 4, y = p & 15;
    switch (cell.Effect) {
    case 0x1:
        if (p) ch.PortaUpMemory = p;
        break;
    case 0x2:
        if (p) ch.PortaDownMemory = p;
        break;
    case 0x3:
        if (p) ch.TonePortaSpeed = p;
        ch.TonePortaTarget = ch.NewPeriod;
        ch.Flags &= ~(FlagTrigger | FlagFrequency);
        break;
    case 0x4:
        if (x) ch.VibratoSpeed = x;
        if (y) ch.VibratoDepth = y;
        vibrato(ch);
        break;
    case 0x9: {
        if (p) ch.SampleOffsetMemory = p;
        const uint32_t offset = 256u * ch.SampleOffsetMemory;
        if (offset >= smp.LoopStart + smp.LoopLength) {
            ch.Flags &= ~FlagTrigger;
            ch.Flags |= FlagRestart;
        } else {
            MixerVoices[ch.Voice].StartOffset = offset;
        }
        break;
    }
    case 0xE:
        if (x == 0x2) {
            if (y) ch.FinePortaDownMemory = static_cast<uint8_t>(y);
            ch.Period = clamp(ch.Period + 4 * ch.FinePortaDownMemory, INT32_MIN / 2, MaxPeriod);
        } else if (x == 0xD) {
            ch.Flags &= 0xF0;
            ch.Volume = ch.SavedVolume;
            ch.Period = ch.SavedPeriod;
            ch.Pan = ch.SavedPan;
        }
        break;
    case 0xF:
        // Speed 0 would stop the tick counter from ever wrapping: ignored.
        if (p >= 32)
            set_bpm(m, p);
        else if (p > 0)
            m.Speed = p;
        break;
    case 27:
        if (p) {
            ch.RetriggerVolumeChange = static_cast<uint8_t>(x);
            ch.RetriggerInterval = static_cast<uint8_t>(y);
        }
        break;
    default:
        break;
    }
}

void effect_later(const Module& m, Channel& ch, const PatternCell& cell, const Lookup& look) {
    const uint8_t p = cell.Parameter;
    const int x = p >> 4, y = p & 15;
    switch (cell.Effect) {
    case 0x0:
        if (p && (m.Flags & ModuleLinearFrequencies)) {
            const int phase = m.Tick % 3;
            ch.PeriodDelta = phase == 1 ? 64 * x : phase == 2 ? 64 * y : 0;
            ch.Flags |= FlagFrequency;
        }
        break;
    case 0x1:
        ch.Period -= 4 * ch.PortaUpMemory;
        if (ch.Period < 56) ch.Period = 56;
        ch.PeriodDelta = 0;
        ch.Flags |= FlagFrequency;
        break;
    case 0x2:
        ch.Period = clamp(ch.Period + 4 * ch.PortaDownMemory, INT32_MIN / 2, MaxPeriod);
        ch.PeriodDelta = 0;
        ch.Flags |= FlagFrequency;
        break;
    case 0x3:
        ch.PeriodDelta = 0;
        tone_porta_step(ch);
        break;
    case 0x4:
        vibrato(ch);
        advance_vibrato(ch);
        break;
    case 0xE:
        if (x == 0xC && m.Tick == y) {
            ch.Volume = 0;
            ch.Flags |= FlagVolume;
        } else if (x == 0xD) {
            if (m.Tick == y) {
                reset_instrument(ch, *look.Smp);
                ch.Period = ch.NewPeriod;
                ch.Flags |= FlagFrequency;
                if (cell.Volume) volume_column_tick0(ch, cell.Volume);
                ch.Flags |= FlagTrigger;
            } else {
                ch.Flags &= 0xF0;
            }
        }
        break;
    case 27: {
        const int interval = ch.RetriggerInterval;
        if (interval && m.Tick % interval == 0) {
            ch.Volume = clamp(retrigger_volume(ch.Volume, ch.RetriggerVolumeChange), 0, 64);
            ch.Flags |= FlagVolume | FlagTrigger;
        }
        break;
    }
    default:
        break;
    }
}

// Instrument vibrato: every tick, from the instrument's type, depth, sweep
// and rate.
void auto_vibrato(Channel& ch, const Instrument& ins) {
    const int p = ch.AutoVibratoPosition;
    int value = 0;
    switch (ins.VibratoType) {
    case 0:
        value = static_cast<int>(std::sin(p * std::numbers::pi / 128.0) * 64.0);
        break;
    case 1:
        value = p < 128 ? 64 : -64;
        break;
    case 2:
        value = (128 - ((p + 128) % 256)) >> 1;
        break;
    case 3:
        value = (128 - ((384 - p) % 256)) >> 1;
        break;
    default:
        break;
    }
    value *= ins.VibratoDepth;
    if (ins.VibratoSweep) value = value * ch.SweepCounter / ins.VibratoSweep;
    ch.PeriodDelta += value >> 6;
    if (ch.SweepCounter < ins.VibratoSweep) ch.SweepCounter++;
    ch.AutoVibratoPosition += ins.VibratoRate;
    if (ch.AutoVibratoPosition > 255) ch.AutoVibratoPosition -= 256;
    ch.Flags |= FlagFrequency;
}

void update_voice(const Module& m, Channel& ch, const Sample& smp) {
    MixerVoice* v = &MixerVoices[ch.Voice];
    if (ch.Period + ch.PeriodDelta == 0) ch.Flags &= ~FlagFrequency;

    if (ch.Flags & FlagTrigger) {
        if (v->Sample) {
            // The old note ramps out on this voice; the new one starts on its
            // partner, which takes over everything else.
            const int partner = v->Index < 32 ? v->Index + 32 : v->Index - 32;
            MixerVoices[partner] = *v;
            MixerVoices[partner].Index = partner;
            v->Volume = 0;
            v->Left = 0;
            v->Right = 0;
            ch.Voice = partner;
            v = &MixerVoices[partner];
        }
        v->Sample = &smp;
        v->Position = v->StartOffset < smp.LoopStart + smp.LoopLength ? v->StartOffset : 0;
        v->Fraction = 0;
        v->Direction = 1;
        v->StartOffset = 0;
        v->RampLeft = 0;
        v->RampRight = 0;
        v->RampCount = 0;
    }

    if (ch.Flags & FlagVolume) {
        // (volume/64) (envelope/64) (fadeout/65536) (global/64) * 127.5
        const int64_t product = int64_t(clamp(ch.Volume + ch.VolumeDelta, 0, 64)) *
                                ch.VolumeEnvelope.Output * ch.Fadeout * m.GlobalVolume;
        const int vol = static_cast<int>(static_cast<double>(product) * 7.4214767e-9);
        v->Volume = vol;
        v->Left = vol * v->Pan / 255;
        v->Right = vol * (255 - v->Pan) / 255;
    }
    if (ch.Flags & FlagPan) {
        const int pan = clamp(ch.Pan, 0, 255);
        const int reach = (128 - (pan > 128 ? pan - 128 : 128 - pan)) / 32;
        const int p = clamp(pan + (ch.PanningEnvelope.Output - 32) * reach, 0, 255);
        v->Pan = p;
        v->Left = v->Volume * p / 255;
        v->Right = v->Volume * (255 - p) / 255;
    }
    if (ch.Flags & FlagFrequency) {
        double frequency;
        if (m.Flags & ModuleLinearFrequencies) {
            frequency = 8363.0 * std::exp2((4608.0 - ch.Period + ch.PeriodDelta) / 768.0);
        } else {
            frequency = 14317056.0 / (double(ch.Period) + ch.PeriodDelta);
        }
        if (!(frequency < MaxFrequency)) frequency = MaxFrequency;
        const uint32_t f = frequency < 100.0 ? 100u : static_cast<uint32_t>(frequency);
        v->Frequency = static_cast<int32_t>(f);
        v->StepInteger = f / OutputRate;
        v->StepFraction = static_cast<uint32_t>((uint64_t(f % OutputRate) << 32) / OutputRate);
    }
    if (ch.Flags & FlagRestart) {
        v->Position = 0;
        v->Fraction = 0;
        v->StartOffset = 0;
    }
}

void process_row(Module& m, Channel& ch, const PatternCell& cell) {
    const bool porta = cell.Effect == 3 || cell.Effect == 5;
    const bool has_note = cell.Note >= 1 && cell.Note <= 96;
    if (cell.Instrument && !porta) ch.Instrument = cell.Instrument - 1;
    if (has_note && !porta) ch.Note = cell.Note - 1;

    const Lookup look = look_up(m, ch);
    const Instrument& ins = *look.Ins;
    const Sample& smp = *look.Smp;
    if (!porta) ch.CurrentSample = &smp;

    ch.SavedVolume = ch.Volume;
    ch.SavedPeriod = ch.Period;
    ch.SavedPan = ch.Pan;

    ch.Flags = 0;
    if (has_note) {
        ch.RealNote = cell.Note - 1 + smp.RelativeNote;
        if (m.Flags & ModuleLinearFrequencies)
            ch.NewPeriod = 7680 - 64 * ch.RealNote - smp.Finetune / 2;
        if (!porta) ch.Period = ch.NewPeriod;
        ch.Flags = FlagTrigger;
    }
    ch.PeriodDelta = 0;
    ch.Flags |= FlagFrequency | FlagVolume;

    if (cell.Instrument) reset_instrument(ch, smp);
    if (cell.Volume) volume_column_tick0(ch, cell.Volume);
    if (cell.Note == 255 || cell.Effect == 20) ch.KeyOff = 1;

    if ((ins.VolumeType & EnvelopeOn) && !ch.VolumeEnvelope.Done)
        step_envelopes(ch, ins);
    else if (ch.KeyOff)
        ch.VolumeEnvelope.Output = 0; // no envelope to release: the note falls silent
    step_panning_envelope(ch, ins);
    if (ch.KeyOff) fade_out(ch, ins);

    effect_tick0(m, ch, cell, smp);
    auto_vibrato(ch, ins);
    update_voice(m, ch, smp);
}

void process_later_tick(Module& m, Channel& ch, const PatternCell& cell) {
    const Lookup look = look_up(m, ch);
    const Instrument& ins = *look.Ins;
    ch.VolumeDelta = 0;
    ch.PeriodDelta = 0;
    ch.Flags = 0;
    step_envelopes(ch, ins);
    step_panning_envelope(ch, ins);
    if (ch.KeyOff) fade_out(ch, ins);
    if (cell.Volume) volume_column_later(ch, cell.Volume);
    effect_later(m, ch, cell, look);
    auto_vibrato(ch, ins);
    update_voice(m, ch, *look.Smp);
}

} // namespace

void set_bpm(Module& m, int bpm) {
    if (bpm < 1) return;
    m.Bpm = bpm;
    // Single precision, as the figure 689 at BPM 160 was made.
    float tick_ms = 1000.0f / (static_cast<float>(bpm) * 0.4f);
    float frames = tick_ms * 44100.0f * 0.001f;
    m.SamplesPerTick = static_cast<int32_t>(frames);
    if (m.SamplesPerTick < 1) m.SamplesPerTick = 1;
}

void player_start(Module& m, int position) {
    m.GlobalVolume = m.InitialGlobalVolume;
    m.Speed = m.DefaultSpeed;
    m.Tick = 0;
    m.Row = 0;
    m.SongPosition = position >= 0 && position < m.SongLength ? position : 0;
    m.NextRow = -1;
    m.NextPosition = -1;
    m.SamplesLeft = 0;
    set_bpm(m, m.DefaultBpm);
    for (int c = 0; c < MaxChannels; c++) {
        m.Channels[c] = {};
        m.Channels[c].Voice = c;
    }
}

void player_tick(Module& m) {
    if (m.Tick == 0) {
        if (m.NextPosition >= 0) m.SongPosition = m.NextPosition;
        if (m.NextRow >= 0) m.Row = m.NextRow;
        if (m.SongPosition >= m.SongLength) m.SongPosition = 0;
        const Pattern& pattern = m.Patterns[m.OrderTable[m.SongPosition]];
        if (m.Row >= pattern.RowCount) m.Row = 0;
        const PatternCell* row = pattern.Cells + m.Row * m.ChannelCount;
        for (int c = 0; c < m.ChannelCount; c++) process_row(m, m.Channels[c], row[c]);

        m.NextRow = m.Row + 1;
        if (m.NextRow >= pattern.RowCount) {
            m.NextPosition =
                m.SongPosition + 1 >= m.SongLength ? m.RestartPosition : m.SongPosition + 1;
            m.NextRow = 0;
        }
    } else {
        const Pattern& pattern = m.Patterns[m.OrderTable[m.SongPosition]];
        const PatternCell* row = pattern.Cells + m.Row * m.ChannelCount;
        for (int c = 0; c < m.ChannelCount; c++) process_later_tick(m, m.Channels[c], row[c]);
    }
    m.Tick++;
    if (m.Tick >= m.Speed) m.Tick -= m.Speed;
}

} // namespace bb
