#include "app/tokens.h"

#include <gtest/gtest.h>

#include <string>

using namespace bb;

TEST(Tokens, NumbersArePlainDigits) {
    struct Case {
        std::string text;
        int base;
        int64_t lo, hi;
        bool ok;
        int64_t value;
    };
    const Case cases[] = {
        {"0", 10, 0, 9, true, 0},
        {"1099511627776", 10, 0, INT64_C(1) << 40, true, INT64_C(1) << 40},
        {"1099511627777", 10, 0, INT64_C(1) << 40, false, 0},
        {"99999999999999999999999", 10, 0, INT64_MAX, false, 0},
        {"9223372036854775807", 10, 0, INT64_MAX, true, INT64_MAX},
        {"007", 10, 0, 9, true, 7},
        {"1E", 16, 1, 255, true, 0x1E},
        {"ff", 16, 1, 255, true, 255},
        {"0", 16, 1, 255, false, 0},
        {"", 10, 0, 9, false, 0},
        {" 5", 10, 0, 9, false, 0},
        {"5 ", 10, 0, 9, false, 0},
        {"+5", 10, 0, 9, false, 0},
        {"-0", 10, 0, 9, false, 0},
        {"0x5", 10, 0, 9, false, 0},
        {"0x1E", 16, 1, 255, false, 0},
        {"+1E", 16, 1, 255, false, 0},
        {std::string("5\0x", 3), 10, 0, 9, false, 0},
        {"12", 10, 0, 9, false, 0},
        {"5", 10, 6, 9, false, 0},
    };
    for (const Case& c : cases) {
        int64_t v = -1;
        EXPECT_EQ(parse_digits(c.text, c.base, c.lo, c.hi, v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
}

TEST(Tokens, FractionsAreDigitsAndOneDot) {
    double v = 0;
    EXPECT_TRUE(parse_decimal_fraction("2.5", 0, 3600, v));
    EXPECT_EQ(v, 2.5);
    EXPECT_TRUE(parse_decimal_fraction("3600", 0, 3600, v));
    EXPECT_EQ(v, 3600.0);
    for (const char* bad : {"", "3601", "3600.01", ".5", "5.", "1.2.3", "1e3", "inf", "nan",
                            " 5", "+5", "-1", "0x10", "5,5"})
        EXPECT_FALSE(parse_decimal_fraction(bad, 0, 3600, v)) << bad;
}

TEST(Tokens, QuotesShortAndPrintable) {
    EXPECT_EQ(quote_token("--bogus"), "'--bogus'");
    EXPECT_EQ(quote_token(std::string("a\0b\x1b[2J\xff\\", 9)), "'a\\x00b\\x1b[2J\\xff\\\\'");
    std::string huge(5 << 20, 'k');
    EXPECT_EQ(quote_token(huge), "'" + std::string(QuotedTokenLimit, 'k') + "'...");
    EXPECT_EQ(quote_token(std::string(QuotedTokenLimit, 'k')),
              "'" + std::string(QuotedTokenLimit, 'k') + "'");
}
