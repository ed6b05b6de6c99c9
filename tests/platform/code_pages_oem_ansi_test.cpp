// SPDX-License-Identifier: GPL-3.0-or-later
// The DOS/Windows conversions of the notes editor: DOS bytes read as Windows text come out
// right and go back exactly, look-alikes for what a code page lacks, and the pieces a long
// line goes through.
#include "platform/code_pages_oem_ansi.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/code_pages.h"
#include "platform/cp1252.h"

namespace {

using platform::ConvertAnsiToOem;
using platform::ConvertOemToAnsi;

// A DOS file's bytes as the editor shows them after reading them as Windows-1252.
std::u16string ReadAsWindows(std::initializer_list<unsigned char> bytes) {
    std::u16string text;
    for (const unsigned char b : bytes)
        text += static_cast<char16_t>(platform::Cp1252ByteToCodePoint(b));
    return text;
}

TEST(OemAnsi, GermanDosLettersBothWays) {
    const std::u16string dos = ReadAsWindows({0x84, 0x20, 0x94, 0x20, 0x81, 0x20, 0xE1, 0x20,
                                              0x8E, 0x20, 0x99, 0x20, 0x9A});
    EXPECT_EQ(dos, u"„ ” \u0081 á Ž ™ š");
    const std::u16string windows = ConvertOemToAnsi(dos);
    EXPECT_EQ(windows, u"ä ö ü ß Ä Ö Ü");
    EXPECT_EQ(ConvertAnsiToOem(windows), dos);
}

// Every DOS byte, box drawing included, comes out as its code-page-850 character and goes
// back to the character it was read as; the lower half (control codes too) stays.
TEST(OemAnsi, EveryDosByteRoundTrips) {
    for (int b = 0; b < 256; ++b) {
        const std::u16string dos = ReadAsWindows({static_cast<unsigned char>(b)});
        const std::u16string windows = ConvertOemToAnsi(dos);
        ASSERT_EQ(windows.size(), 1u) << b;
        EXPECT_EQ(char32_t(windows[0]), platform::CodePageByteToCodePoint(850, b)) << b;
        EXPECT_EQ(ConvertAnsiToOem(windows), dos) << b;
        if (b < 0x80) {
            EXPECT_EQ(windows, dos) << b;
        }
    }
    EXPECT_EQ(ConvertOemToAnsi(u"\u00C4\u00CD\u00BA"), u"─═║");  // DOS 0xC4 0xCD 0xBA
}

TEST(OemAnsi, LookAlikesThenQuestionMarks) {
    const struct {
        const char* name;
        std::u16string in;
        std::u16string oemToAnsi;
        std::u16string ansiToOem;
    } cases[] = {
        // Windows-1252 best fit first (ā → a, Ω → O, fullwidth A → A), read as 850.
        {"best fit into 1252", u"āΩＡ", u"aOA", u"???"},
        // Typographic quotes and dashes into 850; "“" is 1252's 0x93, 850's "ô".
        {"quotes and dashes", u"“x” ‘y’ –—", u"ôxö æyÆ ûù", u"\"x\" 'y' --"},
        {"neither has it", u"甲€", u"?Ç", u"??"},
        {"beyond U+FFFF", u"a😀b", u"a??b", u"a??b"},
        {"NUL inside the line", std::u16string(u"a\0„b", 4), std::u16string(u"a\0äb", 4),
         std::u16string(u"a\0\"b", 4)},
        {"empty", u"", u"", u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ConvertOemToAnsi(c.in), c.oemToAnsi);
        EXPECT_EQ(ConvertAnsiToOem(c.in), c.ansiToOem);
    }
}

TEST(OemAnsi, LongLinesGoThroughPiecesOf999) {
    const struct {
        std::size_t length;
        std::vector<std::size_t> pieces;
    } cases[] = {{0, {0}}, {1, {1}}, {999, {999}}, {1000, {999, 1}}, {2500, {999, 999, 502}}};
    for (const auto& c : cases) {
        std::u16string line;
        for (std::size_t i = 0; i < c.length; ++i) line += (i % 2) ? u'„' : u'\u00C4';
        std::vector<std::size_t> pieces;
        platform::ForEachConversionPiece(line, [&](std::u16string_view p) { pieces.push_back(p.size()); });
        EXPECT_EQ(pieces, c.pieces) << c.length;
        // Every character converted, across the pieces' borders, and none added or lost.
        const std::u16string converted = ConvertOemToAnsi(line);
        ASSERT_EQ(converted.size(), c.length);
        for (std::size_t i = 0; i < c.length; ++i)
            ASSERT_EQ(converted[i], (i % 2) ? u'ä' : u'─') << c.length << " at " << i;
        EXPECT_EQ(ConvertAnsiToOem(converted), line);
    }
}

}  // namespace
