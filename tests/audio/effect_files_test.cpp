#include "audio/effect_files.h"
#include "audio/effect_wave.h"
#include "audio/sound_effects.h"
#include "platform/audio.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace bb;

namespace {

std::vector<int16_t> decode(int effect) {
    EffectWave w;
    std::string error;
    EXPECT_TRUE(read_effect_wave(EffectFiles[effect].Bytes, EffectFiles[effect].Size, w, error))
        << error;
    std::vector<int16_t> pcm(size_t(w.SampleCount));
    EXPECT_TRUE(decode_effect_wave(w, pcm.data()));
    return pcm;
}

TEST(EffectFiles, TheSevenDecodeToTheirRatesAndLengths) {
    const struct {
        int Rate, DataBytes, Samples;
    } table[] = {{44100, 1690, 8320},  {22050, 1300, 6400}, {44100, 1690, 8320},
                 {44100, 2600, 12800}, {44100, 1365, 6720}, {11025, 1820, 8960},
                 {44100, 1625, 8000}};
    EXPECT_EQ(EffectFiles[0].Bytes, EffectFiles[2].Bytes);
    for (int e = 0; e < 7; e++) {
        EffectWave w;
        std::string error;
        ASSERT_TRUE(read_effect_wave(EffectFiles[e].Bytes, EffectFiles[e].Size, w, error)) << error;
        EXPECT_EQ(w.Rate, table[e].Rate) << e;
        EXPECT_EQ(w.BlockCount * GsmBlockBytes, table[e].DataBytes) << e;
        const std::vector<int16_t> pcm = decode(e);
        EXPECT_EQ(int(pcm.size()), table[e].Samples) << e;
        int peak = 0;
        for (int16_t x : pcm) peak = std::max(peak, std::abs(int(x)));
        EXPECT_GT(peak, 8000) << "effect " << e << " is nearly silent";
        // After "data" and its pad byte comes the LIST chunk.
        const uint32_t list = 60 + w.BlockCount * GsmBlockBytes + (w.BlockCount & 1);
        ASSERT_LT(list + 4, EffectFiles[e].Size);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(EffectFiles[e].Bytes) + list, 4),
                  "LIST");
    }
}

// sox decodes GSM 6.10 in WAVE with its own copy of the codec.
TEST(EffectFiles, SoxDecodesThemToTheSameSamples) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("brawlbox_sox_" + std::to_string(getpid()));
    fs::create_directories(dir);
    for (int e = 0; e < 7; e++) {
        const fs::path wav = dir / ("effect" + std::to_string(e) + ".wav");
        const fs::path raw = dir / ("effect" + std::to_string(e) + ".raw");
        std::ofstream(wav, std::ios::binary)
            .write(reinterpret_cast<const char*>(EffectFiles[e].Bytes), EffectFiles[e].Size);
        const std::string command = "sox -q '" + wav.string() +
                                    "' -t raw -e signed-integer -b 16 -L '" + raw.string() + "'";
        ASSERT_EQ(std::system(command.c_str()), 0)
            << command << " failed (scripts/install-deps installs sox)";
        std::ifstream in(raw, std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
        const std::vector<int16_t> ours = decode(e);
        ASSERT_EQ(bytes.size(), ours.size() * 2) << e;
        for (size_t k = 0; k < ours.size(); k++) {
            const int16_t theirs = int16_t(uint8_t(bytes[2 * k]) | uint8_t(bytes[2 * k + 1]) << 8);
            ASSERT_EQ(theirs, ours[k]) << "effect " << e << " sample " << k;
        }
    }
    fs::remove_all(dir);
}

TEST(EffectFiles, ATruncatedEffectIsRejectedAndStaysSilent) {
    sound_effects_reset();
    std::string error;
    EXPECT_FALSE(load_effect_file(3, EffectFiles[3].Bytes, EffectFiles[3].Size / 2, error));
    EXPECT_NE(error.find("RIFF size"), std::string::npos) << error;
    ASSERT_TRUE(load_effect_file(6, EffectFiles[6].Bytes, EffectFiles[6].Size, error)) << error;
    SoundEffects.EffectsReady = 1;
    EXPECT_EQ(play_sound_effect(3, 1.0f, 1.0f, 0), -1);
    EXPECT_EQ(play_sound_effect(6, 1.0f, 1.0f, 0), 0);
    sound_effects_reset();
}

} // namespace
