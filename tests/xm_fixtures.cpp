#include "xm_fixtures.h"

namespace bb::fixtures {

xm::Sample sample_of(std::vector<int16_t> values, uint8_t loop, uint32_t loop_start,
                     uint32_t loop_length) {
    xm::Sample s;
    s.Values = std::move(values);
    s.Loop = loop;
    s.LoopStart = loop_start;
    s.LoopLength = loop_length;
    return s;
}

xm::Instrument instrument_of(xm::Sample sample) {
    xm::Instrument ins;
    ins.Samples.push_back(std::move(sample));
    return ins;
}

xm::Song small_song(int channels, int rows) {
    xm::Song song;
    song.Channels = channels;
    song.Speed = 8;
    song.Bpm = 160;
    song.Orders = {0};
    xm::Pattern p;
    p.Rows = rows;
    p.Cells.resize(rows * channels);
    song.Patterns.push_back(p);
    std::vector<int16_t> wave(64);
    for (int i = 0; i < 64; i++) wave[i] = static_cast<int16_t>(i < 32 ? 8000 : -8000);
    song.Instruments.push_back(instrument_of(sample_of(wave, xm::ForwardLoop, 0, 64)));
    return song;
}

std::vector<std::pair<std::string, std::vector<uint8_t>>> seed_modules() {
    std::vector<std::pair<std::string, std::vector<uint8_t>>> out;

    xm::Song notes = small_song(4, 16);
    xm::Pattern& p = notes.Patterns[0];
    // Every supported effect and volume column command at least once.
    const xm::Cell cells[] = {
        {49, 1, 0x40, 0x0, 0x37}, {61, 1, 0x65, 0x1, 0x08}, {37, 1, 0x75, 0x2, 0x08},
        {49, 1, 0x00, 0x3, 0x10}, {49, 1, 0xA4, 0x4, 0x44}, {56, 1, 0xB3, 0x5, 0x00},
        {49, 1, 0xC8, 0x9, 0x01}, {49, 1, 0xD2, 0xE, 0x23}, {49, 1, 0xE2, 0xE, 0xC3},
        {49, 1, 0xF4, 0xE, 0xD3}, {49, 1, 0x30, 0xF, 0x04}, {49, 1, 0x30, 0xF, 0x80},
        {97, 0, 0x00, 20, 0x00},  {49, 1, 0x30, 27, 0x92},  {49, 1, 0x85, 27, 0x00},
        {49, 1, 0x95, 0x8, 0x80},
    };
    for (int i = 0; i < 16; i++) p.Cells[i * 4 + i % 4] = cells[i];
    xm::Instrument& ins = notes.Instruments[0];
    ins.VolumeEnvelope.Points = {{0, 0}, {4, 64}, {10, 40}, {20, 30}, {30, 0}};
    ins.VolumeEnvelope.Type = 1 | 2 | 4;
    ins.VolumeEnvelope.Sustain = 2;
    ins.VolumeEnvelope.LoopStart = 1;
    ins.VolumeEnvelope.LoopEnd = 3;
    ins.PanningEnvelope.Points = {{0, 32}, {8, 0}, {16, 64}};
    ins.PanningEnvelope.Type = 1;
    ins.VibratoType = 0;
    ins.VibratoSweep = 4;
    ins.VibratoDepth = 8;
    ins.VibratoRate = 20;
    ins.Fadeout = 2000;
    xm::Sample ping = sample_of({0, 1000, 2000, 1000, 0, -1000}, xm::PingPongLoop, 1, 4);
    ping.SixteenBit = false;
    ping.Values = {0, 40, 80, 40, 0, -40};
    ins.Samples.push_back(ping);
    for (int n = 48; n < 96; n++) ins.Keymap[n] = 1;
    notes.Instruments.push_back(xm::Instrument{}); // no samples
    notes.Orders = {0, 1, 0};
    notes.RestartPosition = 1;
    out.push_back({"effects", xm::write_xm(notes)});

    xm::Song packed = small_song(2, 2);
    packed.Patterns[0].Packed = {0x80, 0x81, 97, 0x9F, 49, 1, 0x40, 0x0F, 0x06, 49, 1, 0x40, 3, 4};
    out.push_back({"packed", xm::write_xm(packed)});
    return out;
}

} // namespace bb::fixtures
