#include "app/tokens.h"

#include <cstdlib>

namespace bb {

static int digit_value(char c, int base) {
    if (c >= '0' && c <= '9') return c - '0';
    if (base == 16 && c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (base == 16 && c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool parse_digits(std::string_view text, int base, int64_t lo, int64_t hi, int64_t& out) {
    if (text.empty() || (base != 10 && base != 16)) return false;
    int64_t v = 0;
    for (char c : text) {
        int d = digit_value(c, base);
        if (d < 0) return false;
        // Past hi is out of range however many digits follow, and stopping
        // there keeps v from overflowing.
        if (d > hi || v > (hi - d) / base) return false;
        v = v * base + d;
    }
    if (v < lo) return false;
    out = v;
    return true;
}

bool parse_decimal_fraction(std::string_view text, double lo, double hi, double& out) {
    size_t dot = text.find('.');
    std::string_view whole = text.substr(0, dot);
    std::string_view fraction = dot == std::string_view::npos ? "" : text.substr(dot + 1);
    auto all_digits = [](std::string_view s) {
        for (char c : s)
            if (c < '0' || c > '9') return false;
        return true;
    };
    if (whole.empty() || !all_digits(whole) || !all_digits(fraction)) return false;
    if (dot != std::string_view::npos && fraction.empty()) return false;
    // Digits and one dot only: strtod reads exactly these, in any locale the
    // game runs in (it never calls setlocale).
    std::string digits(text);
    double v = std::strtod(digits.c_str(), nullptr);
    if (!(v >= lo && v <= hi)) return false;
    out = v;
    return true;
}

std::string quote_token(std::string_view text) {
    static const char Hex[] = "0123456789abcdef";
    std::string q = "'";
    size_t shown = text.size() < QuotedTokenLimit ? text.size() : QuotedTokenLimit;
    for (size_t i = 0; i < shown; i++) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\\') {
            q += "\\\\";
        } else if (c >= 0x20 && c < 0x7F) {
            q += static_cast<char>(c);
        } else {
            q += "\\x";
            q += Hex[c >> 4];
            q += Hex[c & 15];
        }
    }
    q += '\'';
    if (shown < text.size()) q += "...";
    return q;
}

} // namespace bb
