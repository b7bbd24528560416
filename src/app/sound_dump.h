// `--dump-sounds DIR`: the embedded effect files as they are stored.
#pragma once

#include <string>

namespace bb {

// Writes DIR/effect0.wav ... effect6.wav, creating DIR if needed. On failure
// returns false with one line in error.
bool dump_sounds(const std::string& dir, std::string& error);

} // namespace bb
