// The song's fifteen instruments, synthesised from nothing but arithmetic:
// drums as decaying modes and filtered noise, pitched voices as sums of
// partials whose loop segment repeats without a seam.
#pragma once

#include "xm_writer.h"

#include <vector>

namespace bb::song {

// Instrument numbers as the patterns use them (1-based, as in a cell).
enum InstrumentNumber : uint8_t {
    Odaiko = 1,  // big low drum
    Nagado,      // middle drum
    Shime,       // small tight drum
    Ka,          // drum rim
    Hyoshigi,    // wooden clappers
    Chappa,      // small hand cymbals
    Tebyoshi,    // hand clap
    Kane,        // small bell
    Dora,        // gong
    Shamisen,    // bright plucked lute
    Koto,        // soft plucked zither
    Shakuhachi,  // breathy flute
    Bass,        // low plucked string
    Sho,         // mouth-organ pad
    Horagai,     // conch horn
    InstrumentTotal = Horagai,
};

// All fifteen, in number order.
std::vector<xm::Instrument> make_instruments();

} // namespace bb::song
