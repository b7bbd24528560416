#include "audio/mixer.h"
#include "audio/module_loader.h"
#include "audio/player.h"
#include "xm_fixtures.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace bb;
using namespace bb::fixtures;

namespace {

// One channel playing the given rows; instrument 1 is a looped 16-bit sample
// of 1000 values, instrument 2 has no samples.
xm::Song song_of(const std::vector<xm::Cell>& rows) {
    xm::Song song = small_song(1, static_cast<int>(rows.size()));
    song.Patterns[0].Cells = rows;
    std::vector<int16_t> ramp(1000);
    for (int i = 0; i < 1000; i++) ramp[i] = static_cast<int16_t>(i * 30 - 15000);
    song.Instruments[0].Samples[0] = sample_of(ramp, xm::ForwardLoop, 0, 1000);
    song.Instruments.push_back(xm::Instrument{});
    return song;
}

struct Playing {
    Module* M;
    explicit Playing(const xm::Song& song, int position = 0) {
        const std::vector<uint8_t> bytes = xm::write_xm(song);
        M = load_module_from_memory(bytes.data(), static_cast<uint32_t>(bytes.size()));
        if (!M) throw std::runtime_error("fixture does not load");
        mixer_open();
        player_start(*M, position);
        Mixer.CurrentModule = M;
    }
    ~Playing() { free_module(M); }
    Channel& ch() { return M->Channels[0]; }
    MixerVoice& voice() { return MixerVoices[M->Channels[0].Voice]; }
    void ticks(int n) {
        for (int i = 0; i < n; i++) player_tick(*M);
    }
};

constexpr uint8_t C4 = 49;

} // namespace

TEST(Player, MiddleCPlaysTheSampleAt8363Hz) {
    Playing p(song_of({{C4, 1}}));
    EXPECT_EQ(p.M->SamplesPerTick, 689);
    p.ticks(1);
    EXPECT_EQ(p.ch().Period, 4608);
    EXPECT_EQ(p.voice().Frequency, 8363);
    EXPECT_EQ(p.voice().StepInteger, 0u);
    EXPECT_EQ(p.voice().StepFraction, static_cast<uint32_t>((uint64_t(8363) << 32) / 44100));
    EXPECT_EQ(p.voice().Volume, 127);
    EXPECT_EQ(p.voice().Left, 127 * 128 / 255);
    EXPECT_EQ(p.voice().Right, 127 * 127 / 255);
}

TEST(Player, SpeedAndBpmEffect) {
    xm::Song song = song_of({{0, 0, 0, 0xF, 0x14}, {0, 0, 0, 0xF, 0xA0}, {0, 0, 0, 0xF, 0x00}});
    song.Bpm = 125;
    Playing p(song);
    EXPECT_EQ(p.M->SamplesPerTick, 882);
    p.ticks(1);
    EXPECT_EQ(p.M->Speed, 20);
    p.ticks(20);
    EXPECT_EQ(p.M->Row, 1);
    EXPECT_EQ(p.M->Bpm, 160);
    EXPECT_EQ(p.M->SamplesPerTick, 689);
    p.ticks(20);
    EXPECT_EQ(p.M->Row, 2);
    EXPECT_EQ(p.M->Speed, 20); // F00 would stop the song: ignored
}

TEST(Player, SetBpm) {
    Module m = {};
    struct Case {
        int bpm, frames;
    };
    for (Case c : {Case{160, 689}, Case{125, 882}, Case{32, 3445}, Case{255, 432}}) {
        set_bpm(m, c.bpm);
        EXPECT_EQ(m.SamplesPerTick, c.frames) << c.bpm;
    }
    set_bpm(m, 0);
    EXPECT_EQ(m.Bpm, 255);
}

TEST(Player, PortamentoActsOnLaterTicksOnly) {
    Playing up(song_of({{C4, 1, 0, 0x1, 0xFF}, {0, 0, 0, 0x1, 0}, {0, 0, 0, 0x1, 0}}));
    up.ticks(1);
    EXPECT_EQ(up.ch().Period, 4608);
    up.ticks(1);
    EXPECT_EQ(up.ch().Period, 4608 - 1020);
    up.ticks(22);
    EXPECT_EQ(up.ch().Period, 56); // never below

    Playing down(song_of({{C4, 1, 0, 0x2, 0xFF}}));
    down.ticks(8);
    EXPECT_EQ(down.ch().Period, 4608 + 7 * 1020); // no limit at 7680

    Playing fine(song_of({{C4, 1, 0, 0xE, 0x23}, {0, 0, 0, 0xE, 0x20}}));
    fine.ticks(1);
    EXPECT_EQ(fine.ch().Period, 4608 + 12);
    fine.ticks(8); // only on tick 0, from memory on the next row
    EXPECT_EQ(fine.ch().Period, 4608 + 24);
}

TEST(Player, TonePortamentoSlidesWithoutRetriggering) {
    Playing p(song_of({{C4, 1}, {C4 + 12, 0, 0, 0x3, 0x10}}));
    p.ticks(8);
    const int voice = p.ch().Voice;
    p.ticks(1);
    EXPECT_EQ(p.ch().Voice, voice);
    EXPECT_EQ(p.ch().Period, 4608);
    EXPECT_EQ(p.ch().TonePortaTarget, 4608 - 768);
    p.ticks(7);
    EXPECT_EQ(p.ch().Period, 4608 - 7 * 64);
}

TEST(Player, ArpeggioCyclesOnLaterTicks) {
    Playing p(song_of({{C4, 1, 0, 0x0, 0x37}}));
    const int expected[] = {0, 192, 448, 0, 192};
    for (int t = 0; t < 5; t++) {
        p.ticks(1);
        EXPECT_EQ(p.ch().PeriodDelta, expected[t]) << "tick " << t;
    }
    p.ticks(1); // tick 5: 5 mod 3 = 2
    EXPECT_EQ(p.voice().Frequency, static_cast<int>(8363 * std::exp2(448 / 768.0)));
}

TEST(Player, VibratoMovesOnLaterTicks) {
    Playing p(song_of({{C4, 1, 0, 0x4, 0x48}}));
    p.ticks(2);
    EXPECT_EQ(p.ch().PeriodDelta, 0);
    EXPECT_EQ(p.ch().VibratoPosition, 4);
    p.ticks(1);
    // |sin(4 pi / 32)| * 256 = 97; 97 * 8 >> 5 = 24
    EXPECT_EQ(p.ch().PeriodDelta, -24);
}

TEST(Player, NoteDelayHoldsTheWholeCell) {
    Playing p(song_of({{C4, 1, 0x30, 0xE, 0xD3}}));
    for (int t = 0; t < 3; t++) {
        p.ticks(1);
        EXPECT_EQ(p.voice().Sample, nullptr) << "tick " << t;
        EXPECT_EQ(p.voice().Volume, 0);
    }
    p.ticks(1);
    EXPECT_NE(p.voice().Sample, nullptr);
    EXPECT_EQ(p.voice().Frequency, 8363);
    EXPECT_EQ(p.ch().Volume, 32);
}

TEST(Player, Retrigger) {
    Playing p(song_of({{C4, 1, 0x30, 27, 0x95}, {0, 0, 0, 27, 0x00}, {0, 0, 0, 27, 0x90}}));
    p.ticks(5);
    EXPECT_EQ(p.ch().Volume, 32);
    EXPECT_EQ(p.ch().Voice, 0);
    p.ticks(1); // tick 5
    EXPECT_EQ(p.ch().Volume, 33);
    EXPECT_EQ(p.ch().Voice, 32); // the old note ramps out on voice 0
    EXPECT_EQ(MixerVoices[0].Left, 0);
    p.ticks(2 + 6); // R00 on the next row remembers 9, 5
    EXPECT_EQ(p.ch().Volume, 34);
    EXPECT_EQ(p.ch().Voice, 0);
    p.ticks(2 + 8); // R90: an interval of 0 never retriggers
    EXPECT_EQ(p.ch().Volume, 34);
    EXPECT_EQ(p.ch().Voice, 0);
}

TEST(Player, VolumeColumnAndNoteCut) {
    Playing slide(song_of({{C4, 1, 0x65}}));
    slide.ticks(1);
    EXPECT_EQ(slide.ch().Volume, 59); // tick 0 too
    slide.ticks(7);
    EXPECT_EQ(slide.ch().Volume, 24);

    Playing fine(song_of({{C4, 1, 0x85}}));
    fine.ticks(8);
    EXPECT_EQ(fine.ch().Volume, 59); // tick 0 only

    Playing cut(song_of({{C4, 1, 0, 0xE, 0xC2}}));
    cut.ticks(2);
    EXPECT_EQ(cut.ch().Volume, 64);
    cut.ticks(1);
    EXPECT_EQ(cut.ch().Volume, 0);
    EXPECT_EQ(cut.voice().Volume, 0);
}

TEST(Player, SampleOffset) {
    Playing p(song_of({{C4, 1, 0, 0x9, 0x02}, {C4, 1, 0, 0x9, 0x10}}));
    p.ticks(1);
    EXPECT_EQ(p.voice().Position, 512u);
    MixerVoices[p.ch().Voice].Position = 700;
    p.ticks(8); // 4096 is past the sample: no new note, the old one restarts
    EXPECT_EQ(p.voice().Position, 0u);
}

TEST(Player, KeyOff) {
    // Without a volume envelope the note falls silent at once.
    Playing plain(song_of({{C4, 1}, {97}}));
    plain.ticks(8);
    EXPECT_EQ(plain.voice().Volume, 127);
    plain.ticks(1);
    EXPECT_EQ(plain.voice().Volume, 0);
    EXPECT_EQ(plain.voice().Left, 0);

    // With one, the sustain point lets go and the fadeout runs.
    xm::Song song = song_of({{C4, 1}, {97}});
    xm::Instrument& ins = song.Instruments[0];
    ins.VolumeEnvelope = {{{0, 64}, {2, 48}, {10, 16}}, 1 | 2, 1, 0, 0};
    ins.Fadeout = 1000;
    Playing env(song);
    env.ticks(8);
    EXPECT_EQ(env.ch().VolumeEnvelope.Output, 48); // held at the sustain point
    EXPECT_EQ(env.ch().Fadeout, 65536);
    env.ticks(1);
    EXPECT_EQ(env.ch().Fadeout, 65536 - 2000);
    EXPECT_EQ(env.ch().VolumeEnvelope.Output, 48);
    env.ticks(2);
    EXPECT_EQ(env.ch().Fadeout, 65536 - 6000);
    EXPECT_EQ(env.ch().VolumeEnvelope.Output, 48 - 2 * 4);
    EXPECT_GT(env.voice().Volume, 0);
}

TEST(Player, AnInstrumentWithoutSamplesIsSilent) {
    Playing p(song_of({{C4, 2, 0x40}}));
    for (int i = 0; i < 3; i++) mix_block();
    for (int i = 0; i < 3 * BlockFrames * 2; i++) ASSERT_EQ(MixRing[i], 0) << i;
    EXPECT_EQ(p.voice().Sample, nullptr);
}

TEST(Player, SongLoopsToTheRestartPosition) {
    xm::Song song = song_of({{}});
    song.Speed = 1;
    song.Orders = {0, 0, 0};
    song.RestartPosition = 1;
    Playing p(song, 9); // past the end: starts at 0
    const int expected[] = {0, 1, 2, 1, 2, 1};
    for (int position : expected) {
        p.ticks(1);
        EXPECT_EQ(p.M->SongPosition, position);
    }
}
