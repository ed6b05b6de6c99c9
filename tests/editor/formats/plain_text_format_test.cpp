// SPDX-License-Identifier: GPL-3.0-or-later
// Plain-text notes files: which encoding and line end a file is read in, byte-exact round
// trips, what a new or changed text is written as, and the fallback of rich-text mode.
#include "editor/formats/notes_file.h"
#include "editor/formats/plain_text_format.h"

#include <gtest/gtest.h>

#include <QTextCursor>
#include <QTextDocument>

namespace {

using editor::LineEnd;
using editor::PlainTextFormat;
using editor::PlainTextLayout;
using editor::TextEncoding;

QByteArray Bytes(const char* text) { return QByteArray(text); }

TEST(PlainTextFormat, ReadsEachFileInItsEncodingAndLineEnd) {
    const struct {
        const char* name;
        QByteArray bytes;
        TextEncoding encoding;
        LineEnd lineEnd;
        QString text;
    } cases[] = {
        {"empty", "", TextEncoding::Cp1252, LineEnd::Lf, ""},
        {"ASCII, LF", "Zeile 1\nZeile 2\n", TextEncoding::Cp1252, LineEnd::Lf, "Zeile 1\nZeile 2\n"},
        {"ASCII, CR LF", "a\r\nb", TextEncoding::Cp1252, LineEnd::CrLf, "a\nb"},
        {"Windows-1252 umlauts", "Gr\xF6\xDF" "e \x80", TextEncoding::Cp1252, LineEnd::Lf,
         QString::fromUtf8("Größe €")},
        {"UTF-8 umlauts", "Gr\xC3\xB6\xC3\x9F" "e", TextEncoding::Utf8, LineEnd::Lf,
         QString::fromUtf8("Größe")},
        {"UTF-8 with BOM", "\xEF\xBB\xBF" "abc\r\n", TextEncoding::Utf8WithBom, LineEnd::CrLf,
         "abc\n"},
        {"BOM on ASCII", "\xEF\xBB\xBFx", TextEncoding::Utf8WithBom, LineEnd::Lf, "x"},
        {"UTF-8 glyphs", "\xE7\x94\xB2\xE5\xAD\x90", TextEncoding::Utf8, LineEnd::Lf,
         QString::fromUtf8("甲子")},
        {"UTF-8 emoji", "\xF0\x9F\x98\x80", TextEncoding::Utf8, LineEnd::Lf, QString::fromUtf8("😀")},
        // One byte that is no UTF-8 makes the whole file Windows-1252.
        {"mixed", "\xC3\xA4 \xE4", TextEncoding::Cp1252, LineEnd::Lf, QString::fromUtf8("Ã¤ ä")},
        {"overlong form", "\xC0\xAF", TextEncoding::Cp1252, LineEnd::Lf, QString::fromUtf8("À¯")},
        {"encoded surrogate", "\xED\xA0\x80", TextEncoding::Cp1252, LineEnd::Lf,
         QString::fromUtf8("í\u00A0€")},
        {"truncated sequence", "ab\xC3", TextEncoding::Cp1252, LineEnd::Lf, QString::fromUtf8("abÃ")},
        {"undefined bytes", "\x81\x8D\x8F\x90\x9D", TextEncoding::Cp1252, LineEnd::Lf,
         QString::fromUtf8("\u0081\u008D\u008F\u0090\u009D")},
        // A byte order mark before bytes that are not UTF-8: every byte is kept.
        {"BOM, then Latin-1", "\xEF\xBB\xBF\xE4", TextEncoding::Cp1252, LineEnd::Lf,
         QString::fromUtf8("ï»¿ä")},
        {"first line end decides", "a\nb\r\nc", TextEncoding::Cp1252, LineEnd::Lf, "a\nb\nc"},
        {"lone CR is a line break", "a\rb", TextEncoding::Cp1252, LineEnd::Cr, "a\nb"},
        {"first line end a lone CR", "a\rb\r\nc\n", TextEncoding::Cp1252, LineEnd::Cr, "a\nb\nc\n"},
        {"CR LF, then a lone CR", "a\r\nb\rc", TextEncoding::Cp1252, LineEnd::CrLf, "a\nb\nc"},
        {"NUL and controls", QByteArray("a\0b\x1A", 4), TextEncoding::Cp1252, LineEnd::Lf,
         QString::fromUtf8("a\0b\x1A", 4)},
        // Decoded and checked in one pass: what that pass could get wrong.
        {"CR at the end, CR CR LF", "a\r\r\nb\r", TextEncoding::Cp1252, LineEnd::Cr, "a\n\nb\n"},
        {"UTF-8, CR LF", "\xC3\xA4\r\n\xC3\xB6", TextEncoding::Utf8, LineEnd::CrLf, QString::fromUtf8("ä\nö")},
        {"UTF-8 and NUL", QByteArray("\xC3\xA4\0", 3), TextEncoding::Utf8, LineEnd::Lf,
         QString::fromUtf8("ä\0", 3)},
        {"line separator", "a\xE2\x80\xA8" "b", TextEncoding::Utf8, LineEnd::Lf, QString::fromUtf8("a\u2028b")},
        {"late bad byte", "\xC3\xA4\r\nx\xFF", TextEncoding::Cp1252, LineEnd::CrLf, QString::fromUtf8("Ã¤\nxÿ")},
        {"past U+10FFFF", "\xF4\x90\x80\x80", TextEncoding::Cp1252, LineEnd::Lf, QString::fromUtf8("ô\u0090€€")},
        {"overlong, 3 and 4 bytes", "\xE0\x80\x80\xF0\x8F\xBF\xBF", TextEncoding::Cp1252, LineEnd::Lf,
         QString::fromUtf8("à€€ð\u008F¿¿")},
        {"emoji cut off", "\xF0\x9F\x98", TextEncoding::Cp1252, LineEnd::Lf, QString::fromUtf8("ðŸ˜")},
    };
    for (const auto& c : cases) {
        PlainTextFormat format;
        QTextDocument document;
        format.read(c.bytes, document);
        EXPECT_EQ(format.layout().encoding, c.encoding) << c.name;
        EXPECT_EQ(format.layout().lineEnd, c.lineEnd) << c.name;
        EXPECT_EQ(document.toRawText().replace(QChar::ParagraphSeparator, u'\n'), c.text) << c.name;
    }
}

TEST(PlainTextFormat, UnchangedTextsAreWrittenByteForByte) {
    const QByteArray files[] = {
        "",
        "Notiz\n",
        "Notiz\r\nzweite Zeile\r\n\r\n",
        "ohne Zeilenende",
        "\r\n\r\n",
        "Gr\xF6\xDF" "e \x80 \x84Zitat\x93\r\n",
        "\x81\x8D\x8F\x90\x9D\xFF",
        "Gr\xC3\xB6\xC3\x9F" "e\n",
        "\xEF\xBB\xBF" "Gr\xC3\xB6\xC3\x9F" "e\r\n",
        "\xEF\xBB\xBF",
        "\xE7\x94\xB2\xE5\xAD\x90 \xF0\x9F\x98\x80\n",
        "\xEF\xBB\xBF\xE4\n",
        "tab\there\n",
        QByteArray("a\0b\n", 4),
        "Notiz\rzweite Zeile\r\r",
        "\xC3\xA4\rx",
        "eins\xE2\x80\xA8zwei\r\ndrei \xC3\xA4",
        // Longer than the pieces a read puts into the document one by one: line ends at
        // every place of a piece's border, and a paragraph longer than a piece.
        QByteArray("Zeile \xC3\xA4\r\n").repeated(60'000),
        QByteArray(300'000, 'x') + QByteArray("\nab").repeated(100'000),
    };
    for (const QByteArray& file : files) {
        PlainTextFormat format;
        QTextDocument document;
        format.read(file, document);
        EXPECT_EQ(format.write(document), file) << file.toHex().toStdString();
    }
}

TEST(PlainTextFormat, WritesWindows1252UnlessACharacterDoesNotFit) {
    const struct {
        const char* name;
        PlainTextLayout layout;
        QString text;
        QByteArray bytes;
    } cases[] = {
        {"new file", {}, QString::fromUtf8("Größe\nzwei"), "Gr\xF6\xDF" "e\nzwei"},
        {"new file, glyph", {}, QString::fromUtf8("甲子\nä"), "\xE7\x94\xB2\xE5\xAD\x90\n\xC3\xA4"},
        {"CR LF kept when switching to UTF-8", {TextEncoding::Cp1252, LineEnd::CrLf},
         QString::fromUtf8("ä\n😀"), "\xC3\xA4\r\n\xF0\x9F\x98\x80"},
        {"UTF-8 file stays UTF-8", {TextEncoding::Utf8, LineEnd::Lf}, "abc", "abc"},
        {"BOM kept", {TextEncoding::Utf8WithBom, LineEnd::CrLf}, QString::fromUtf8("ä\n"),
         "\xEF\xBB\xBF\xC3\xA4\r\n"},
        {"euro and quotes fit", {}, QString::fromUtf8("„€“"), "\x84\x80\x93"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PlainTextFormat::EncodeText(c.text, c.layout), c.bytes) << c.name;
        // Whatever was written reads back as the same text.
        EXPECT_EQ(PlainTextFormat::Decode(c.bytes).text, c.text)
            << c.name;
    }
}

TEST(PlainTextFormat, LineBreaksInsideAParagraphBecomeLineEnds) {
    QTextDocument document;
    QTextCursor cursor(&document);
    cursor.insertText(QStringLiteral("eins"));
    cursor.insertText(QString(QChar::LineSeparator));
    cursor.insertText(QStringLiteral("zwei"));
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("drei"));
    PlainTextFormat format;
    format.setLayout({TextEncoding::Cp1252, LineEnd::CrLf});
    EXPECT_EQ(format.write(document), Bytes("eins\r\nzwei\r\ndrei"));
}

TEST(PlainTextFormat, ReadingClearsTheUndoHistoryAndTheModifiedFlag) {
    QTextDocument document;
    QTextCursor(&document).insertText(QStringLiteral("alt"));
    ASSERT_TRUE(document.isUndoAvailable());
    ASSERT_TRUE(document.isModified());
    PlainTextFormat().read("neu", document);
    EXPECT_FALSE(document.isUndoAvailable());
    EXPECT_FALSE(document.isModified());
    EXPECT_EQ(document.toPlainText(), QStringLiteral("neu"));
}

// LoadFile's rule: in rich-text mode a file that is not RTF is read as plain text; in
// plain-text mode even RTF is shown as its markup.
TEST(NotesFile, ChoosesTheFormatFromModeAndContent) {
    const QByteArray rtf = "{\\rtf1\\ansi Hallo\\par}";
    const QByteArray plain = "Notiz \xFC" "ber {\\rtf";
    const struct {
        const char* name;
        QByteArray bytes;
        bool plainTextMode;
        bool readAsRtf;
        QString text;
    } cases[] = {
        {"RTF in rich-text mode", rtf, false, true, "Hallo"},
        {"RTF in plain-text mode", rtf, true, false, QString::fromLatin1(rtf)},
        {"plain text in rich-text mode", plain, false, false, QString::fromLatin1(plain)},
        {"blanks before RTF", "\r\n  " + rtf, false, true, "Hallo"},
        {"empty file in rich-text mode", "", false, false, ""},
    };
    for (const auto& c : cases) {
        editor::NotesFile file;
        QTextDocument document;
        EXPECT_EQ(file.read(c.bytes, c.plainTextMode, document), c.readAsRtf) << c.name;
        EXPECT_EQ(document.toPlainText(), c.text) << c.name;
        // The same when the bytes are handed over.
        QTextDocument taken;
        EXPECT_EQ(file.readTaking(c.bytes.toStdString(), c.plainTextMode, taken), c.readAsRtf)
            << c.name;
        EXPECT_EQ(taken.toPlainText(), c.text) << c.name;
    }
}

// The default notes file's history: first saved as plain text under an .RTF name, read back
// through the fallback, then saved as RTF.
TEST(NotesFile, PlainTextInAnRtfFileBecomesRtfOnTheNextSave) {
    editor::NotesFile file;
    QTextDocument document;
    QTextCursor(&document).insertText(QString::fromUtf8("erste Notiz ä"));
    const QByteArray first = file.write(document, true);
    EXPECT_EQ(first, Bytes("erste Notiz \xE4"));

    QTextDocument reread;
    EXPECT_FALSE(file.read(first, false, reread));
    EXPECT_EQ(reread.toPlainText(), QString::fromUtf8("erste Notiz ä"));
    const QByteArray second = file.write(reread, false);
    EXPECT_TRUE(editor::IsRtf(second));

    QTextDocument third;
    EXPECT_TRUE(file.read(second, false, third));
    EXPECT_EQ(third.toPlainText(), QString::fromUtf8("erste Notiz ä"));
}

TEST(NotesFile, StartNewForgetsTheLayoutOfTheLastFile) {
    editor::NotesFile file;
    QTextDocument document;
    file.read("\xEF\xBB\xBF" "a\r\nb", true, document);
    ASSERT_EQ(file.plainTextLayout(), (PlainTextLayout{TextEncoding::Utf8WithBom, LineEnd::CrLf}));
    file.startNew();
    document.setPlainText(QStringLiteral("x\ny"));
    EXPECT_EQ(file.write(document, true), Bytes("x\ny"));
}

TEST(NotesFile, AnRtfFileSavedAsPlainTextIsANewPlainTextFile) {
    editor::NotesFile file;
    QTextDocument document;
    file.read("\xEF\xBB\xBF" "a\r\nb", true, document);
    file.read("{\\rtf1 x\\par y}", false, document);
    EXPECT_EQ(file.write(document, true), Bytes("x\ny"));
}

TEST(RtfFormat, RefusesBytesThatAreNotRtf) {
    QTextDocument document;
    document.setPlainText(QStringLiteral("bleibt"));
    EXPECT_THROW(editor::RtfFormat().read("kein RTF", document), editor::FormatError);
    EXPECT_EQ(document.toPlainText(), QStringLiteral("bleibt"));
    EXPECT_FALSE(editor::IsRtf("{\\rt"));
    EXPECT_FALSE(editor::IsRtf("x{\\rtf1}"));
    EXPECT_TRUE(editor::IsRtf(" \t\r\n{\\rtf1}"));
}

}  // namespace
