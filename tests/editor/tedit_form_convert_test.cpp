// SPDX-License-Identifier: GPL-3.0-or-later
// The DOS/Windows conversions in the window: the question, the text converted both ways in
// place (rich text keeping its formats), the menu items, one undo step, and a conversion
// stopped by a close or by a load while it runs.
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTimer>

#include "edit_form_fixture.h"

using namespace editor_test;

namespace {

const QString AsciiQuestion = QString::fromUtf8(
    "Umwandlung eines DOS-Textes in das WINDOWS-Format.\r\nASCII -> ANSI-Konvertierung des ganzen Textes?");
const QString AnsiQuestion = QString::fromUtf8(
    "Umwandlung eines WINDOWS-Textes in das DOS-Format.\r\nANSI -> ASCII-Konvertierung des ganzen Textes?");

// DOS bytes: "ä ö ü ß Ä Ö Ü" and a box corner with a line.
const std::string DosLetters = "\x84 \x94 \x81 \xE1 \x8E \x99 \x9A\r\n\xDA\xC4\xC4\r\n";

class Conversion : public EditFormTest {
protected:
    // Converts as the user does: the menu item, then Yes to the question.
    void Convert(const char* item, platform::MessageButton answer = platform::ButtonYes) {
        dialogs.answers.push_back(answer);
        Trigger(item);
    }
    QString Line(int i) const { return form->Editor()->document()->findBlockByNumber(i).text(); }
    bool Enabled(const char* item) const { return form->Action(item)->isEnabled(); }

    // A text of `lines` lines "„ü" (DOS "ä", then an ANSI "ü" that DOS reads as "ü" too).
    void LoadLines(int lines, const char* name = "lang.txt") {
        std::string text;
        for (int i = 0; i < lines; ++i) text += "\x84 Zeile\n";
        folder.Write(name, text);
        form->LoadFile(Name(name));
        ShowAndActivate();
    }

    // Runs `action` once, from the event loop, as soon as the conversion has converted `line`.
    void WhenPast(int line, std::function<void()> action) {
        poll_.setInterval(0);
        QObject::connect(&poll_, &QTimer::timeout, [this, line, action] {
            if (form->Converting() && Line(line) == QString::fromUtf8("ä Zeile")) {
                poll_.stop();
                action();
            }
        });
        poll_.start();
    }

    // The first line still unconverted, after checking that all before it are converted and
    // all after it are not.
    int FirstUnconverted(int lines) const {
        int first = lines;
        for (int i = 0; i < lines; ++i) {
            const bool converted = Line(i) == QString::fromUtf8("ä Zeile");
            EXPECT_TRUE(converted || Line(i) == QString::fromUtf8("„ Zeile")) << i;
            if (!converted && first == lines) first = i;
            if (converted && first < lines) ADD_FAILURE() << "converted after a stop: " << i;
        }
        return first;
    }

    QTimer poll_;
};

}  // namespace

TEST_F(Conversion, DosLettersBothWaysAndBackToTheSameBytes) {
    folder.Write("dos.txt", DosLetters);
    form->LoadFile(Name("dos.txt"));
    ShowAndActivate();
    EXPECT_TRUE(Enabled("Ascii1"));
    EXPECT_TRUE(Enabled("Ansi1"));
    Convert("Ascii1");
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].text, AsciiQuestion);
    EXPECT_EQ(Messages()[0].kind, platform::MessageKind::Confirm);
    EXPECT_EQ(Messages()[0].buttons, unsigned(platform::ButtonYes | platform::ButtonNo));
    EXPECT_EQ(Text(), QString::fromUtf8("ä ö ü ß Ä Ö Ü\n┌──\n"));
    EXPECT_TRUE(form->Modified());
    EXPECT_FALSE(Enabled("Ascii1"));
    EXPECT_TRUE(Enabled("Ansi1"));
    EXPECT_FALSE(form->Converting());
    EXPECT_TRUE(form->Editor()->isVisible());

    Convert("Ansi1");
    EXPECT_EQ(Messages().back().text, AnsiQuestion);
    EXPECT_TRUE(Enabled("Ascii1"));
    EXPECT_FALSE(Enabled("Ansi1"));
    form->Save1Click();
    EXPECT_EQ(folder.Read("dos.txt"), DosLetters);
}

TEST_F(Conversion, NoChangesNothing) {
    folder.Write("dos.txt", DosLetters);
    form->LoadFile(Name("dos.txt"));
    ShowAndActivate();
    const QString before = Text();
    Convert("Ascii1", platform::ButtonNo);
    EXPECT_EQ(Text(), before);
    EXPECT_FALSE(form->Modified());
    EXPECT_TRUE(Enabled("Ascii1"));
    EXPECT_TRUE(Enabled("Ansi1"));
}

TEST_F(Conversion, EmptyTextAsksAndSwitchesTheItems) {
    ShowAndActivate();
    form->New1Click();
    Convert("Ansi1");
    EXPECT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Text(), "");
    EXPECT_TRUE(form->Modified());
    EXPECT_TRUE(Enabled("Ascii1"));
    EXPECT_FALSE(Enabled("Ansi1"));
    // A load offers both again.
    dialogs.answers = {platform::ButtonNo};
    form->New1Click();
    EXPECT_TRUE(Enabled("Ascii1"));
    EXPECT_TRUE(Enabled("Ansi1"));
}

TEST_F(Conversion, LongLineKeepsItsLength) {
    std::string line;
    for (int i = 0; i < 2500; ++i) line += (i % 3) ? "\x84" : "x";
    folder.Write("lang.txt", line + "\nEnde\n");
    form->LoadFile(Name("lang.txt"));
    ShowAndActivate();
    Convert("Ascii1");
    const QString converted = Line(0);
    ASSERT_EQ(converted.size(), 2500);
    EXPECT_EQ(converted.count(u'ä'), 2500 - 834);
    EXPECT_EQ(converted.count(u'x'), 834);
    EXPECT_EQ(Line(1), "Ende");
}

// A rich text keeps its bold word and its line break inside the paragraph.
TEST_F(Conversion, RichTextKeepsItsFormats) {
    folder.Write("dos.rtf",
                 "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Gr\\'81\\'e1e \\b f\\'81r\\b0\\line "
                 "B\\'84r\\par}");
    form->LoadFile(Name("dos.rtf"));
    ShowAndActivate();
    Convert("Ascii1");
    EXPECT_EQ(Line(0), QString::fromUtf8("Grüße für\u2028Bär"));
    QTextCursor in(form->Editor()->document());
    in.setPosition(8);  // inside "für"
    EXPECT_EQ(in.charFormat().fontWeight(), QFont::Bold);
    in.setPosition(3);
    EXPECT_NE(in.charFormat().fontWeight(), QFont::Bold);
}

// The whole conversion is one step for "Rückgängig".
TEST_F(Conversion, OneUndoStep) {
    LoadLines(30);
    Convert("Ascii1");
    EXPECT_EQ(Line(29), QString::fromUtf8("ä Zeile"));
    OpenMenu("Edit1");
    ASSERT_TRUE(Enabled("Undo1"));
    Trigger("Undo1");
    EXPECT_EQ(FirstUnconverted(30), 0);
}

// A close after a few hundred lines: the box, the window stays open, the lines after the
// stop stay as they were, also when the window is active again.
TEST_F(Conversion, CloseStopsIt) {
    constexpr int lines = 2000;
    LoadLines(lines);
    WhenPast(300, [this] { form->close(); });
    Convert("Ascii1");
    EXPECT_FALSE(form->Converting());
    ASSERT_EQ(Messages().size(), 2u);
    EXPECT_EQ(Messages()[1].text, QString::fromUtf8("Text unvollständig konvertiert !"));
    EXPECT_EQ(Messages()[1].kind, platform::MessageKind::Error);
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->Editor()->isVisible());
    const int first = FirstUnconverted(lines);
    EXPECT_GE(first, 300);
    EXPECT_LT(first, lines);
    EXPECT_EQ(first % 10, 0);  // events come through at every tenth line
    EXPECT_TRUE(form->Modified());
    EXPECT_FALSE(Enabled("Ascii1"));
    EXPECT_TRUE(Enabled("Ansi1"));
    EXPECT_FALSE(form->StopConversion());

    ShowAndActivate();
    EXPECT_EQ(FirstUnconverted(lines), first);
    // Not converting any more: the window closes after the save prompt.
    dialogs.answers = {platform::ButtonNo};
    form->close();
    EXPECT_FALSE(form->isVisible());
}

// A file opened during a conversion is not converted; the items switch as after it.
TEST_F(Conversion, LoadDuringItStopsIt) {
    constexpr int lines = 2000;
    LoadLines(lines);
    folder.Write("andere.txt", "\x84 andere\n\x84 zweite\n");
    WhenPast(300, [this] {
        dialogs.answers = {platform::ButtonNo};  // the converted part is dropped
        form->LoadFile(Name("andere.txt"));
    });
    Convert("Ascii1");
    EXPECT_EQ(Text(), QString::fromUtf8("„ andere\n„ zweite\n"));
    EXPECT_EQ(form->FileName(), Name("andere.txt"));
    EXPECT_FALSE(form->Converting());
    EXPECT_FALSE(form->StopConversion());
    EXPECT_FALSE(Enabled("Ascii1"));
    EXPECT_TRUE(Enabled("Ansi1"));
    EXPECT_TRUE(form->Editor()->isVisible());
}

// "&Neu" during a conversion: the lines beyond the emptied text are passed over.
TEST_F(Conversion, EmptiedDuringIt) {
    LoadLines(1000);
    WhenPast(300, [this] {
        dialogs.answers = {platform::ButtonNo};
        form->New1Click();
    });
    Convert("Ascii1");
    EXPECT_EQ(Text(), "");
    EXPECT_EQ(form->FileName(), "Unbekannt");
    EXPECT_FALSE(form->Converting());
}
