// SPDX-License-Identifier: GPL-3.0-or-later
// The tokenizer alone, on the edges the reader relies on.
#include "editor/formats/rtf_tokenizer.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace {

using editor::RtfTokenizer;
using editor::RtfTokenKind;

// The tokens of `bytes`, one a line: {  }  \nameN  sym X  hex N  hex?  bin "…"  "…".
std::string Tokens(std::string_view bytes) {
    RtfTokenizer tokenizer(bytes);
    std::string out;
    for (int guard = 0; guard < 100; ++guard) {
        const editor::RtfToken t = tokenizer.next();
        const std::string text(t.text);
        switch (t.kind) {
        case RtfTokenKind::End: return out;
        case RtfTokenKind::GroupOpen: out += "{\n"; continue;
        case RtfTokenKind::GroupClose: out += "}\n"; continue;
        case RtfTokenKind::ControlWord: out += '\\' + text; break;
        case RtfTokenKind::ControlSymbol: out += std::string("sym ") + t.symbol; break;
        case RtfTokenKind::HexByte: out += t.hasParameter ? "hex " : "hex?"; break;
        case RtfTokenKind::Binary: out += "bin \"" + text + '"'; break;
        case RtfTokenKind::Text: out += '"' + text + '"'; break;
        }
        if (t.hasParameter && t.kind != RtfTokenKind::Binary) out += std::to_string(t.parameter);
        out += '\n';
    }
    return out + "no end";
}

TEST(RtfTokenizer, SplitsTheBytesAsTheReaderNeedsThem) {
    const struct {
        std::string_view bytes;
        std::string_view tokens;
    } cases[] = {
        {"{\\rtf1\\ansi x}", "{\n\\rtf1\n\\ansi\n\"x\"\n}\n"},
        // Parameters: signed, cut at the end of input, capped; a "-" without digits is text.
        {"\\li-720 x", "\\li-720\n\"x\"\n"},
        {"\\f-x", "\\f\n\"-x\"\n"},
        {"\\fs2", "\\fs2\n"},
        {"\\fs-", "\\fs\n\"-\"\n"},
        {"\\u10000000000000000000?", "\\u2147483647\n\"?\"\n"},
        {"\\u-99999999999?", "\\u-2147483647\n\"?\"\n"},
        {"\\u8364?", "\\u8364\n\"?\"\n"},
        // One blank after a control word belongs to it; the next one is text.
        {"\\b abc", "\\b\n\"abc\"\n"},
        {"\\b0  abc", "\\b0\n\" abc\"\n"},
        {"\\par\r\n x", "\\par\n\" x\"\n"},
        // \'hh: upper and lower case; damaged, the byte that is no digit is text again.
        {"\\'e4\\'C3x", "hex 228\nhex 195\n\"x\"\n"},
        {"\\'4xy", "hex?\n\"xy\"\n"},
        {"\\'g4", "hex?\n\"g4\"\n"},
        {"\\'e", "hex?\n"},
        {"\\'", "hex?\n"},
        // \bin: its data is never braces or words, and ends with the input.
        {"\\bin3 {\\}x}", "bin \"{\\}\"\n\"x\"\n}\n"},
        {"\\bin10 ab", "bin \"ab\"\n"},
        {"\\bin-3 x", "bin \"\"\n\"x\"\n"},
        // Control symbols; \\, \{ and \} are text.
        {"\\~\\*\\-\\_\\|", "sym ~\nsym *\nsym -\nsym _\nsym |\n"},
        {"a\\\\b\\{\\}", "\"a\"\n\"\\\"\n\"b\"\n\"{\"\n\"}\"\n"},
        {"\\\nx\\\ry", "sym \n\n\"x\"\nsym \r\n\"y\"\n"},
        // Line ends and NUL bytes are dropped; a backslash at the end is nothing.
        {"a\r\nb\n\rc", "\"a\"\n\"b\"\n\"c\"\n"},
        {std::string_view("a\0b", 3), "\"a\"\n\"b\"\n"},
        {"a\\", "\"a\"\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(Tokens(c.bytes), c.tokens) << c.bytes;
}

}  // namespace
