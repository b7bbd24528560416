// Reading and quoting what a user typed: the command line's values and the
// input script's words. Numbers are plain digits (no sign, no spaces, no
// prefix), so " 5", "+5" and "5\0x" are refused rather than read as 5.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace bb {

// A whole number of digits of base 10 or 16 in [lo, hi], nothing else.
bool parse_digits(std::string_view text, int base, int64_t lo, int64_t hi, int64_t& out);

// Digits with at most one '.' between digits ("2", "2.5"), as a double in
// [lo, hi]; "inf", "1e3", ".5" and "5." are refused.
bool parse_decimal_fraction(std::string_view text, double lo, double hi, double& out);

// Longest part of a bad token an error message shows.
constexpr size_t QuotedTokenLimit = 60;

// The token in single quotes for an error message: at most QuotedTokenLimit
// of its bytes, bytes outside printable ASCII and the backslash escaped as
// \xNN and \\, and "..." after the quote when it was cut short.
std::string quote_token(std::string_view text);

} // namespace bb
