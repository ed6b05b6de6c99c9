// SPDX-License-Identifier: GPL-3.0-or-later
// The reader on hostile input: deep nesting, damaged structure, random bytes. It must end,
// without a crash, with the text read so far.
#include "editor/formats/rtf_reader.h"

#include <gtest/gtest.h>

#include <random>

#include "rtf_test_support.h"

namespace {

using editor_test::ReadText;

TEST(RtfRobustness, HundredThousandNestedGroups) {
    constexpr int kDepth = 100'000;
    const QByteArray open(kDepth, '{');
    const QByteArray close(kDepth, '}');
    EXPECT_EQ(ReadText("{\\rtf1 " + open + "tief" + close + " Ende}"), QStringLiteral("tief Ende"));
    EXPECT_EQ(ReadText("{\\rtf1 " + open + "offen"), QStringLiteral("offen"));
    // Formats in groups beyond the depth limit still take effect; the text stays whole.
    QByteArray formatted = "{\\rtf1 ";
    for (int i = 0; i < kDepth; ++i) formatted += "{\\b x";
    formatted += close + '}';
    EXPECT_EQ(ReadText(formatted), QString(kDepth, u'x'));
}

TEST(RtfRobustness, DamagedFilesGiveTheTextReadSoFar) {
    const struct {
        const char* name;
        QByteArray rtf;
        QString text;
    } cases[] = {
        {"missing closing braces", "{\\rtf1 a{\\b b{\\i c", "abc"},
        {"extra closing braces", "{\\rtf1 a}}}}b", "a"},
        {"stray closing brace first", "}}{\\rtf1 a}", "a"},
        {"ends in a control word", "{\\rtf1 a\\pa", "a"},
        {"ends after a backslash", "{\\rtf1 a\\", "a"},
        {"ends in \\'h", "{\\rtf1 a\\'e", "a"},
        {"ends in a parameter", "{\\rtf1 a\\fs2", "a"},
        {"ends in the font table", "{\\rtf1{\\fonttbl{\\f0 Ari", ""},
        {"ends in a \\u fallback", "{\\rtf1 \\uc5\\u30002??", QString::fromUtf8("甲")},
        {"huge parameter", "{\\rtf1\\fs99999999999999999999 a\\u99999999999999999999?b}", "a\uFFFFb"},
        {"huge \\uc", "{\\rtf1\\uc2147483647\\u30002 abc}x}", QString::fromUtf8("甲")},
        {"only the opening", "{\\rtf", ""},
        {"NUL bytes", QByteArray("{\\rtf1 a\0b}", 11), "ab"},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadText(c.rtf), c.text) << c.name;
}

// Random bytes in a group of their own after "{\\rtf1 ", then the braces that close every
// group they opened and a last word. A closing brace that would end their group early
// becomes a blank, and "\\bin" (whose data could swallow braces) is spelt "\\bim", so
// that the reader has to go through all ten megabytes to find the last word: once of any
// bytes, once of the bytes RTF is made of. The seed is fixed, so a failure can be repeated.
QByteArray RandomRtf(qsizetype size, bool rtfAlphabet, std::mt19937& random) {
    const QByteArray alphabet = "{}\\\\\\'*;-0123456789 abcfinpqrsu\r\n?";
    std::uniform_int_distribution<int> any(0, 255);
    std::uniform_int_distribution<qsizetype> pick(0, alphabet.size() - 1);
    QByteArray bytes = "{\\rtf1 {";
    bytes.reserve(size + 100'000);
    qsizetype depth = 1;
    bool escaped = false;
    while (bytes.size() < size) {
        char c = rtfAlphabet ? alphabet[pick(random)] : static_cast<char>(any(random));
        if (c == 'n' && bytes.endsWith("\\bi")) c = 'm';
        if (!escaped && c == '{') ++depth;
        if (!escaped && c == '}' && --depth == 0) c = ' ', depth = 1;
        escaped = !escaped && c == '\\';
        bytes += c;
    }
    if (escaped) bytes += ' ';
    return bytes + QByteArray(depth, '}') + " Ende}";
}

TEST(RtfRobustness, TenMegabytesOfRandomBytes) {
    constexpr qsizetype kSize = 10 * 1024 * 1024;
    std::mt19937 random(20261207);
    for (const bool rtfAlphabet : {false, true}) {
        const QByteArray bytes = RandomRtf(kSize, rtfAlphabet, random);
        QTextDocument document;
        editor::ReadRtf(bytes, document);
        EXPECT_TRUE(editor_test::Text(document).endsWith(QStringLiteral(" Ende"))) << rtfAlphabet;
        // Every character read comes from at least one byte.
        EXPECT_LE(document.characterCount(), bytes.size()) << rtfAlphabet;
    }
}

}  // namespace
