// SPDX-License-Identifier: GPL-3.0-or-later
// JSON strings and numbers of tolvane-cli, checked by parsing them back, and the terminal
// cells of the table's texts.
#include "app/cli_output.h"
#include "app/cli_table.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

TEST(CliOutput, JsonStringsParseBackToTheirText) {
    struct Case {
        std::string text, literal;
    };
    const Case cases[] = {
        {"", R"("")"},
        {"das Jahr beginnt am 28.1.1998", R"("das Jahr beginnt am 28.1.1998")"},
        {"say \"hi\"", R"("say \"hi\"")"},
        {"C:\\dir", R"("C:\\dir")"},
        {"a\tb\nc\rd", R"("a\tb\nc\rd")"},
        {std::string("\x01\x1f\b\f", 4), R"("\u0001\u001f\b\f")"},
        {"Größe ✓ 子", "\"Größe ✓ 子\""},  // UTF-8 passes through
        {"\x7f", "\"\x7f\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.literal);
        const std::string literal = cli::JsonString(c.text);
        EXPECT_EQ(literal, c.literal);
        EXPECT_EQ(nlohmann::json::parse(literal).get<std::string>(), c.text);
    }
}

TEST(CliOutput, NumbersKeepEveryBit) {
    for (const double x : {2449344.1666666665, 2460301.1666666665, -1930000.25, 0.1, 0.0}) {
        const std::string text = cli::JsonNumber(x);
        EXPECT_EQ(nlohmann::json::parse(text).get<double>(), x) << text;
    }
    EXPECT_EQ(cli::JsonNumber(2449344.1666666665), "2449344.1666666665");
}

TEST(CliOutput, DisplayWidthCountsTerminalCells) {
    const std::pair<std::string, std::size_t> cases[] = {
        {"己  6  fruchtbare Erde", 22},
        {"Größe", 5},
        {"e\u0301", 1},      // a combining accent takes no cell
        {"\U0001F400", 2},   // an emoji is wide
        {"a\xff" "b", 3},    // a stray byte shows as one replacement character
    };
    for (const auto& [text, width] : cases) EXPECT_EQ(cli::DisplayWidth(text), width) << text;
}
