// SPDX-License-Identifier: GPL-3.0-or-later
// The DOS and Mac code page tables: every byte survives a round trip, the lower halves are
// ASCII with the control codes unchanged, and the upper halves agree with Qt's converters.
#include "platform/code_pages.h"

#include <gtest/gtest.h>

#include <QStringDecoder>

namespace {

using platform::CodePageByteToCodePoint;
using platform::CodePointToCodePageByte;

constexpr int kCodePages[] = {437, 850, 1252, 10000};

TEST(CodePages, EveryByteSurvivesARoundTrip) {
    for (const int codePage : kCodePages) {
        for (int b = 0; b < 256; ++b) {
            const char32_t cp = CodePageByteToCodePoint(codePage, static_cast<unsigned char>(b));
            const auto back = CodePointToCodePageByte(codePage, cp);
            ASSERT_TRUE(back.has_value()) << codePage << " " << b;
            EXPECT_EQ(*back, b) << codePage;
        }
    }
}

TEST(CodePages, LowerHalfIsAsciiWithItsControlCodes) {
    for (const int codePage : kCodePages) {
        for (int b = 0; b < 128; ++b) {
            EXPECT_EQ(CodePageByteToCodePoint(codePage, static_cast<unsigned char>(b)), char32_t(b))
                << codePage;
        }
    }
}

TEST(CodePages, GermanLettersAndKnownDifferences) {
    const struct {
        int codePage;
        unsigned char byte;
        char32_t cp;
    } cases[] = {
        {437, 0x84, U'ä'}, {437, 0x94, U'ö'}, {437, 0x81, U'ü'}, {437, 0xE1, U'ß'},
        {437, 0x8E, U'Ä'}, {437, 0x99, U'Ö'}, {437, 0x9A, U'Ü'}, {437, 0x9B, U'¢'},
        {437, 0xD5, U'╒'}, {437, 0xFA, U'·'}, {437, 0xFF, 0x00A0},
        {850, 0x84, U'ä'}, {850, 0x81, U'ü'}, {850, 0xE1, U'ß'}, {850, 0x9B, U'ø'},
        {850, 0xD5, U'ı'}, {850, 0xB8, U'©'}, {850, 0xF5, U'§'}, {850, 0xCF, U'¤'},
        {10000, 0x8A, U'ä'}, {10000, 0x9A, U'ö'}, {10000, 0x9F, U'ü'}, {10000, 0xA7, U'ß'},
        {10000, 0xDB, U'€'}, {10000, 0xD2, U'“'},
        {1252, 0x80, U'€'}, {1252, 0xE4, U'ä'}, {1252, 0x81, 0x0081},
        // A code page without a table is read as Windows-1252.
        {1250, 0xE4, U'ä'},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CodePageByteToCodePoint(c.codePage, c.byte), c.cp) << c.codePage << " " << int(c.byte);
    }
    EXPECT_FALSE(CodePointToCodePageByte(850, U'€').has_value());
    EXPECT_FALSE(CodePointToCodePageByte(437, U'甲').has_value());
}

TEST(CodePages, UpperHalvesAgreeWithQtsConverters) {
    const struct {
        int codePage;
        const char* qtName;
    } cases[] = {{437, "IBM437"}, {850, "IBM850"}, {10000, "macintosh"}};
    int checked = 0;
    for (const auto& c : cases) {
        QStringDecoder decoder(c.qtName);
        if (!decoder.isValid()) continue;
        for (int b = 0x80; b < 0x100; ++b) {
            // ICU reads 437's 0xE6 as the Greek mu; Microsoft's table has the micro sign.
            if (c.codePage == 437 && b == 0xE6) continue;
            const char byte = static_cast<char>(b);
            const QString qt = decoder.decode(QByteArrayView(&byte, 1));
            ASSERT_EQ(qt.size(), 1) << c.qtName << " " << b;
            EXPECT_EQ(char32_t(qt[0].unicode()), CodePageByteToCodePoint(c.codePage, b))
                << c.qtName << " " << std::hex << b;
        }
        ++checked;
    }
    if (checked == 0) GTEST_SKIP() << "this Qt has none of the DOS converters";
}

}  // namespace
