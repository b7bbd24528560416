#include "audio/memory_file.h"
#include "audio/mixer.h"
#include "audio/module_loader.h"
#include "xm_fixtures.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

using namespace bb;
using namespace bb::fixtures;

namespace {

Module* load(const std::vector<uint8_t>& bytes) {
    return load_module_from_memory(bytes.data(), static_cast<uint32_t>(bytes.size()));
}

void put_u16(std::vector<uint8_t>& b, size_t at, uint16_t v) {
    b.at(at) = static_cast<uint8_t>(v);
    b.at(at + 1) = static_cast<uint8_t>(v >> 8);
}

void put_u32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    put_u16(b, at, static_cast<uint16_t>(v));
    put_u16(b, at + 2, static_cast<uint16_t>(v >> 16));
}

// Where the first instrument starts in a written module.
size_t first_instrument(const std::vector<uint8_t>& b) {
    size_t at = 336;
    const int patterns = b[70] | b[71] << 8;
    for (int p = 0; p < patterns; p++) at += 9 + (b[at + 7] | b[at + 8] << 8);
    return at;
}

} // namespace

TEST(MemoryFile, ServesOnlyItsOwnBytes) {
    const uint8_t bytes[] = {1, 2, 3, 4, 5};
    memory_file_use(bytes, 5);
    FileHandle f = memory_file_open("ignored");
    ASSERT_NE(f, nullptr);
    uint8_t out[8] = {};
    EXPECT_EQ(memory_file_read(out, 3, f), 3u);
    EXPECT_EQ(memory_file_read(out, 8, f), 2u); // clamped at the end
    EXPECT_EQ(out[1], 5);
    EXPECT_EQ(memory_file_read(out, 1, f), 0u);

    struct Seek {
        int32_t offset, mode;
        uint32_t expected;
    };
    const Seek seeks[] = {{2, 0, 2}, {1, 1, 3}, {-1, 2, 4}, {100, 0, 5}, {-100, 1, 0}, {9, 2, 5}};
    for (const Seek& s : seeks) {
        memory_file_seek(f, s.offset, s.mode);
        EXPECT_EQ(memory_file_tell(f), s.expected) << s.offset << " mode " << s.mode;
    }
    memory_file_use(nullptr, 0);
    EXPECT_EQ(memory_file_open("f.xm"), nullptr);
}

TEST(MemoryFile, CallbacksAreAllOrNothing) {
    register_memory_file_callbacks();
    EXPECT_TRUE(file_callbacks_registered());
    register_file_callbacks(memory_file_open, memory_file_close, nullptr, memory_file_seek,
                            memory_file_tell);
    EXPECT_FALSE(file_callbacks_registered());
    EXPECT_EQ(FileCallbackSet.Open, nullptr);
    EXPECT_EQ(load_module("f.xm", nullptr), nullptr);
}

TEST(Loader, ReadsHeaderPatternsAndInstruments) {
    xm::Song song = small_song(3, 5);
    song.Orders = {0, 0, 0};
    song.RestartPosition = 2;
    song.Speed = 7;
    song.Bpm = 140;
    song.Patterns[0].Cells[1 * 3 + 2] = {50, 1, 0x30, 0x4, 0x21};
    Module* m = load(xm::write_xm(song));
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->SongLength, 3);
    EXPECT_EQ(m->RestartPosition, 2);
    EXPECT_EQ(m->ChannelCount, 3);
    EXPECT_EQ(m->UsedPatternCount, 1);
    EXPECT_EQ(m->PatternSlotCount, 1);
    EXPECT_EQ(m->InstrumentCount, 1);
    EXPECT_EQ(m->Flags, ModuleLinearFrequencies);
    EXPECT_EQ(m->DefaultSpeed, 7);
    EXPECT_EQ(m->DefaultBpm, 140);
    EXPECT_EQ(m->InitialGlobalVolume, 64);
    EXPECT_EQ(m->Patterns[0].RowCount, 5);
    const PatternCell& c = m->Patterns[0].Cells[1 * 3 + 2];
    EXPECT_EQ(c.Note, 50);
    EXPECT_EQ(c.Instrument, 1);
    EXPECT_EQ(c.Volume, 0x30);
    EXPECT_EQ(c.Effect, 4);
    EXPECT_EQ(c.Parameter, 0x21);
    const Sample& s = *m->Instruments[0].Samples[0];
    EXPECT_EQ(s.Length, 64u);
    EXPECT_EQ(s.LoopMode, LoopForward);
    EXPECT_EQ(s.Bits, 16);
    EXPECT_EQ(s.Data[0], 8000);
    EXPECT_EQ(s.Data[63], -8000);
    for (int i = 1; i < 16; i++) EXPECT_EQ(m->Instruments[0].Samples[i], &EmptySample);
    EXPECT_TRUE(free_module(m));
    EXPECT_FALSE(free_module(nullptr));
}

TEST(Loader, UnpacksCells) {
    xm::Song song = small_song(2, 3);
    // 0x80: empty. 0x81 97: key off. 0x9F: all five. A plain note byte: all five follow.
    // 0x8A: instrument and effect only. Then a plain cell with note 98 and instrument 200,
    // which name nothing.
    song.Patterns[0].Packed = {0x80, 0x81, 97, 0x9F, 49, 1,    0x40, 0x0F, 0x06, 49, 2,
                               0x20, 3,    4,  0x8A, 5,  0x0C, 98,   200,  0,    0,  0};
    Module* m = load(xm::write_xm(song));
    ASSERT_NE(m, nullptr);
    const PatternCell* c = m->Patterns[0].Cells;
    auto same = [](const PatternCell& a, PatternCell b) { return std::memcmp(&a, &b, 5) == 0; };
    EXPECT_TRUE(same(c[0], {0, 0, 0, 0, 0}));
    EXPECT_TRUE(same(c[1], {255, 0, 0, 0, 0}));
    EXPECT_TRUE(same(c[2], {49, 1, 0x40, 0x0F, 0x06}));
    EXPECT_TRUE(same(c[3], {49, 2, 0x20, 3, 4}));
    EXPECT_TRUE(same(c[4], {0, 5, 0, 0x0C, 0}));
    EXPECT_TRUE(same(c[5], {0, 0, 0, 0, 0}));
    free_module(m);

    // Packed data that ends early leaves the rest of the cells empty.
    song.Patterns[0].Packed = {0x81, 20};
    m = load(xm::write_xm(song));
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->Patterns[0].Cells[0].Note, 20);
    for (int i = 1; i < 6; i++) EXPECT_EQ(m->Patterns[0].Cells[i].Note, 0);
    free_module(m);
}

TEST(Loader, OrderTableNamingAnUnstoredPatternGetsAnEmptyOne) {
    xm::Song song = small_song(2, 4);
    song.Patterns.resize(9, song.Patterns[0]);
    song.Orders = {0, 8, 9, 1};
    Module* m = load(xm::write_xm(song));
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->UsedPatternCount, 10);
    EXPECT_EQ(m->PatternSlotCount, 10);
    EXPECT_EQ(m->Patterns[8].RowCount, 4);
    EXPECT_EQ(m->Patterns[9].RowCount, 64);
    for (int i = 0; i < 64 * 2; i++) EXPECT_EQ(m->Patterns[9].Cells[i].Note, 0);
    free_module(m);
}

TEST(Loader, DecodesSampleData) {
    xm::Song song = small_song();
    xm::Sample eight;
    eight.SixteenBit = false;
    eight.Raw = {1, 1, 1, 0xFF};
    xm::Sample sixteen;
    sixteen.Raw.assign(1000, 0);
    sixteen.Raw[0] = 0xFF; // deltas 0x7FFF, 2 wrap round
    sixteen.Raw[1] = 0x7F;
    sixteen.Raw[2] = 2;
    song.Instruments[0].Samples = {eight, sixteen};
    song.Instruments[0].Keymap[0] = 1;
    Module* m = load(xm::write_xm(song));
    ASSERT_NE(m, nullptr);
    const Sample& a = *m->Instruments[0].Samples[0];
    ASSERT_EQ(a.Length, 4u);
    EXPECT_EQ(a.Data[0], 256);
    EXPECT_EQ(a.Data[1], 512);
    EXPECT_EQ(a.Data[2], 768);
    EXPECT_EQ(a.Data[3], 512);
    EXPECT_EQ(a.Bits, 16);
    const Sample& b = *m->Instruments[0].Samples[1];
    EXPECT_EQ(b.Length, 500u);
    EXPECT_EQ(b.Data[0], 32767);
    EXPECT_EQ(b.Data[1], -32767);
    EXPECT_EQ(b.LoopLength, 500u);
    EXPECT_EQ(b.Data[500], 0); // padding after the data
    free_module(m);
}

TEST(Loader, SanitisesLoopsAndWritesGuards) {
    struct Case {
        uint8_t loop;
        uint32_t start, length;
        uint8_t mode;
        uint32_t want_start, want_length;
        int16_t want_guard; // value after the loop
    };
    // Values 0, 100, 200, ... 900.
    const Case cases[] = {
        {xm::ForwardLoop, 2, 5, LoopForward, 2, 5, 200},
        {xm::PingPongLoop, 2, 5, LoopPingPong, 2, 5, 600},
        {xm::ForwardLoop | xm::PingPongLoop, 2, 5, LoopPingPong, 2, 5, 600},
        {xm::ForwardLoop, 3, 0, LoopNone, 0, 10, 0},       // length 0: no loop
        {xm::ForwardLoop, 6, 100, LoopForward, 6, 4, 600}, // cut at the end
        {xm::ForwardLoop, 10, 4, LoopNone, 0, 10, 0},      // starts past the end
        {xm::NoLoop, 3, 4, LoopNone, 0, 10, 0},
    };
    for (const Case& c : cases) {
        std::vector<int16_t> values(10);
        for (int i = 0; i < 10; i++) values[i] = static_cast<int16_t>(100 * i);
        xm::Song song = small_song();
        song.Instruments[0].Samples[0] = sample_of(values, c.loop, c.start, c.length);
        Module* m = load(xm::write_xm(song));
        ASSERT_NE(m, nullptr);
        const Sample& s = *m->Instruments[0].Samples[0];
        EXPECT_EQ(s.LoopMode, c.mode) << int(c.loop) << " " << c.start << " " << c.length;
        EXPECT_EQ(s.LoopStart, c.want_start);
        EXPECT_EQ(s.LoopLength, c.want_length);
        EXPECT_EQ(s.Data[s.LoopStart + s.LoopLength], c.want_guard);
        free_module(m);
    }
}

TEST(Loader, InstrumentWithoutSamplesUsesTheEmptySample) {
    xm::Song song = small_song();
    song.Instruments.insert(song.Instruments.begin(), xm::Instrument{});
    Module* m = load(xm::write_xm(song));
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->Instruments[0].SampleCount, 0);
    for (const Sample* s : m->Instruments[0].Samples) EXPECT_EQ(s, &EmptySample);
    EXPECT_EQ(m->Instruments[1].Samples[0]->Length, 64u); // the next one still reads
    free_module(m);
}

TEST(Loader, FallsBackOnARestartPastTheEnd) {
    xm::Song song = small_song();
    song.Orders = {0, 0};
    song.RestartPosition = 2;
    Module* m = load(xm::write_xm(song));
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->RestartPosition, 0);
    free_module(m);
}

// Every way a module can be bad that was found: each must fail the load
// cleanly, never read or write out of bounds, loop or allocate without limit.
TEST(Loader, RejectsBadModules) {
    const std::vector<uint8_t> good = xm::write_xm(small_song());
    const size_t instrument = first_instrument(good);
    const size_t sample_header = instrument + 263;

    struct Bad {
        const char* what;
        std::function<void(std::vector<uint8_t>&)> spoil;
    };
    const Bad bad[] = {
        {"wrong id", [](auto& b) { b[9] = 'm'; }},
        {"no channels", [](auto& b) { put_u16(b, 68, 0); }},
        {"33 channels", [](auto& b) { put_u16(b, 68, 33); }},
        {"song length 0", [](auto& b) { put_u16(b, 64, 0); }},
        {"song length 257", [](auto& b) { put_u16(b, 64, 257); }},
        {"257 patterns", [](auto& b) { put_u16(b, 70, 257); }},
        {"129 instruments", [](auto& b) { put_u16(b, 72, 129); }},
        {"speed 0", [](auto& b) { put_u16(b, 76, 0); }},
        {"bpm 0", [](auto& b) { put_u16(b, 78, 0); }},
        {"header size past the end", [](auto& b) { put_u32(b, 60, 0x7FFFFFF0); }},
        {"pattern of 0 rows", [](auto& b) { put_u16(b, 336 + 5, 0); }},
        {"pattern of 257 rows", [](auto& b) { put_u16(b, 336 + 5, 257); }},
        {"packed data past the end", [](auto& b) { put_u16(b, 336 + 7, 0xFFFF); }},
        {"17 samples", [=](auto& b) { put_u16(b, instrument + 27, 17); }},
        {"instrument size past the end", [=](auto& b) { put_u32(b, instrument, 0xFFFFFFF0); }},
        {"sample 2 bytes longer than the file", [=](auto& b) { put_u32(b, sample_header, 130); }},
        {"sample longer than the file", [=](auto& b) { put_u32(b, sample_header, 0x7FFFFFFE); }},
        {"sample far longer than the file",
         [=](auto& b) { put_u32(b, sample_header, 0xFFFFFFFF); }},
    };
    for (const Bad& c : bad) {
        std::vector<uint8_t> bytes = good;
        c.spoil(bytes);
        EXPECT_EQ(load(bytes), nullptr) << c.what;
    }
    Module* m = load(good);
    EXPECT_NE(m, nullptr);
    free_module(m);
}

TEST(Loader, RejectsMalformedEnvelopesInUse) {
    using Points = std::vector<std::pair<uint16_t, uint16_t>>;
    struct Case {
        const char* what;
        Points points;
        uint8_t type, sustain, loop_start, loop_end;
        bool loads;
    };
    const Points ok = {{0, 64}, {10, 32}, {20, 0}};
    Points thirteen;
    for (uint16_t i = 0; i < 13; i++) thirteen.push_back({static_cast<uint16_t>(10 * i), 32});
    const Case cases[] = {
        {"well formed", ok, 1 | 2 | 4, 1, 0, 2, true},
        {"13 points", thirteen, 1, 0, 0, 0, false},
        {"ticks not rising", {{0, 64}, {10, 32}, {10, 0}}, 1, 0, 0, 0, false},
        {"ticks falling", {{0, 64}, {10, 32}, {5, 0}}, 1, 0, 0, 0, false},
        {"value above 64", {{0, 65}, {10, 0}}, 1, 0, 0, 0, false},
        {"sustain past the points", ok, 1 | 2, 3, 0, 0, false},
        {"loop past the points", ok, 1 | 4, 0, 0, 7, false},
        {"off, so not looked at", thirteen, 0, 20, 20, 20, true},
        {"one point: off", {{0, 200}}, 1 | 2, 9, 0, 0, true},
    };
    for (const Case& c : cases) {
        for (bool panning : {false, true}) {
            xm::Song song = small_song();
            xm::Envelope& e =
                panning ? song.Instruments[0].PanningEnvelope : song.Instruments[0].VolumeEnvelope;
            e = {c.points, c.type, c.sustain, c.loop_start, c.loop_end};
            Module* m = load(xm::write_xm(song));
            EXPECT_EQ(m != nullptr, c.loads) << c.what << (panning ? " (panning)" : "");
            free_module(m);
        }
    }
}

TEST(Loader, EveryTruncationFailsCleanly) {
    std::vector<uint8_t> full = xm::write_xm(small_song(2, 4));
    for (const auto& [name, bytes] : seed_modules()) {
        Module* m = load(bytes);
        EXPECT_NE(m, nullptr) << name;
        free_module(m);
    }
    for (size_t n = 0; n < full.size(); n++) {
        std::vector<uint8_t> cut(full.begin(), full.begin() + n);
        EXPECT_EQ(load(cut), nullptr) << n << " of " << full.size() << " bytes";
    }
}

TEST(Loader, FreeingStopsVoicesOnItsSamples) {
    Module* m = load(xm::write_xm(small_song()));
    ASSERT_NE(m, nullptr);
    mixer_open();
    MixerVoices[5].Sample = m->Instruments[0].Samples[0];
    MixerVoices[6].Sample = &EmptySample;
    Mixer.CurrentModule = m;
    EXPECT_TRUE(free_module(m));
    EXPECT_EQ(MixerVoices[5].Sample, nullptr);
    EXPECT_EQ(MixerVoices[6].Sample, &EmptySample);
    EXPECT_EQ(Mixer.CurrentModule, nullptr);
}
