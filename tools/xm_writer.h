// Writing Extended Modules (XM, FastTracker 2 format 0x0104) from a plain
// description: the song composer and the loader's test fixtures use it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bb::xm {

struct Cell {
    uint8_t Note = 0;       // 0 none, 1-96, 97 key off
    uint8_t Instrument = 0; // 0 none, 1-128
    uint8_t Volume = 0;     // volume column byte
    uint8_t Effect = 0;
    uint8_t Parameter = 0;
};

struct Pattern {
    int Rows = 64;
    std::vector<Cell> Cells;      // Rows x channels, row-major; may be empty for silence
    std::vector<uint8_t> Packed;  // when not empty, written as the packed data as it is
};

struct Envelope {
    std::vector<std::pair<uint16_t, uint16_t>> Points; // (tick, value 0-64)
    uint8_t Type = 0; // 1 on, 2 sustain, 4 loop
    uint8_t Sustain = 0;
    uint8_t LoopStart = 0;
    uint8_t LoopEnd = 0;
};

enum SampleLoop : uint8_t { NoLoop = 0, ForwardLoop = 1, PingPongLoop = 2 };

struct Sample {
    std::string Name;
    std::vector<int16_t> Values; // 16-bit values, or -128..127 when not SixteenBit
    bool SixteenBit = true;
    std::vector<uint8_t> Raw;    // when not empty, written as the data as it is (no delta coding)
    uint32_t LoopStart = 0;      // in samples
    uint32_t LoopLength = 0;     // in samples
    uint8_t Loop = NoLoop;
    uint8_t Volume = 64;
    int8_t Finetune = 0;
    uint8_t Panning = 128;
    int8_t RelativeNote = 0;
};

struct Instrument {
    std::string Name;
    std::vector<Sample> Samples;
    uint8_t Keymap[96] = {};
    Envelope VolumeEnvelope;
    Envelope PanningEnvelope;
    uint8_t VibratoType = 0, VibratoSweep = 0, VibratoDepth = 0, VibratoRate = 0;
    uint16_t Fadeout = 0;
};

struct Song {
    std::string Name;
    int Channels = 4;
    int RestartPosition = 0;
    uint16_t Flags = 1; // linear frequencies
    int Speed = 6;
    int Bpm = 125;
    std::vector<uint8_t> Orders;
    std::vector<Pattern> Patterns;
    std::vector<Instrument> Instruments;
};

// Packs the cells the way FastTracker 2 does: a cell with every field is
// stored whole, any other as a flag byte and its non-zero fields.
std::vector<uint8_t> pack_cells(const std::vector<Cell>& cells);

std::vector<uint8_t> write_xm(const Song& song);

// Relative note and finetune that play a sample recorded at rate frames per
// second at that rate for note C-4 (so a drum sounds as recorded).
void tune_sample(Sample& sample, double rate_at_c4);

} // namespace bb::xm
