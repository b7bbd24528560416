#include "xm_writer.h"

#include <cmath>
#include <cstring>

namespace bb::xm {

namespace {

struct Out {
    std::vector<uint8_t> Bytes;
    void u8(uint32_t v) { Bytes.push_back(static_cast<uint8_t>(v)); }
    void u16(uint32_t v) {
        u8(v);
        u8(v >> 8);
    }
    void u32(uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    }
    void text(const std::string& s, size_t size) {
        for (size_t i = 0; i < size; i++) u8(i < s.size() ? static_cast<uint8_t>(s[i]) : 0);
    }
    void zeros(size_t n) { Bytes.insert(Bytes.end(), n, 0); }
};

void write_envelope(Out& o, const Envelope& e) {
    for (size_t i = 0; i < 12; i++) {
        o.u16(i < e.Points.size() ? e.Points[i].first : 0);
        o.u16(i < e.Points.size() ? e.Points[i].second : 0);
    }
}

std::vector<uint8_t> sample_bytes(const Sample& s) {
    if (!s.Raw.empty()) return s.Raw;
    std::vector<uint8_t> out;
    if (s.SixteenBit) {
        int16_t last = 0;
        for (int16_t v : s.Values) {
            uint16_t d = static_cast<uint16_t>(v - last);
            last = v;
            out.push_back(static_cast<uint8_t>(d));
            out.push_back(static_cast<uint8_t>(d >> 8));
        }
    } else {
        int8_t last = 0;
        for (int16_t v : s.Values) {
            out.push_back(static_cast<uint8_t>(static_cast<int8_t>(v) - last));
            last = static_cast<int8_t>(v);
        }
    }
    return out;
}

} // namespace

std::vector<uint8_t> pack_cells(const std::vector<Cell>& cells) {
    std::vector<uint8_t> out;
    for (const Cell& c : cells) {
        const uint8_t fields[5] = {c.Note, c.Instrument, c.Volume, c.Effect, c.Parameter};
        uint8_t mask = 0;
        for (int i = 0; i < 5; i++)
            if (fields[i]) mask |= static_cast<uint8_t>(1 << i);
        if (mask == 31) {
            out.insert(out.end(), fields, fields + 5);
            continue;
        }
        out.push_back(0x80 | mask);
        for (int i = 0; i < 5; i++)
            if (fields[i]) out.push_back(fields[i]);
    }
    return out;
}

std::vector<uint8_t> write_xm(const Song& song) {
    Out o;
    o.text("Extended Module: ", 17);
    o.text(song.Name, 20);
    o.u8(0x1A);
    o.text("brawlbox", 20);
    o.u16(0x0104);
    o.u32(276);
    o.u16(static_cast<uint32_t>(song.Orders.size()));
    o.u16(song.RestartPosition);
    o.u16(song.Channels);
    o.u16(static_cast<uint32_t>(song.Patterns.size()));
    o.u16(static_cast<uint32_t>(song.Instruments.size()));
    o.u16(song.Flags);
    o.u16(song.Speed);
    o.u16(song.Bpm);
    for (size_t i = 0; i < 256; i++) o.u8(i < song.Orders.size() ? song.Orders[i] : 0);

    for (const Pattern& p : song.Patterns) {
        std::vector<uint8_t> packed = p.Packed;
        if (packed.empty() && !p.Cells.empty()) packed = pack_cells(p.Cells);
        o.u32(9);
        o.u8(0);
        o.u16(p.Rows);
        o.u16(static_cast<uint32_t>(packed.size()));
        o.Bytes.insert(o.Bytes.end(), packed.begin(), packed.end());
    }

    for (const Instrument& ins : song.Instruments) {
        if (ins.Samples.empty()) {
            o.u32(29);
            o.text(ins.Name, 22);
            o.u8(0);
            o.u16(0);
            continue;
        }
        o.u32(263);
        o.text(ins.Name, 22);
        o.u8(0);
        o.u16(static_cast<uint32_t>(ins.Samples.size()));
        o.u32(40);
        o.Bytes.insert(o.Bytes.end(), ins.Keymap, ins.Keymap + 96);
        write_envelope(o, ins.VolumeEnvelope);
        write_envelope(o, ins.PanningEnvelope);
        o.u8(static_cast<uint32_t>(ins.VolumeEnvelope.Points.size()));
        o.u8(static_cast<uint32_t>(ins.PanningEnvelope.Points.size()));
        o.u8(ins.VolumeEnvelope.Sustain);
        o.u8(ins.VolumeEnvelope.LoopStart);
        o.u8(ins.VolumeEnvelope.LoopEnd);
        o.u8(ins.PanningEnvelope.Sustain);
        o.u8(ins.PanningEnvelope.LoopStart);
        o.u8(ins.PanningEnvelope.LoopEnd);
        o.u8(ins.VolumeEnvelope.Type);
        o.u8(ins.PanningEnvelope.Type);
        o.u8(ins.VibratoType);
        o.u8(ins.VibratoSweep);
        o.u8(ins.VibratoDepth);
        o.u8(ins.VibratoRate);
        o.u16(ins.Fadeout);
        o.zeros(22);

        std::vector<std::vector<uint8_t>> data;
        for (const Sample& s : ins.Samples) {
            data.push_back(sample_bytes(s));
            const uint32_t unit = s.SixteenBit ? 2 : 1;
            o.u32(static_cast<uint32_t>(data.back().size()));
            o.u32(s.LoopStart * unit);
            o.u32(s.LoopLength * unit);
            o.u8(s.Volume);
            o.u8(static_cast<uint8_t>(s.Finetune));
            o.u8(s.Loop | (s.SixteenBit ? 16 : 0));
            o.u8(s.Panning);
            o.u8(static_cast<uint8_t>(s.RelativeNote));
            o.u8(0);
            o.text(s.Name, 22);
        }
        for (const std::vector<uint8_t>& d : data) o.Bytes.insert(o.Bytes.end(), d.begin(), d.end());
    }
    return o.Bytes;
}

void tune_sample(Sample& sample, double rate_at_c4) {
    const double semitones = 12.0 * std::log2(rate_at_c4 / 8363.0);
    int relative = static_cast<int>(std::lround(semitones));
    int finetune = static_cast<int>(std::lround((semitones - relative) * 128.0));
    if (finetune > 127) finetune = 127;
    if (finetune < -128) finetune = -128;
    sample.RelativeNote = static_cast<int8_t>(relative);
    sample.Finetune = static_cast<int8_t>(finetune);
}

} // namespace bb::xm
