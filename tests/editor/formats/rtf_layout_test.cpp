// SPDX-License-Identifier: GPL-3.0-or-later
// Paragraph layout, list numbers and character forms: what the reader makes of the words,
// and that our writer gives them back.
#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextDocument>

#include "editor/formats/rtf_writer.h"
#include "rtf_test_support.h"

namespace {

using editor_test::FormatAt;
using editor_test::ReadText;

// The block format of the paragraph holding `needle`, in the corpus dump's words.
QString Layout(const QTextDocument& document, const QString& needle) {
    const QTextBlockFormat b = document.find(needle).block().blockFormat();
    return editor_test::ParagraphLayout(b);
}

TEST(RtfLayout, ParagraphsKeepIndentsSpacingTabsAndDirection) {
    const struct {
        const char* rtf;  // one paragraph "x"
        const char* layout;
    } cases[] = {
        {"\\li720\\ri360\\fi-360\\sb120\\sa240 x", " li 720 ri 360 fi -360 sb 120 sa 240 tab l360"},
        {"\\li720\\fi-360\\tx600 x", " li 720 fi -360 tab l240"},       // a stop before the indent
        {"\\li720\\fi-360\\tx1000 x", " li 720 fi -360 tab l360 tab l640"},
        {"\\fi360\\tx2000 x", " fi 360 tab l1640"},                      // counted from the line's start
        {"\\tqc\\tx2268\\tldot\\tqr\\tx5102\\tqdec\\tlhyph\\tx7370 x", " tab c2268 tab r5102 tab d7370 leaders ' .-'"},
        {"\\tqr\\tx100\\tx200 x", " tab r100 tab l200"},                 // a kind holds for one stop
        {"\\rtlpar x", " rtl"},
        {"\\li720\\rtlpar\\pard x", ""},
        {"\\li720{\\li1440} x", " li 720"},
        {"\\sb-100\\li99999 x", " li 31680"},
        {"\\fi-360 x", " li 360 fi -360 tab l360"},  // moved in, not cut off at the edge
        // A table row: each cell after the first at its own alignment in its column.
        {"\\trowd\\cellx1000\\cellx3000\\cellx5000\\cellx6000\\intbl\\qc a\\cell\\qc b\\cell\\qr x\\cell\\ql c\\cell\\row",
         " tab c2000 tab r5000 tab l5000"},
        {"\\trowd\\cellx1000\\intbl\\qc a\\cell\\qc x\\cell\\row", ""},  // not as defined
    };
    for (const auto& c : cases) {
        QTextDocument document;
        editor::ReadRtf(QByteArray("{\\rtf1\\pard") + c.rtf + "\\par}", document);
        EXPECT_EQ(Layout(document, "x").toStdString(), c.layout) << c.rtf;
        QTextDocument reread;
        editor::ReadRtf(editor::WriteRtf(document), reread);
        EXPECT_EQ(Layout(reread, "x").toStdString(), c.layout) << "written again: " << c.rtf;
    }
    QByteArray many = "{\\rtf1\\pard";
    for (int i = 1; i <= 40; ++i) many += "\\tx" + QByteArray::number(i * 100);
    QTextDocument document;
    editor::ReadRtf(many + " x}", document);
    EXPECT_EQ(document.begin().blockFormat().tabPositions().size(), 32);
}

// A list table of LibreOffice's shape: list 1 with three numbered levels (the first starting
// at 3), list 2 a bullet; override 1 is list 1, 2 is list 2, 3 is list 3 (Cocoa's markers).
const QByteArray kListTable =
    "{\\*\\listtable"
    "{\\list\\listtemplateid1"
    "{\\listlevel\\levelnfc0\\levelstartat3{\\leveltext \\'02\\'00.;}{\\levelnumbers\\'01;}\\fi-360\\li720}"
    "{\\listlevel\\levelnfc4\\levelstartat1{\\leveltext \\'04\\'00.\\'01);}{\\levelnumbers\\'01\\'03;}}"
    "{\\listlevel\\levelnfc2\\levelstartat1\\levelfollow1{\\leveltext \\'02\\'02.;}}"
    "{\\listlevel\\levelnfc22\\levelstartat8\\levelfollow2{\\leveltext \\'01\\'03;}}"
    "{\\listlevel\\levelnfc1\\levelstartat14{\\leveltext \\'01\\'04;}}"
    "{\\listlevel\\levelnfc3\\levelstartat27{\\leveltext \\'01\\'05;}}"
    "\\listid7}"
    "{\\list{\\listlevel\\levelnfc23{\\leveltext \\'01\\u-3913 ?;}}\\listid8}"
    "{\\list{\\listlevel\\levelnfc23{\\*\\levelmarker \\{square\\}}{\\leveltext;}}\\listid9}}"
    "{\\*\\listoverridetable{\\listoverride\\listid7\\listoverridecount0\\ls1}"
    "{\\listoverride\\listid8\\ls2}{\\listoverride\\listid9\\ls3}}";

TEST(RtfLayout, ListsWithoutMarksTakeThemFromTheListTable) {
    const struct {
        const char* name;
        QByteArray paragraphs;
        QString text;
    } cases[] = {
        {"levels, start values, kinds and what follows the mark",
         "\\pard\\ls1 a\\par\\pard\\ls1\\ilvl1 b\\par\\pard\\ls1\\ilvl1 c\\par\\pard\\ls1\\ilvl2 d\\par"
         "\\pard\\ls1\\ilvl3 e\\par\\pard\\ls1\\ilvl4 f\\par\\pard\\ls1\\ilvl5 g\\par\\pard\\ls1 h\\par\\pard\\ls1\\ilvl1 i\\par",
         "3.\ta\n3.a)\tb\n3.b)\tc\ni. d\n08e\nXIV\tf\nAA\tg\n4.\th\n4.a)\ti"},
        {"bullets, Word's Symbol bullet and Cocoa's marker", "\\pard\\ls2 a\\par\\pard\\ls3 b\\par",
         QString::fromUtf8("•\ta\n▪\tb")},
        {"an empty or blank \\listtext gives way, one with text stays",
         "{\\listtext }\\pard\\ls1 a\\par{\\listtext\\tab}\\pard\\ls1 b\\par{\\listtext 9.\\tab}\\pard\\ls1 c\\par",
         "3.\ta\n4.\tb\n9.\tc"},
        {"a list the table lacks, and no list", "\\pard\\ls9 a\\par\\pard b\\par", "a\nb"},
        {"the mark takes the text's format", "\\pard\\ls1{\\b a}\\par", "3.\ta"},
    };
    for (const auto& c : cases) {
        QTextDocument document;
        editor::ReadRtf("{\\rtf1" + kListTable + c.paragraphs + "}", document);
        EXPECT_EQ(editor_test::Text(document), c.text) << c.name;
    }
    QTextDocument document;
    editor::ReadRtf("{\\rtf1" + kListTable + "\\pard\\ls1{\\b a}\\par}", document);
    EXPECT_EQ(FormatAt(document, "3.").fontWeight(), QFont::Bold);
}

// Each form as read, and the words our writer gives it back with.
TEST(RtfLayout, CharacterFormsAreShownAndWrittenWithTheSameWords) {
    const struct {
        const char* words;
        QTextCharFormat::VerticalAlignment vertical;
        QFont::Capitalization caps;
        QTextCharFormat::UnderlineStyle underline;
        bool strike;
        const char* written;  // what the writer's group for "x" holds
    } cases[] = {
        {"\\super", QTextCharFormat::AlignSuperScript, QFont::MixedCase, QTextCharFormat::NoUnderline, false, "{\\super x}"},
        {"\\sub", QTextCharFormat::AlignSubScript, QFont::MixedCase, QTextCharFormat::NoUnderline, false, "{\\sub x}"},
        {"\\up6", QTextCharFormat::AlignSuperScript, QFont::MixedCase, QTextCharFormat::NoUnderline, false, "{\\up6 x}"},
        {"\\dn4", QTextCharFormat::AlignSubScript, QFont::MixedCase, QTextCharFormat::NoUnderline, false, "{\\dn4 x}"},
        {"\\super\\nosupersub", QTextCharFormat::AlignNormal, QFont::MixedCase, QTextCharFormat::NoUnderline, false, "\\ql axb"},
        {"\\up0", QTextCharFormat::AlignNormal, QFont::MixedCase, QTextCharFormat::NoUnderline, false, "\\ql axb"},
        {"\\scaps", QTextCharFormat::AlignNormal, QFont::SmallCaps, QTextCharFormat::NoUnderline, false, "{\\scaps x}"},
        {"\\caps", QTextCharFormat::AlignNormal, QFont::AllUppercase, QTextCharFormat::NoUnderline, false, "{\\caps x}"},
        {"\\scaps\\scaps0", QTextCharFormat::AlignNormal, QFont::MixedCase, QTextCharFormat::NoUnderline, false, "\\ql axb"},
        {"\\uld", QTextCharFormat::AlignNormal, QFont::MixedCase, QTextCharFormat::DotLine, false, "{\\uld x}"},
        {"\\uldash", QTextCharFormat::AlignNormal, QFont::MixedCase, QTextCharFormat::DashUnderline, false, "{\\uldash x}"},
        {"\\ulwave", QTextCharFormat::AlignNormal, QFont::MixedCase, QTextCharFormat::WaveUnderline, false, "{\\ulwave x}"},
        {"\\uldb", QTextCharFormat::AlignNormal, QFont::MixedCase, QTextCharFormat::SingleUnderline, false, "{\\uldb x}"},
        {"\\ulth", QTextCharFormat::AlignNormal, QFont::MixedCase, QTextCharFormat::SingleUnderline, false, "{\\ulth x}"},
        {"\\ulwave\\ul", QTextCharFormat::AlignNormal, QFont::MixedCase, QTextCharFormat::SingleUnderline, false, "\\ul x"},
        {"\\uldb\\ulnone", QTextCharFormat::AlignNormal, QFont::MixedCase, QTextCharFormat::NoUnderline, false, "\\ql axb"},
        {"\\striked1", QTextCharFormat::AlignNormal, QFont::MixedCase, QTextCharFormat::NoUnderline, true, "{\\striked1 x}"},
        {"\\striked1\\striked0", QTextCharFormat::AlignNormal, QFont::MixedCase, QTextCharFormat::NoUnderline, false, "\\ql axb"},
    };
    for (const auto& c : cases) {
        QTextDocument document;
        editor::ReadRtf(QByteArray("{\\rtf1 a{") + c.words + " x}b}", document);
        const QTextCharFormat f = FormatAt(document, "x");
        EXPECT_EQ(f.verticalAlignment(), c.vertical) << c.words;
        EXPECT_EQ(f.fontCapitalization(), c.caps) << c.words;
        EXPECT_EQ(f.underlineStyle(), c.underline) << c.words;
        EXPECT_EQ(f.fontStrikeOut(), c.strike) << c.words;
        const QByteArray written = editor::WriteRtf(document);
        EXPECT_TRUE(written.contains(c.written)) << c.words << " gave " << written.toStdString();
    }
    // A footnote's brackets stand on the line, though its mark is raised.
    QTextDocument note;
    editor::ReadRtf("{\\rtf1 a{\\super\\chftn{\\footnote\\pard\\plain b}}c}", note);
    EXPECT_EQ(FormatAt(note, "[").verticalAlignment(), QTextCharFormat::AlignNormal);
}

}  // namespace
