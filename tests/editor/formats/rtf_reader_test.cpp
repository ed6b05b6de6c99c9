// SPDX-License-Identifier: GPL-3.0-or-later
// The RTF reader on small pieces of RTF: text, special characters, code pages, Unicode and
// its fallback, binary data, destinations, and the character and paragraph formats.
#include "editor/formats/rtf_reader.h"

#include <gtest/gtest.h>

#include "rtf_test_support.h"

namespace {

using editor_test::AlignmentAt;
using editor_test::Colour;
using editor_test::Family;
using editor_test::FormatAt;
using editor_test::ReadText;

TEST(RtfReader, ReadsTheText) {
    const struct {
        const char* name;
        QByteArray rtf;
        QString text;
    } cases[] = {
        {"plain", "{\\rtf1 Hallo Welt}", "Hallo Welt"},
        {"one blank ends a control word", "{\\rtf1\\b fett\\b0  normal}", "fett normal"},
        {"signed parameter", "{\\rtf1\\li-720 x\\fi-360\\b1 y}", "xy"},
        {"unknown words are ignored", "{\\rtf1\\foo123 a\\barbaz-5 b\\q c}", "abc"},
        {"last \\par ends the last paragraph", "{\\rtf1 a\\par b\\par}", "a\nb"},
        {"empty last paragraph", "{\\rtf1 a\\par\\par}", "a\n"},
        {"empty paragraphs", "{\\rtf1\\par\\par\\par x}", "\n\n\nx"},
        {"no \\par at the end", "{\\rtf1 a\\par b}", "a\nb"},
        {"line ends in the file are no text", "{\\rtf1 a\r\nb\rc\nd}", "abcd"},
        {"backslash and line end is \\par", "{\\rtf1 a\\\r\nb}", "a\nb"},
        {"escaped characters", "{\\rtf1 \\\\ \\{x\\}}", "\\ {x}"},
        {"tab character", "{\\rtf1 a\tb}", "a\tb"},
        {"special characters",
         "{\\rtf1 \\~\\-\\_\\line\\tab\\emdash\\endash\\lquote\\rquote\\ldblquote\\rdblquote\\bullet}",
         QString::fromUtf8("\u00A0\u00AD\u2011\u2028\t—–‘’“”•")},
        {"\\sect and \\page end paragraphs", "{\\rtf1 a\\sect b\\page c}", "a\nb\nc"},
        {"nothing after the document's end", "{\\rtf1 a}b{c}", "a"},
        {"nothing before the first group", "xyz{\\rtf1 a}", "a"},
        {"groups keep their text", "{\\rtf1 a{b{c}d}e}", "abcde"},
        {"paragraph text of numbering is kept", "{\\rtf1{\\pntext\\'b7\\tab}Punkt}",
         QString::fromUtf8("·\tPunkt")},
        {"table cells are tabs, a row one paragraph",
         "{\\rtf1\\trowd\\cellx1\\cellx2\\pard\\intbl a\\cell b\\cell\\row\\pard\\intbl\\cell c\\cell\\row x}",
         "a\tb\n\tc\nx"},
        {"a cell's last paragraph end is its cell's end",
         "{\\rtf1{\\pard\\intbl a\\par}\\cell{\\pard\\intbl b\\par c\\par}\\cell\\row}", "a\tb\nc"},
        {"footnote: its text in brackets",
         "{\\rtf1 Satz{\\super\\chftn}{\\footnote\\pard{\\chftn}\\tab Eins\\par\\pard  zwei. } weiter}",
         "Satz[Eins zwei.] weiter"},
        {"starred footnote", "{\\rtf1 a{\\*\\footnote\\chftn\\~b}c}", "a[b]c"},
        {"empty footnote leaves nothing", "{\\rtf1 a{\\footnote\\chftn\\par }b}", "ab"},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadText(c.rtf), c.text) << c.name;
}

TEST(RtfReader, DecodesBytesInTheCodePageInForce) {
    const struct {
        const char* name;
        QByteArray rtf;
        QString text;
    } cases[] = {
        {"no code page: Windows-1252", "{\\rtf1 \\'e4\\'f6\\'fc\\'df\\'80}", QString::fromUtf8("äöüß€")},
        {"\\ansi", "{\\rtf1\\ansi \\'c4\\'d6\\'dc}", QString::fromUtf8("ÄÖÜ")},
        {"\\ansicpg1252", "{\\rtf1\\ansi\\ansicpg1252 \\'84x\\'93}", QString::fromUtf8("„x“")},
        {"raw bytes above 127", "{\\rtf1\\ansi Gr\xFC\xDF" "e}", QString::fromUtf8("Grüße")},
        {"\\pc is code page 437", "{\\rtf1\\pc \\'84\\'94\\'81\\'e1\\'d5}", QString::fromUtf8("äöüß╒")},
        {"\\pca is code page 850", "{\\rtf1\\pca \\'84\\'94\\'81\\'e1\\'d5}", QString::fromUtf8("äöüßı")},
        {"\\mac", "{\\rtf1\\mac \\'8a\\'9a\\'9f\\'a7}", QString::fromUtf8("äöüß")},
        {"Mac Japanese", "{\\rtf1\\mac\\ansicpg10001 \\'82\\'a8\\'93\\'c7\\'fd\\'80\\'ff}", QString::fromUtf8("お読©\\…")},
        {"Mac Cyrillic, Greek, Hebrew, Arabic by \\fcharset",
         "{\\rtf1\\mac{\\fonttbl{\\f0\\fcharset89 C;}{\\f1\\fcharset85 G;}{\\f2\\fcharset83 H;}{\\f3\\fcharset84 A;}}"
         "\\f0\\'8f\\f1\\'ba\\f2\\'f9\\f3\\'c7}",
         QString::fromUtf8("ПΚשا")},
        {"Mac Chinese and Korean", "{\\rtf1{\\fonttbl{\\f0\\fcharset80 S;}{\\f1\\fcharset81 T;}{\\f2\\fcharset79 K;}}"
         "\\f0\\'bc\\'d7\\f1\\'a5\\'d2\\f2\\'b0\\'a1}", QString::fromUtf8("甲甲가")},
        {"uppercase hex", "{\\rtf1 \\'E4\\'Fc}", QString::fromUtf8("äü")},
        {"the font's character set wins",
         "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset0 Arial;}{\\f1\\fcharset255 Terminal;}}"
         "\\f1\\'84\\f0\\'e4{\\f1\\'94}\\'f6}",
         QString::fromUtf8("ääöö")},
        {"\\cpg wins over \\fcharset",
         "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset0\\cpg850 DOS;}}\\f0\\'d5}", QString::fromUtf8("ı")},
        {"\\fcharset1 means the document's code page",
         "{\\rtf1\\pca{\\fonttbl{\\f0\\fcharset1 X;}}\\f0\\'d5}", QString::fromUtf8("ı")},
        {"the default font's character set",
         "{\\rtf1\\ansi\\deff1{\\fonttbl{\\f0 A;}{\\f1\\fcharset254 PC;}}\\'84}", QString::fromUtf8("ä")},
        {"Cyrillic through Qt's converter", "{\\rtf1\\ansi\\ansicpg1251 \\'c0\\'e1}", QString::fromUtf8("Аб")},
        {"double-byte Chinese", "{\\rtf1{\\fonttbl{\\f0\\fcharset134 SimSun;}}\\f0\\'bc\\'d7\\'d2\\'d2}",
         QString::fromUtf8("甲乙")},
        {"an unknown code page is Windows-1252", "{\\rtf1\\ansicpg9999 \\'e4}", QString::fromUtf8("ä")},
        {"a damaged \\'hh is dropped", "{\\rtf1 a\\'zb\\'4}", "azb"},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadText(c.rtf), c.text) << c.name;
}

TEST(RtfReader, ReadsUnicodeAndSkipsItsFallback) {
    const struct {
        const char* name;
        QByteArray rtf;
        QString text;
    } cases[] = {
        {"default \\uc1", "{\\rtf1 \\u228?x}", QString::fromUtf8("äx")},
        {"negative numbers are signed 16 bits", "{\\rtf1\\uc1 \\u-3?}", QString::fromUtf8("\uFFFD")},
        {"glyph above 32767", "{\\rtf1\\uc1\\u-30000?}", QString(QChar(char16_t(35536)))},
        {"surrogate pair", "{\\rtf1\\uc1\\u-10179?\\u-8704?}", QString::fromUtf8("😀")},
        {"lone high surrogate", "{\\rtf1\\uc1\\u-10179?x}", QString::fromUtf8("\uFFFDx")},
        {"lone low surrogate", "{\\rtf1\\uc1\\u-8704?x}", QString::fromUtf8("\uFFFDx")},
        {"\\uc0: no fallback", "{\\rtf1\\uc0\\u30002 x}", QString::fromUtf8("甲x")},
        {"\\uc2: two bytes of fallback", "{\\rtf1\\uc2\\u30002\\'bc\\'d7x}", QString::fromUtf8("甲x")},
        {"\\uc2: two text characters", "{\\rtf1\\uc2\\u30002??x}", QString::fromUtf8("甲x")},
        {"a control word counts as one", "{\\rtf1\\uc1\\u30002\\tab x}", QString::fromUtf8("甲x")},
        {"a \\bin block counts as one", "{\\rtf1\\uc1\\u30002\\bin3 abcx}", QString::fromUtf8("甲x")},
        {"a group end stops the skip", "{\\rtf1{\\uc2\\u30002?}x}", QString::fromUtf8("甲x")},
        {"a group start stops the skip", "{\\rtf1\\uc3\\u30002?{x}y}", QString::fromUtf8("甲xy")},
        {"\\uc is kept per group", "{\\rtf1\\uc1{\\uc0\\u30002}\\u30003?x}", QString::fromUtf8("甲申x")},
        {"numbers beyond 16 bits wrap", "{\\rtf1\\u65536?\\u65601?}", QString(QChar(0)) + u'A'},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadText(c.rtf), c.text) << c.name;
}

TEST(RtfReader, SkipsBinaryDataAndNonTextDestinations) {
    const struct {
        const char* name;
        QByteArray rtf;
        QString text;
    } cases[] = {
        {"\\bin data may hold braces", "{\\rtf1 a\\bin4 {}\\}c}", "ac"},
        {"\\bin beyond the end", "{\\rtf1 a\\bin99999 xyz}", "a"},
        {"\\bin without a number", "{\\rtf1 a\\bin b}", "ab"},
        {"\\* destination", "{\\rtf1 a{\\*\\unknown b{c}}d}", "ad"},
        {"\\* inside a destination", "{\\rtf1 a{\\*\\x{\\*\\y z}}b}", "ab"},
        {"\\* before a destination we read", "{\\rtf1{\\field{\\*\\fldinst X}{\\*\\fldrslt Link}}}", "Link"},
        {"\\* then text is skipped", "{\\rtf1 a{\\*{\\fldrslt b}c}d}", "ad"},
        {"\\* then text, then a destination we read", "{\\rtf1 a{\\*x\\fldrslt b}d}", "ad"},
        {"known destinations; a picture is one object",
         "{\\rtf1{\\info{\\title T}{\\author A}}a{\\stylesheet{\\s0 Normal;}}b"
         "{\\pict\\wmetafile8 0123abcd}c{\\header H}{\\footer F}d{\\listtable{\\list x}}e}",
         QString::fromUtf8("ab\uFFFCcde")},
        {"field: instruction skipped, result kept",
         "{\\rtf1{\\field{\\*\\fldinst{HYPERLINK \"http://x\"}}{\\fldrslt{\\ul Link}}} Ende}", "Link Ende"},
        {"\\fldinst without \\*", "{\\rtf1{\\field{\\fldinst PAGE}{\\fldrslt 7}}}", "7"},
        {"object with its result picture",
         "{\\rtf1{\\object\\objemb{\\*\\objdata 0102}{\\result{\\pict 00}}}x}", "x"},
        {"font and colour tables are no text",
         "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red1\\green2\\blue3;}x}", "x"},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadText(c.rtf), c.text) << c.name;
}

TEST(RtfReader, ReadsCharacterFormats) {
    const QByteArray header =
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times New Roman;}"
        "{\\f2\\fnil Gr\\'fcn;}}{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}";
    QTextDocument document;
    editor::ReadRtf(header +
                        "\\f1\\fs32\\b\\i\\ul\\strike\\cf1\\highlight2 Alles\\plain Schlicht "
                        "{\\b Fett}Normal {\\f2\\fs17 Halb}{\\cb1 Hinter}{\\cf0 Auto}"
                        "\\b\\b0 B0\\i\\i0 I0\\ul\\ulnone U0\\ul\\ul0 Ux\\strike\\strike0 S0}",
                    document);
    const QTextCharFormat all = FormatAt(document, "Alles");
    EXPECT_EQ(Family(all), QStringLiteral("Times New Roman"));
    EXPECT_EQ(all.fontPointSize(), 16.0);
    EXPECT_EQ(all.fontWeight(), QFont::Bold);
    EXPECT_TRUE(all.fontItalic());
    EXPECT_TRUE(all.fontUnderline());
    EXPECT_TRUE(all.fontStrikeOut());
    EXPECT_EQ(Colour(all.foreground()), QColor(255, 0, 0));
    EXPECT_EQ(Colour(all.background()), QColor(0, 0, 255));

    const QTextCharFormat plain = FormatAt(document, "Schlicht");
    EXPECT_EQ(Family(plain), QStringLiteral("Arial"));  // \plain returns to \deff
    EXPECT_EQ(plain.fontPointSize(), 12.0);
    EXPECT_EQ(plain.fontWeight(), QFont::Normal);
    EXPECT_FALSE(plain.fontItalic() || plain.fontUnderline() || plain.fontStrikeOut());
    EXPECT_FALSE(Colour(plain.foreground()).isValid());
    EXPECT_FALSE(Colour(plain.background()).isValid());

    EXPECT_EQ(FormatAt(document, "Fett").fontWeight(), QFont::Bold);
    EXPECT_EQ(FormatAt(document, "Normal").fontWeight(), QFont::Normal);  // the group ended
    EXPECT_EQ(Family(FormatAt(document, "Halb")), QString::fromUtf8("Grün"));
    EXPECT_EQ(FormatAt(document, "Halb").fontPointSize(), 8.5);
    EXPECT_EQ(Colour(FormatAt(document, "Hinter").background()), QColor(255, 0, 0));
    EXPECT_FALSE(Colour(FormatAt(document, "Auto").foreground()).isValid());
    EXPECT_EQ(FormatAt(document, "B0").fontWeight(), QFont::Normal);
    EXPECT_FALSE(FormatAt(document, "I0").fontItalic());
    EXPECT_FALSE(FormatAt(document, "U0").fontUnderline());
    EXPECT_FALSE(FormatAt(document, "Ux").fontUnderline());
    EXPECT_FALSE(FormatAt(document, "S0").fontStrikeOut());
}

TEST(RtfReader, ReadsTheTablesInEveryShape) {
    QTextDocument document;
    // A font table without groups, a colour table whose first entry is a colour, no \deff.
    editor::ReadRtf("{\\rtf1{\\fonttbl\\f0\\fswiss Helv;\\f1\\froman Tms Rmn;}"
                    "{\\colortbl\\red0\\green128\\blue0;\\red9\\green9\\blue9;}"
                    "\\f1\\cf0 Gruen\\f0\\cf1 Grau{\\f7 Fehlt}}",
                    document);
    EXPECT_EQ(Family(FormatAt(document, "Gruen")), QStringLiteral("Tms Rmn"));
    EXPECT_EQ(Colour(FormatAt(document, "Gruen").foreground()), QColor(0, 128, 0));
    EXPECT_EQ(Family(FormatAt(document, "Grau")), QStringLiteral("Helv"));
    EXPECT_EQ(Colour(FormatAt(document, "Grau").foreground()), QColor(9, 9, 9));
    EXPECT_EQ(Family(FormatAt(document, "Fehlt")), QStringLiteral("Helv"));  // no such font: \\deff
    // The first entry is no highlight, even as a colour (AbiWord's tables).
    for (const char* word : {"Gruen", "Grau", "Fehlt"}) {
        EXPECT_EQ(FormatAt(document, word).background().style(), Qt::NoBrush) << word;
    }
    editor::ReadRtf("{\\rtf1{\\colortbl\\red0\\green0\\blue0;\\red9\\green9\\blue9;}"
                    "{\\highlight0 Null}{\\cb0 Null2}{\\chcbpat1 Grau}}",
                    document);
    EXPECT_EQ(FormatAt(document, "Null").background().style(), Qt::NoBrush);
    EXPECT_EQ(FormatAt(document, "Null2").background().style(), Qt::NoBrush);
    EXPECT_EQ(Colour(FormatAt(document, "Grau").background()), QColor(9, 9, 9));
}

// \\dbch with \\af, \\afs, \\ab, \\ai: the properties of the East Asian characters; after \\rtlch
// they belong to right-to-left text and change nothing here.
TEST(RtfReader, ReadsTheAsianPropertiesOfEastAsianCharacters) {
    QTextDocument document;
    editor::ReadRtf("{\\rtf1{\\fonttbl{\\f0 Latin;}{\\f1 Kai;}}\\f0\\fs24\\dbch\\af1"
                    "{\\dbch\\ab\\ai\\afs40 A\\u30002?\\u23376?B}{\\loch C\\u20057?}"
                    "{\\rtlch\\ab\\afs60\\af0 D\\u19985?}\\dbch\\af9 E\\u23493?\\plain F\\u21359?}",
                    document);
    const struct {
        const char* text;
        const char* family;
        qreal points;
        bool bold, italic;
    } cases[] = {
        {"A", "Latin", 12, false, false}, {"甲子", "Kai", 20, true, true},  {"B", "Latin", 12, false, false},
        {"C", "Latin", 12, false, false}, {"乙", "Kai", 12, false, false},   {"D", "Latin", 12, false, false},
        {"丑", "Kai", 12, false, false},  {"寅", "Latin", 12, false, false}, {"卯", "Latin", 12, false, false},
    };
    for (const auto& c : cases) {
        const QTextCharFormat f = FormatAt(document, QString::fromUtf8(c.text));
        EXPECT_EQ(Family(f), QString::fromUtf8(c.family)) << c.text;
        EXPECT_EQ(f.fontPointSize(), c.points) << c.text;
        EXPECT_EQ(f.fontWeight() == QFont::Bold, c.bold) << c.text;
        EXPECT_EQ(f.fontItalic(), c.italic) << c.text;
    }
}

TEST(RtfReader, ReadsTheAlignmentInForceAtEachParagraphEnd) {
    QTextDocument document;
    editor::ReadRtf("{\\rtf1\\qc Mitte\\par\\pard Links\\par\\qr Rechts\\par\\qj Block\\par"
                    "\\pard\\ql L\\qc Z\\par{\\qr Gruppe\\par}Danach}",
                    document);
    EXPECT_EQ(AlignmentAt(document, "Mitte"), Qt::AlignHCenter);
    EXPECT_EQ(AlignmentAt(document, "Links"), Qt::AlignLeft);
    EXPECT_EQ(AlignmentAt(document, "Rechts"), Qt::AlignRight);
    EXPECT_EQ(AlignmentAt(document, "Block"), Qt::AlignJustify);
    EXPECT_EQ(AlignmentAt(document, "LZ"), Qt::AlignHCenter);
    EXPECT_EQ(AlignmentAt(document, "Gruppe"), Qt::AlignRight);
    EXPECT_EQ(AlignmentAt(document, "Danach"), Qt::AlignHCenter);  // the group ended
}

TEST(RtfReader, LeavesNoUndoHistoryAndNoModifiedFlag) {
    QTextDocument document;
    QTextCursor(&document).insertText(QStringLiteral("alt"));
    editor::ReadRtf("{\\rtf1 neu}", document);
    EXPECT_EQ(editor_test::Text(document), QStringLiteral("neu"));
    EXPECT_FALSE(document.isUndoAvailable());
    EXPECT_FALSE(document.isModified());
    EXPECT_TRUE(document.isUndoRedoEnabled());
}

}  // namespace
