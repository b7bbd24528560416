// The in-memory song: what the loader builds from an Extended Module (XM) and
// what the player and the mixer work on. The player's state lives here too.
#pragma once

#include <cstdint>

namespace bb {

enum LoopMode : uint8_t { LoopNone = 1, LoopForward = 2, LoopPingPong = 4 };

struct Sample {
    int16_t* Data;       // Length values, then one guard value and zero padding; null when empty
    uint32_t Length;     // in sample units
    uint32_t LoopStart;  // in sample units; LoopStart + LoopLength <= Length
    uint32_t LoopLength; // in sample units; the whole sample when there is no loop
    uint8_t Volume;      // 0-64
    int8_t Finetune;     // 1/128 semitone
    uint8_t Panning;     // 0-255
    uint8_t Bits;        // always 16 once loaded
    uint8_t LoopMode;    // a LoopMode value
    int8_t RelativeNote; // semitones added to every note
};

// The one sample with no data; every unused sample slot points at it.
extern Sample EmptySample;

constexpr int EnvelopeMaxPoints = 12;
enum EnvelopeType : uint8_t { EnvelopeOn = 1, EnvelopeSustain = 2, EnvelopeLoop = 4 };

struct Instrument {
    int32_t SampleCount; // 0-16
    Sample* Samples[16]; // slots at and after SampleCount point at EmptySample
    uint8_t Keymap[96];  // sample slot for each note; 16 or more plays EmptySample
    uint16_t VolumePoints[EnvelopeMaxPoints][2];  // (tick, value 0-64); ticks rise
    uint16_t PanningPoints[EnvelopeMaxPoints][2]; // (tick, value 0-64); ticks rise
    uint8_t VolumePointCount;                     // 0-12
    uint8_t PanningPointCount;                    // 0-12
    uint8_t VolumeSustain;                        // point index, below VolumePointCount when in use
    uint8_t VolumeLoopStart;                      // point index
    uint8_t VolumeLoopEnd;                        // point index
    uint8_t PanningSustain;
    uint8_t PanningLoopStart;
    uint8_t PanningLoopEnd;
    uint8_t VolumeType;  // EnvelopeType bits; 0 when fewer than 2 points
    uint8_t PanningType; // EnvelopeType bits; 0 when fewer than 2 points
    uint8_t VibratoType; // 0 sine, 1 square, 2 and 3 saws; others give no vibrato
    uint8_t VibratoSweep;
    uint8_t VibratoDepth;
    uint8_t VibratoRate;
    int32_t Fadeout; // subtracted from 65536 per tick after key off; the file's value doubled
};

struct PatternCell {
    uint8_t Note;       // 0 none, 1-96 notes, 255 key off
    uint8_t Instrument; // 0 none, 1-128
    uint8_t Volume;     // the volume column byte
    uint8_t Effect;
    uint8_t Parameter;
};

struct Pattern {
    int32_t RowCount;   // 1-256
    PatternCell* Cells; // RowCount x the module's ChannelCount, row-major
};

constexpr int MaxChannels = 32;
constexpr int VoiceCount = 64;

// Envelope playback state of one channel.
struct EnvelopeState {
    int32_t Tick;   // ticks since the last reset or loop jump
    int32_t Point;  // index of the next point to reach
    int32_t Value;  // 16.16
    int32_t Step;   // 16.16 per tick
    int32_t Output; // 0-64
    uint8_t Done;   // the last point was reached
};

enum ChannelFlag : uint8_t {
    FlagFrequency = 1,
    FlagVolume = 2,
    FlagPan = 4,
    FlagTrigger = 8,
    FlagRestart = 0x20,
};

struct Channel {
    uint8_t Note;       // last note, 0-based (0-95)
    uint8_t Instrument; // last instrument, 0-based
    int32_t RealNote;   // Note + the sample's relative note; may leave 0-95
    uint8_t Flags;      // ChannelFlag bits for the voice this tick
    int32_t Voice;      // index of the mixer voice this channel drives
    const Sample* CurrentSample;
    int32_t Period;    // linear: 7680 - 64 * real note - finetune / 2
    int32_t NewPeriod; // period of the last note given; tone porta target
    int32_t Volume;    // 0-64
    int32_t Pan;       // 0-255 once clamped; slides may leave the range
    int32_t VolumeDelta;
    int32_t PeriodDelta;           // added to the exponent of the frequency; reset every tick
    EnvelopeState VolumeEnvelope;  // Output 64 when off
    EnvelopeState PanningEnvelope; // Output 32 when off
    int32_t Fadeout;               // 65536 down to 0 after key off
    uint8_t KeyOff;
    int32_t AutoVibratoPosition; // 0-255
    int32_t SweepCounter;
    // Effect memories.
    uint8_t PortaUpMemory;
    uint8_t PortaDownMemory;
    uint8_t FinePortaDownMemory;
    int32_t TonePortaSpeed;
    uint8_t SampleOffsetMemory;
    int32_t VibratoPosition; // -32..31
    int32_t VibratoSpeed;
    int32_t VibratoDepth;
    uint8_t RetriggerVolumeChange;
    uint8_t RetriggerInterval;
    int32_t TonePortaTarget;
    // What a note delay falls back to on tick 0.
    int32_t SavedVolume;
    int32_t SavedPeriod;
    int32_t SavedPan;
};

struct Module {
    Pattern* Patterns;        // PatternSlotCount entries
    Instrument* Instruments;  // InstrumentCount entries
    uint16_t SongLength;      // 1-256
    uint16_t RestartPosition; // below SongLength
    uint16_t ChannelCount;    // 1-32
    int32_t UsedPatternCount; // 1 + the largest pattern number in the played orders
    int32_t PatternSlotCount; // max(stored patterns, UsedPatternCount)
    uint16_t InstrumentCount; // 0-128
    uint16_t Flags;           // bit 0: linear frequency table
    uint16_t DefaultSpeed;    // ticks per row, at least 1
    uint16_t DefaultBpm;      // at least 1
    uint8_t OrderTable[256];
    uint8_t InitialGlobalVolume; // always 64

    // Player state.
    int32_t GlobalVolume; // 0-64
    int32_t Tick;         // 0 .. Speed - 1
    int32_t Speed;        // ticks per row
    int32_t Bpm;
    int32_t SamplesPerTick; // output frames between two ticks
    int32_t SamplesLeft;    // output frames still to render before the next tick
    int32_t Row;
    int32_t SongPosition;
    int32_t NextRow;      // -1 = not set
    int32_t NextPosition; // -1 = not set
    Channel Channels[MaxChannels];
};

constexpr uint16_t ModuleLinearFrequencies = 1;

} // namespace bb
