// SPDX-License-Identifier: GPL-3.0-or-later
// What the notes keep of an RTF file beyond its look: hidden text, tracked changes and
// fields written back as they were read, section breaks, and what the reader had to skip.
#include <gtest/gtest.h>

#include <QTextCursor>

#include "editor/formats/notes_file.h"
#include "editor/formats/rtf_kept.h"
#include "editor/formats/rtf_writer.h"
#include "rtf_test_support.h"

namespace {

using editor_test::FormatAt;
using editor_test::ReadText;

QByteArray Rtf(const char* body) {
    return QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}") + body + "}";
}

// Which kinds of content the reader reports as skipped, and so whether a save asks.
TEST(RtfKept, SkippedContentThatASaveWouldDrop) {
    struct Case {
        const char* body;
        const char* unkept;  // "": no question
    };
    const Case cases[] = {
        {"a{\\object\\objemb{\\*\\objdata 0102}{\\result b}}", "eingebettete Objekte"},
        // A drawing that shows neither picture nor text; one that shows its text.
        {"a{\\shp{\\*\\shpinst{\\sp{\\sn gtextUNICODE}{\\sv Kasten}}}}", "Zeichnungen"},
        {"a{\\shp{\\*\\shpinst{\\shptxt Kasten}}}{\\*\\do\\dobxpage}", "Zeichnungen"},
        {"a{\\shp{\\*\\shpinst{\\shptxt Kasten}}}", ""},
        {"{\\header Kopf}{\\footerf Fuß}x", "Kopf- und Fußzeilen"},
        {"x{\\*\\atnid A}{\\*\\annotation Notiz}", "Kommentare"},
        // A drawing as a field's result: it is the result, and it is lost.
        {"{\\field{\\*\\fldinst SHAPE}{\\fldrslt{\\shp 00}}}", "Zeichnungen"},
        // Tables, styles and metadata hold nothing the text shows.
        {"{\\stylesheet{\\s1 Titel;}}{\\info{\\title T}}{\\*\\pgdsctbl{\\pgdsc0 Standard;}}x", ""},
        {"{\\*\\generator LibreOffice}{\\*\\revtbl{Unknown;}}{\\listtable{\\list x}}x", ""},
        // Skipped as part of a skipped destination: its kind is not its own.
        {"{\\info{\\*\\company{\\pict 00}}}x", ""},
        {"{\\fonttbl{\\f1{\\*\\panose 00}{\\object 00}Arial;}}x", ""},
        // An optional destination we do not know: lost when it holds text, not for blanks
        // or where it stands in another skipped one.
        {"x{\\*\\unbekannt {\\b Text}}", "unbekannte Inhalte"},
        {"x{\\*\\unbekannt  }{\\*\\pgdsctbl{\\pgdsc0 Standard;}}", ""},
        {"{\\info{\\*\\unbekannt Text}}{\\*\\fldinst{\\*\\unbekannt Text}}x", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        editor::NotesFile file;
        QTextDocument document;
        ASSERT_TRUE(file.read(Rtf(c.body), false, document));
        EXPECT_EQ(file.unkept().toStdString(), c.unkept);
        if (*c.unkept == 0) continue;
        // Once agreed to, not again for this text; plain text and a new text lose nothing.
        file.acceptLoss();
        EXPECT_TRUE(file.unkept().isEmpty());
        for (const bool plainText : {false, true}) {
            file.read(Rtf(c.body), false, document);
            EXPECT_FALSE(file.unkept().isEmpty());
            if (plainText) {
                file.read(Rtf(c.body), true, document);
            } else {
                file.startNew();
            }
            EXPECT_TRUE(file.unkept().isEmpty());
        }
    }
}

// A \sect ends the paragraph it stands in, none after a \par.
TEST(RtfKept, SectionBreaks) {
    const std::pair<const char*, const char*> cases[] = {
        {"a\\par\\sect\\sectd b\\par", "a\nb"},
        {"a\\sect b\\sect", "a\nb"},
        {"\\sect a\\par", "a"},
        {"a\\par\\page b", "a\n\nb"},
    };
    for (const auto& [body, text] : cases) {
        EXPECT_EQ(ReadText(Rtf(body)).toStdString(), text) << body;
    }
}

// What LibreOffice writes, written back by us: the same control words with their authors
// and times, and read again the same.
TEST(RtfKept, HiddenTextChangesAndFieldsRoundTrip) {
    const QByteArray rtf = Rtf(
        "{\\*\\revtbl {Unknown;}{Anna Alt;}{Bert Bunt;}}"
        "Sicht{\\v bar} {\\deleted\\revauthdel1\\revdttmdel1203972756 alt}"
        "{\\revised\\revauth2\\revdttm1740845790 neu} "
        "{\\field{\\*\\fldinst { PAGE }}} und "
        "{\\field{\\*\\fldinst { EQ \\\\* jc3 \\\\o\\\\al(\\\\s\\\\up 11(kan),\\u28450?)}}"
        "{\\fldrslt {}}}"
        "{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt Link}}\\par");
    QTextDocument document;
    editor::ReadRtf(rtf, document);
    EXPECT_EQ(editor_test::Text(document), QString("Sichtbar altneu \u2060 und 漢Link"));
    const QByteArray written = editor::WriteRtf(document);
    for (const char* words :
         {"{\\*\\revtbl {Unknown;}{Anna Alt;}{Bert Bunt;}}", "Sicht{\\v bar}",
          "{\\deleted\\revauthdel1\\revdttmdel1203972756 alt}",
          "{\\revised\\revauth2\\revdttm1740845790 neu}",
          "{{\\field{\\*\\fldinst  PAGE }{\\fldrslt }}}",
          "{{\\field{\\*\\fldinst  EQ \\\\* jc3 \\\\o\\\\al(\\\\s\\\\up 11(kan),\\u28450\\'3f)}{\\fldrslt }}}",
          "{\\fldrslt{Link}}}\\par"}) {
        EXPECT_TRUE(written.contains(words)) << words << "\n" << written.toStdString();
    }
    QTextDocument reread;
    editor::ReadRtf(written, reread);
    EXPECT_EQ(editor_test::Text(reread), editor_test::Text(document));
    const QTextCharFormat hidden = FormatAt(reread, "bar");
    EXPECT_TRUE(hidden.hasProperty(editor::kept::Hidden));
    EXPECT_EQ(hidden.underlineStyle(), QTextCharFormat::DotLine);
    // Written back, the look (see libreoffice_behalten.fmt) is no format of the text's own.
    for (const char* look : {"\\strike", "\\ul", "\\cf"}) EXPECT_FALSE(written.contains(look));

    // A ruby base edited in the editor is the base written.
    QTextCursor cursor = document.find(QString::fromUtf8("漢"));
    cursor.insertText(QString::fromUtf8("字"));
    EXPECT_TRUE(editor::WriteRtf(document).contains(
        "(\\\\s\\\\up 11(kan),\\u23383\\'3f)}{\\fldrslt }"));
    // Text typed right after a field that shows nothing takes its format: it stays text. So
    // does text in the field's format before its mark (a list's number read into a paragraph
    // that starts with a field), and it stays before it.
    QTextCursor after = document.find(QString(QChar(editor::kFieldMark)));
    after.clearSelection();
    after.insertText("S. ");
    QTextCursor before(&document);
    before.setPosition(after.position() - 4);
    before.insertText("vor", FormatAt(document, QString(QChar(editor::kFieldMark))));
    EXPECT_EQ(editor_test::Text(document), QString("Sichtbar altneu vor⁠S.  und 字Link"));
    QTextDocument typed;
    editor::ReadRtf(editor::WriteRtf(document), typed);
    EXPECT_EQ(editor_test::Text(typed), editor_test::Text(document));
}

// Read, written and read again, the text shows the same: a ruby base holding a tab or a
// line break (as a control word or as the character itself; written as \tab and \line), and
// fields' characters in a font of another character set (Shift-JIS here), in the result, the
// link's target and the instruction.
TEST(RtfKept, RoundTripShowsTheSame) {
    const auto LastLink = [](const QTextDocument& document) {
        QTextCursor end(document.lastBlock());
        end.movePosition(QTextCursor::EndOfBlock);
        return end.charFormat().anchorHref();
    };
    const QByteArray shiftJis =
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset128 \\'82\\'6c\\'82\\'72 "
        "\\'96\\'be\\'92\\'a9;}}\\f1 ";
    struct Case {
        QByteArray rtf;
        QString shown;
        const char* written;  // a part of what we write, or nullptr
    };
    const Case cases[] = {
        {Rtf("{\\field{\\*\\fldinst EQ \\\\o\\\\al(\\\\s\\\\up 11(r),x\\tab y)}{\\fldrslt }}"), "x\ty",
         nullptr},
        {Rtf("{\\field{\\*\\fldinst EQ \\\\o\\\\al(\\\\s\\\\up 11(r),x\ty)}{\\fldrslt }}"), "x\ty", nullptr},
        {Rtf("{\\field{\\*\\fldinst EQ \\\\o\\\\al(\\\\s\\\\up 11(r),x\\line y)}{\\fldrslt }}"),
         QString("x") + QChar::LineSeparator + "y", nullptr},
        {shiftJis + "a{\\field{\\*\\fldinst EQ \\\\o\\\\al(\\\\s\\\\up 11(r),\\u233?\\u20108?)}{\\fldrslt }}\\par}",
         QString::fromUtf8("aé二"), nullptr},
        {shiftJis + "b{\\field{\\*\\fldinst HYPERLINK \"\\u233?\"}{\\fldrslt Verweis}}\\par}", "bVerweis",
         nullptr},
        {shiftJis + "{\\field{\\*\\fldinst PAGE \\u233?}{\\fldrslt }}\\par}", QChar(editor::kFieldMark),
         "PAGE \\u233\\'3f"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rtf.toStdString());
        QTextDocument document;
        editor::ReadRtf(c.rtf, document);
        EXPECT_EQ(editor_test::Text(document), c.shown);
        const QByteArray written = editor::WriteRtf(document);
        QTextDocument reread;
        editor::ReadRtf(written, reread);
        EXPECT_EQ(editor_test::Text(reread), c.shown) << written.toStdString();
        EXPECT_EQ(LastLink(reread), LastLink(document));
        if (c.written) {
            EXPECT_TRUE(written.contains(c.written)) << written.toStdString();
        }
    }
}

}  // namespace
