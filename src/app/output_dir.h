// The folder a dump writes into.
#pragma once

#include <string>

namespace bb {

// Creates dir (and its parents) when missing. False, with "cannot write
// WHAT to 'DIR': reason" in error, when it is not a usable folder.
bool make_output_dir(const std::string& dir, const char* what, std::string& error);

} // namespace bb
