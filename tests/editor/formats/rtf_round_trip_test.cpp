// SPDX-License-Identifier: GPL-3.0-or-later
// The writer: what it writes is plain ASCII RTF of the agreed shape, and reading it back
// gives the same text, fonts, sizes, styles, colours and alignment.
#include "editor/formats/rtf_writer.h"

#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <vector>

#include "rtf_test_support.h"

namespace {

using editor_test::Colour;

// One character with its format as the reader must give it back; an unset property means
// the document's default.
struct Styled {
    QChar ch;
    QString family;
    qreal points;
    bool bold, italic, underline, strike;
    QRgb foreground, background;  // 0: none
    bool operator==(const Styled&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Styled& s) {
    return out << "U+" << std::hex << int(s.ch.unicode()) << std::dec << " " << s.family.toStdString() << " "
               << s.points << (s.bold ? " b" : "") << (s.italic ? " i" : "") << (s.underline ? " u" : "")
               << (s.strike ? " s" : "") << " fg " << s.foreground << " bg " << s.background;
}

std::vector<Styled> StyledText(const QTextDocument& document) {
    std::vector<Styled> chars;
    const QFont defaults = document.defaultFont();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            const QString family = editor_test::Family(f);
            const QColor fg = Colour(f.foreground());
            const QColor bg = Colour(f.background());
            for (const QChar ch : it.fragment().text()) {
                chars.push_back({ch, family.isEmpty() ? defaults.family() : family,
                                 f.hasProperty(QTextFormat::FontPointSize) ? f.fontPointSize() : defaults.pointSizeF(),
                                 f.fontWeight() >= QFont::Bold, f.fontItalic(), f.fontUnderline(),
                                 f.fontStrikeOut(), fg.isValid() ? fg.rgb() : 0, bg.isValid() ? bg.rgb() : 0});
            }
        }
        chars.push_back({QChar::ParagraphSeparator, {}, 0, false, false, false, false, 0, 0});
    }
    return chars;
}

std::vector<Qt::Alignment> Alignments(const QTextDocument& document) {
    std::vector<Qt::Alignment> result;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        result.push_back(block.blockFormat().alignment() & Qt::AlignHorizontal_Mask);
    }
    return result;
}

// A text using everything the writer must keep.
void FillSample(QTextDocument& document) {
    document.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 10));
    QTextCursor cursor(&document);
    const auto add = [&cursor](const QString& text, auto&& style) {
        QTextCharFormat format;
        style(format);
        cursor.insertText(text, format);
    };
    const auto align = [&cursor](Qt::Alignment alignment) {
        QTextBlockFormat block;
        block.setAlignment(alignment);
        cursor.setBlockFormat(block);
    };
    const auto none = [](QTextCharFormat&) {};
    add(QString::fromUtf8("Größe, Maß und Übel: „Zitat“ – 5 € "), none);
    add(QStringLiteral("fett"), [](QTextCharFormat& f) { f.setFontWeight(QFont::Bold); });
    add(QStringLiteral("12 kursiv"), [](QTextCharFormat& f) { f.setFontItalic(true); });
    add(QStringLiteral(" unter"), [](QTextCharFormat& f) { f.setFontUnderline(true); });
    add(QStringLiteral("durch "), [](QTextCharFormat& f) { f.setFontStrikeOut(true); });
    add(QStringLiteral("alles"), [](QTextCharFormat& f) {
        f.setFontWeight(QFont::Bold), f.setFontItalic(true), f.setFontUnderline(true), f.setFontStrikeOut(true);
        f.setForeground(QColor(200, 10, 10)), f.setBackground(QColor(255, 255, 0));
    });
    cursor.insertBlock();
    align(Qt::AlignHCenter);
    add(QString::fromUtf8("甲乙丙丁戊己庚辛壬癸 子丑寅卯辰巳午未申酉戌亥"), [](QTextCharFormat& f) {
        f.setFontFamilies({QStringLiteral("AR PL UKai CN")});
        f.setFontPointSize(36);
    });
    cursor.insertBlock();
    align(Qt::AlignRight);
    add(QString::fromUtf8("Emoji 😀 und 🐉, ein Backslash \\ und {Klammern}"),
        [](QTextCharFormat& f) { f.setFontPointSize(10.5); });
    cursor.insertBlock();
    align(Qt::AlignJustify);
    add(QStringLiteral("Tab\tund"), [](QTextCharFormat& f) { f.setFontFamilies({QString::fromUtf8("Schrift Grün")}); });
    add(QString(QChar::LineSeparator) + QStringLiteral("neue Zeile"), [](QTextCharFormat& f) {
        f.setFontFamilies({QStringLiteral("Courier New")});
        f.setForeground(QColor(0, 0, 255));
    });
    add(QStringLiteral(" blau"), [](QTextCharFormat& f) { f.setForeground(QColor(0, 0, 255)); });
    add(QStringLiteral(" seltsam"), [](QTextCharFormat& f) { f.setFontFamilies({QStringLiteral("A;B {x}")}); });
    cursor.insertBlock();
    cursor.insertBlock();
    align(Qt::AlignLeft);
    add(QStringLiteral("  zwei Blanks, \\par und \\u als Text"), none);
    add(QString::fromUtf8(" Steuerzeichen \x01\x1F, ¤ \u0081 Ω"), [](QTextCharFormat& f) { f.setFontPointSize(8); });
    cursor.insertBlock();
}

TEST(RtfWriter, ReadingWhatWeWroteGivesTheSameDocument) {
    QTextDocument original;
    FillSample(original);
    const QByteArray rtf = editor::WriteRtf(original);
    QTextDocument reread;
    reread.setDefaultFont(original.defaultFont());
    editor::ReadRtf(rtf, reread);
    EXPECT_EQ(editor_test::Text(reread), editor_test::Text(original));
    EXPECT_EQ(StyledText(reread), StyledText(original));
    EXPECT_EQ(Alignments(reread), Alignments(original));
    // Written again, the same bytes.
    EXPECT_EQ(editor::WriteRtf(reread), rtf);
}

TEST(RtfWriter, WritesAsciiRtfOfTheAgreedShape) {
    QTextDocument document;
    FillSample(document);
    const QByteArray rtf = editor::WriteRtf(document);
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 DejaVu Sans;}"));
    EXPECT_TRUE(rtf.endsWith("\\par\r\n}\r\n"));
    for (const char c : rtf) ASSERT_LT(static_cast<unsigned char>(c), 0x80);
    const char* pieces[] = {
        "{\\colortbl ;\\red200\\green10\\blue10;\\red255\\green255\\blue0;\\red0\\green0\\blue255;}",
        "\\uc1", "Gr\\'f6\\'dfe, Ma\\'df und \\'dcbel: \\'84Zitat\\'93 \\'96 5 \\'80 ",
        "\\u30002\\'3f\\u20057\\'3f", "\\u-10179\\'3f\\u-8704\\'3f", "\\\\ und \\{Klammern\\}",
        "Tab\\tab und", "\\line neue Zeile", "{\\f2\\fnil\\fcharset0 Schrift Gr\\'fcn;}", "\\pard\\qc ", "\\pard\\qr ",
        "\\pard\\qj ", "\\pard\\ql \\par\r\n", "\\b fett", "\\fs21 ", "\\u1\\'3f\\u31\\'3f", "\\'a4 \\'81 \\u937\\'3f",
        "{\\f4\\fnil\\fcharset0 A\\'3bB \\{x\\};}",
    };
    for (const char* piece : pieces) EXPECT_TRUE(rtf.contains(piece)) << piece;
    // A highlight ends with its group; AbiWord would read \highlight0 as black.
    EXPECT_TRUE(rtf.contains("{\\b\\i\\ul\\cf1\\highlight2 alles}"));
    EXPECT_FALSE(rtf.contains("\\highlight0"));
    EXPECT_EQ(rtf.count("\\par\r\n"), document.blockCount());
}

TEST(RtfWriter, EmptyDocumentsStayEmpty) {
    QTextDocument empty;
    QTextDocument reread;
    editor::ReadRtf(editor::WriteRtf(empty), reread);
    EXPECT_EQ(reread.blockCount(), 1);
    EXPECT_TRUE(reread.isEmpty());
}

}  // namespace
