// Small modules for the loader's tests and the fuzzer's seeds, built with
// the same writer as the game's song.
#pragma once

#include "xm_writer.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace bb::fixtures {

// A 16-bit sample of the given values.
xm::Sample sample_of(std::vector<int16_t> values, uint8_t loop = xm::NoLoop,
                     uint32_t loop_start = 0, uint32_t loop_length = 0);
// An instrument whose every note plays sample 0.
xm::Instrument instrument_of(xm::Sample sample);
// A valid song: channels, one empty pattern of rows per order entry 0, speed
// 8 at BPM 160, linear frequencies and one instrument with a looped 16-bit
// sample of 64 values.
xm::Song small_song(int channels = 2, int rows = 4);

// Named modules that between them reach every part of the loader: fuzzing
// starts from these.
std::vector<std::pair<std::string, std::vector<uint8_t>>> seed_modules();

} // namespace bb::fixtures
