// SPDX-License-Identifier: GPL-3.0-or-later
// Tests of the whole-number conversion: accepted spellings, the int32 limits, rejected text.
#include "platform/int_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Accepted {
    const char* text;
    std::int32_t value;
};

TEST(TryStrToInt, AcceptsBlanksSignsAndEveryHexPrefix) {
    const Accepted cases[] = {
        {"0", 0},           {"7", 7},               {"007", 7},          {"-0", 0},
        {"+42", 42},        {"-42", -42},           {" 12", 12},         {"\t12", 12},
        {" \t -3", -3},     {"$1F", 31},            {"$1f", 31},         {"x1F", 31},
        {"X1f", 31},        {"0x1F", 31},           {"0X1f", 31},        {"-$1F", -31},
        {"+$1F", 31},       {"-0x10", -16},         {"-x10", -16},       {"$0", 0},
        {"0x0", 0},         {"$abcdef", 0xABCDEF},  {"$ABCDEF", 0xABCDEF},
        {"$7FFFFFFF", 2147483647},                  {"$FFFFFFFF", -1},
        {"$80000000", -2147483647 - 1},             {"-$1", -1},
        {"-$FFFFFFFF", 1},  {"-$80000000", -2147483647 - 1},
        {"$0000000000FF", 255},  // leading zeros add no bits
        {"2147483647", 2147483647},                 {"+2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},           {"-2147483647", -2147483647},
        {"0000000000000000000000002147483647", 2147483647},
        {"-000000000000000000000000000000001", -1},
    };
    for (const auto& c : cases) {
        std::int32_t v = 12345;
        EXPECT_TRUE(platform::TryStrToInt(c.text, v)) << '"' << c.text << '"';
        EXPECT_EQ(v, c.value) << '"' << c.text << '"';
        EXPECT_EQ(platform::StrToIntOpt(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(TryStrToInt, RejectsMalformedTextAndLeavesValueUntouched) {
    const char* const cases[] = {
        "", " ", "\t ", "+", "-", " -", "+-1", "--1", "$", "x", "0x", "-$", "-0x", "$ 1",
        "0x 1", "$G", "0xFG", "12a", "1.5", "1e3", "1,5", "1 2", "12 ", "12\t", "- 1",
        "$-1", "0$1", "00x1", "$$1", "0b101", "\n12", "12\n", "abc", "¹",
        // Overflow, right at the limits and far past them.
        "2147483648", "-2147483649", "4294967296", "99999999999999999999999999",
        "-99999999999999999999999999", "$100000000", "-$100000000", "0x1FFFFFFFF",
        "$FFFFFFFFFFFFFFFFFFFF",
    };
    for (const char* text : cases) {
        std::int32_t v = 12345;
        EXPECT_FALSE(platform::TryStrToInt(text, v)) << '"' << text << '"';
        EXPECT_EQ(v, 12345) << '"' << text << '"';
        EXPECT_FALSE(platform::StrToIntOpt(text).has_value()) << '"' << text << '"';
    }
}

TEST(TryStrToInt, OnlyTheGivenViewIsConverted) {
    // The view may point into a longer buffer; the characters after it must not count.
    const std::string buffer = "123x";
    std::int32_t v = 0;
    EXPECT_TRUE(platform::TryStrToInt(std::string_view(buffer).substr(0, 3), v));
    EXPECT_EQ(v, 123);
    const std::string embedded("1\0" "2", 3);
    EXPECT_FALSE(platform::TryStrToInt(embedded, v));
    EXPECT_EQ(v, 123);
}

TEST(TryStrToInt, RoundTripsDecimalTextAcrossTheRange) {
    for (std::int64_t x = -2147483648LL; x <= 2147483647LL; x += 65537 * 257 + 11) {
        std::int32_t v = 0;
        ASSERT_TRUE(platform::TryStrToInt(std::to_string(x), v)) << x;
        EXPECT_EQ(v, x);
    }
}

}  // namespace
