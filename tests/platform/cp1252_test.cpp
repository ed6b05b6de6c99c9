// SPDX-License-Identifier: GPL-3.0-or-later
// Tests of the Windows-1252 conversion: the code page's table, round trips, bad UTF-8.
#include "platform/cp1252.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using platform::Cp1252ToUtf8;
using platform::Utf8ToCp1252;

TEST(Cp1252, EveryByteSurvivesARoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    const std::string utf8 = Cp1252ToUtf8(all);
    EXPECT_EQ(Utf8ToCp1252(utf8), all);
    for (int b = 0; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(one)), one) << b;
    }
}

TEST(Cp1252, UpperHalfFollowsMicrosoftsTable) {
    struct Case {
        unsigned char byte;
        const char* utf8;
    };
    const Case cases[] = {
        {0x80, "€"}, {0x82, "‚"}, {0x83, "ƒ"}, {0x84, "„"}, {0x85, "…"}, {0x86, "†"},
        {0x87, "‡"}, {0x88, "ˆ"}, {0x89, "‰"}, {0x8A, "Š"}, {0x8B, "‹"}, {0x8C, "Œ"},
        {0x8E, "Ž"}, {0x91, "‘"}, {0x92, "’"}, {0x93, "“"}, {0x94, "”"}, {0x95, "•"},
        {0x96, "–"}, {0x97, "—"}, {0x98, "˜"}, {0x99, "™"}, {0x9A, "š"}, {0x9B, "›"},
        {0x9C, "œ"}, {0x9E, "ž"}, {0x9F, "Ÿ"},
        // Undefined in the table: the C1 control of the same number.
        {0x81, "\u0081"}, {0x8D, "\u008D"}, {0x8F, "\u008F"}, {0x90, "\u0090"},
        {0x9D, "\u009D"},
        {0xA0, "\u00A0"}, {0xA7, "§"}, {0xC4, "Ä"}, {0xD6, "Ö"}, {0xDC, "Ü"}, {0xDF, "ß"},
        {0xE4, "ä"}, {0xF6, "ö"}, {0xFC, "ü"}, {0xFF, "ÿ"}, {0x41, "A"},
    };
    for (const auto& c : cases) {
        const std::string byte(1, static_cast<char>(c.byte));
        const std::string utf8 = c.utf8;
        EXPECT_EQ(Cp1252ToUtf8(byte), utf8) << int(c.byte);
        EXPECT_EQ(Utf8ToCp1252(utf8), byte) << int(c.byte);
    }
}

TEST(Cp1252, GermanTexts) {
    const struct {
        const char* utf8;
        const char* cp1252;
    } cases[] = {
        {"ungültig", "ung\xFCltig"},
        {"Größe", "Gr\xF6\xDF" "e"},
        {"€", "\x80"},
        {"Ärger über „Öl“ – 5 €", "\xC4rger \xFC" "ber \x84\xD6l\x93 \x96 5 \x80"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf8ToCp1252(c.utf8), c.cp1252) << c.utf8;
        EXPECT_EQ(Cp1252ToUtf8(c.cp1252), c.utf8) << c.utf8;
    }
}

TEST(Cp1252, MissingCharactersAndBadUtf8BecomeQuestionMarks) {
    const struct {
        std::string utf8;
        const char* cp1252;
    } cases[] = {
        {"甲子", "??"},                       // CJK: one "?" per character
        {"a\u0100b", "a?b"},                  // Ā, just past Latin-1
        {"\u2028", "?"},                      // punctuation the table lacks
        {"x\U0001F600y", "x?y"},              // outside the BMP
        {"\x80", "?"},                        // stray continuation byte
        {"a\xC3", "a?"},                      // truncated at the end
        {"\xE2\x82" "A", "??A"},              // truncated before ASCII: each bad byte
        {"\xC0\xAF", "??"},                   // overlong "/"
        {"\xE0\x80\xAF", "???"},              // overlong, three bytes
        {"\xED\xA0\x80", "???"},              // UTF-16 surrogate
        {"\xF4\x90\x80\x80", "????"},         // past U+10FFFF
        {"\xFF\xFE", "??"},                   // never valid
        {"\xC3\xBC\xFC", "\xFC?"},            // good ü then a Latin-1 ü byte
    };
    for (const auto& c : cases) EXPECT_EQ(Utf8ToCp1252(c.utf8), c.cp1252) << c.utf8;
}

}  // namespace
