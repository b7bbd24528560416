#include "assets/song.h"
#include "audio/mixer.h"
#include "audio/module_loader.h"
#include "audio/player.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

using namespace bb;

namespace {

struct SongPlaying {
    Module* M;
    explicit SongPlaying(int position) {
        M = load_module_from_memory(SongData, SongSize);
        mixer_open();
        if (M) player_start(*M, position);
        Mixer.CurrentModule = M;
    }
    ~SongPlaying() { free_module(M); }
};

struct Listening {
    double SumSquares = 0;
    int64_t Frames = 0;
    int Peak = 0;
    int64_t Clipped = 0;
    uint64_t Hash = 1469598103934665603ull;
    void block() {
        const int16_t* b =
            MixRing +
            size_t((Mixer.WritePosition + RingBlockCount - 1) % RingBlockCount) * BlockFrames * 2;
        for (int i = 0; i < 2 * BlockFrames; i++) {
            const int v = b[i];
            SumSquares += double(v) * v;
            Peak = std::max(Peak, std::abs(v));
            if (v >= 32767 || v <= -32768) Clipped++;
            Hash = (Hash ^ static_cast<uint16_t>(v)) * 1099511628211ull;
        }
        Frames += BlockFrames;
    }
    double rms() const { return std::sqrt(SumSquares / (2.0 * Frames)); }
};

Listening listen(int position, double seconds) {
    SongPlaying p(position);
    Listening l;
    if (!p.M) return l;
    const int blocks = static_cast<int>(seconds * OutputRate / BlockFrames);
    for (int i = 0; i < blocks; i++) {
        mix_block();
        l.block();
    }
    return l;
}

} // namespace

TEST(Song, HasTheShapeTheGameNeeds) {
    SongPlaying p(3);
    ASSERT_NE(p.M, nullptr);
    const Module& m = *p.M;
    EXPECT_EQ(m.ChannelCount, 16);
    EXPECT_EQ(SongData[70] | SongData[71] << 8, 9); // stored patterns
    EXPECT_EQ(m.PatternSlotCount, 9);
    EXPECT_EQ(m.InstrumentCount, 15);
    EXPECT_EQ(m.Flags, ModuleLinearFrequencies);
    EXPECT_EQ(m.DefaultSpeed, 8);
    EXPECT_EQ(m.DefaultBpm, 160);
    EXPECT_EQ(m.SamplesPerTick, 689);
    EXPECT_EQ(m.SongLength, 10);
    EXPECT_EQ(m.RestartPosition, 0);
    const uint8_t orders[] = {6, 4, 0, 1, 2, 3, 7, 5, 3, 8};
    for (int i = 0; i < 10; i++) EXPECT_EQ(m.OrderTable[i], orders[i]) << i;
    for (int i = 0; i < 15; i++) {
        ASSERT_GE(m.Instruments[i].SampleCount, 1) << i;
        EXPECT_GT(m.Instruments[i].Samples[0]->Length, 0u) << i;
    }
}

TEST(Song, CuePositionsStartTheirPatternsWithMusic) {
    struct Cue {
        int position, pattern;
    };
    for (Cue cue : {Cue{3, 1}, Cue{6, 7}, Cue{9, 8}}) {
        SongPlaying p(cue.position);
        ASSERT_NE(p.M, nullptr);
        mix_block();
        EXPECT_EQ(p.M->SongPosition, cue.position);
        EXPECT_EQ(p.M->OrderTable[cue.position], cue.pattern);
        int notes = 0;
        for (int c = 0; c < 16; c++) notes += p.M->Patterns[cue.pattern].Cells[c].Note != 0;
        EXPECT_GE(notes, 3) << "row 0 of pattern " << cue.pattern;
        Listening first = listen(cue.position, 1.0);
        EXPECT_GT(first.rms(), 1000.0) << "position " << cue.position;
    }
}

// The whole loop and a bit: music throughout, never clipped, the same every time.
TEST(Song, PlaysItsWholeLoopCleanlyAndTheSameEachTime) {
    const Listening a = listen(0, 125.0);
    EXPECT_EQ(a.Clipped, 0);
    EXPECT_LT(a.Peak, 32000);
    EXPECT_GT(a.rms(), 2000.0);
    for (int position = 0; position < 10; position++)
        EXPECT_GT(listen(position, 4.0).rms(), 700.0) << "position " << position;
    EXPECT_EQ(listen(0, 125.0).Hash, a.Hash);
}
