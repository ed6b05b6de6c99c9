// SPDX-License-Identifier: GPL-3.0-or-later
// The notes command (menu and F1), the notes window's settings, and the ways of ending the
// program with modified notes.
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>

#include "editor/editor_settings.h"
#include "editor/formats/notes_file.h"
#include "platform/qt/window_placement.h"
#include "window_fixture.h"

namespace {

using testing_support::Prompt;

class Notes : public testing_support::WindowTest {
protected:
    QString DefaultNotes() const { return Folder() + "tolvane.RTF"; }
    QString NoteText() const { return editForm->Editor()->toPlainText(); }
    // Types as a user does, one key event per character (umlauts included, which QTest's
    // keyClicks cannot send).
    void TypeNote(const QString& text) {
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(editForm->Editor(), &press);
            QApplication::sendEvent(editForm->Editor(), &release);
        }
    }
    void PressF1() { QTest::keyClick(form->Field("SEdit"), Qt::Key_F1); }
    std::vector<Prompt::Type> PromptTypes() const {
        std::vector<Prompt::Type> types;
        for (const Prompt& p : dialogs.prompts) types.push_back(p.type);
        return types;
    }
    // The text of a notes file as the window would show it.
    QString FileText(const std::filesystem::path& path, bool plainText) const {
        std::ifstream in(path, std::ios::binary);
        const std::string bytes(std::istreambuf_iterator<char>(in), {});
        QTextDocument document;
        editor::NotesFile().read(QByteArray::fromStdString(bytes), plainText, document);
        return document.toPlainText();
    }
};

TEST_F(Notes, EditorSettingsWithoutAFile) {
    ASSERT_TRUE(Create({"24031998", "14"}));
    EXPECT_EQ(editForm->FileName(), QString());  // nothing is read before the activation
    form->FormActivate();
    EXPECT_EQ(editForm->pos(), QPoint(0, 0));
    EXPECT_EQ(editForm->size(), QSize(579, 402));
    EXPECT_TRUE(editForm->WordWrap());
    EXPECT_TRUE(editForm->Action("Wordwrap1")->isChecked());
    EXPECT_EQ(editForm->FileName(), DefaultNotes());
    EXPECT_EQ(editForm->Settings().font.family(), "Arial");
    EXPECT_EQ(editForm->Settings().font.pointSize(), 10);
    EXPECT_EQ(editForm->Settings().suchText, "");
    EXPECT_FALSE(editForm->Settings().isBAK);
    EXPECT_EQ(editForm->Settings().lastPos, 0);
    EXPECT_FALSE(editForm->isVisible());
}

// The print margins are not stored: the first activation sets them to 20 mm.
TEST_F(Notes, PrintMarginsFromTheFirstActivation) {
    WriteSettings("[Editor]\r\nPrintMarginX=5\r\n");
    ASSERT_TRUE(Create({"24031998", "14"}));
    EXPECT_EQ(editForm->Settings().printMarginX, 0);
    EXPECT_EQ(editForm->Settings().printMarginY, 0);
    form->FormActivate();
    EXPECT_EQ(editForm->Settings().printMarginX, 20);
    EXPECT_EQ(editForm->Settings().printMarginY, 20);
}

// Every key read as written, and the end command writes the whole file back unchanged.
TEST_F(Notes, EditorSettingsReadAndWrittenBack) {
    std::ofstream(File("plan.txt")) << "Plan\n";
    const std::string settings =
        "[Main]\r\nLeft=7\r\nTop=8\r\n[Parameter]\r\nMoonSpeed=3\r\nSymbolSize=40\r\n"
        "TimerInterval=12000\r\nAutoFont=1\r\nEndMsg=0\r\n"
        "[Editor]\r\nLeft=31\r\nTop=42\r\nHeight=333\r\nWidth=611\r\nLastPos=5\r\n"
        "WordWrap=0\r\nFileName=" + Folder().toStdString() + "plan.txt\r\n"
        "SuchText=Mondjahr\r\nIsBAK=1\r\nFontName=Courier\r\nFontSize=12\r\n";
    WriteSettings(settings);
    Start({"24031998", "14"});
    EXPECT_EQ(editForm->pos(), QPoint(31, 42));
    EXPECT_EQ(editForm->size(), QSize(611, 333));
    EXPECT_EQ(editForm->Settings().lastPos, 5);
    EXPECT_FALSE(editForm->WordWrap());
    EXPECT_FALSE(editForm->Action("Wordwrap1")->isChecked());
    EXPECT_EQ(editForm->Editor()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(editForm->FileName(), Folder() + "plan.txt");
    EXPECT_EQ(editForm->Settings().suchText, "Mondjahr");
    EXPECT_TRUE(editForm->Settings().isBAK);
    EXPECT_EQ(editForm->Settings().font.family(), "Courier");
    EXPECT_EQ(editForm->Settings().font.pointSize(), 12);
    form->move(7, 8);
    Trigger("MenuEnde");
    ASSERT_TRUE(form->Ended());
    EXPECT_EQ(ReadSettings(), settings);
}

// Values that do not convert give the defaults; a notes file that is gone gives way to the
// default notes file, which the next save writes. Damaged bounds give a window on the screen
// at its default size, a size larger than the screen the screen's, and a caret before the
// text's start the start.
TEST_F(Notes, EditorSettingsThatDoNotFit) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QSize whole(screen.width(), screen.height() - platform::TitleBarHeight);
    const struct {
        std::string keys;
        QSize size;
    } rows[] = {
        {"Left=x\r\nHeight=\r\nLastPos=1e3\r\nWordWrap=ja\r\nFontSize=-4\r\n", {579, 402}},
        {"Left=90000\r\nTop=-5\r\nHeight=-5\r\nWidth=3\r\nLastPos=-1\r\n", {579, 402}},
        {"Width=100000\r\nHeight=100000\r\n", whole},
        {"Left=0\r\nTop=0\r\nWidth=" + std::to_string(screen.width()) + "\r\nHeight=" +
             std::to_string(whole.height() + 1) + "\r\n",
         whole},
    };
    for (const auto& [keys, size] : rows) {
        SCOPED_TRACE(keys);
        WriteSettings("[Editor]\r\n" + keys + "FileName=" + Folder().toStdString() + "weg.rtf\r\n");
        Start({"24031998", "14"});
        EXPECT_TRUE(screen.contains(QRect(editForm->pos(), editForm->size())));
        EXPECT_EQ(editForm->size(), size);
        EXPECT_EQ(editForm->Settings().lastPos, 0);
        EXPECT_TRUE(editForm->WordWrap());
        EXPECT_EQ(editForm->FileName(), DefaultNotes());
        EXPECT_EQ(editForm->Settings().font.pointSize(), 10);
        Trigger("MenuEnde");
        const std::string file = "FileName=" + DefaultNotes().toStdString();
        for (const std::string& key :
             {"Height=" + std::to_string(size.height()), "Width=" + std::to_string(size.width()),
              std::string("LastPos=0"), std::string("WordWrap=1"), file})
            EXPECT_NE(ReadSettings().find("\n" + key + "\r\n"), std::string::npos) << key;
    }
}

// F1 opens the notes on the default file when there is none yet; each later F1 reads the
// file again, after the save prompt: Yes saves first, No drops the changes, Cancel keeps
// them and shows the window all the same.
TEST_F(Notes, F1OpensTheNotesAndReloadsThemEachTime) {
    Start({"24031998", "14"});
    ShowAndActivate();
    PressF1();
    ASSERT_TRUE(editForm->isVisible());
    EXPECT_EQ(editForm->FileName(), DefaultNotes());
    EXPECT_EQ(editForm->windowTitle(), DefaultNotes());
    EXPECT_EQ(NoteText(), "");
    EXPECT_TRUE(dialogs.prompts.empty());
    ASSERT_TRUE(QTest::qWaitForWindowActive(editForm.get()));

    TypeNote(QStringLiteral("Grüße"));
    dialogs.answers = {platform::ButtonYes};
    PressF1();
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_EQ(dialogs.prompts[0].buttons,
              platform::ButtonYes | platform::ButtonNo | platform::ButtonCancel);
    EXPECT_EQ(FileText(File("tolvane.RTF"), false), QStringLiteral("Grüße"));
    EXPECT_EQ(NoteText(), QStringLiteral("Grüße"));
    EXPECT_FALSE(editForm->Modified());

    TypeNote("!");
    dialogs.answers = {platform::ButtonNo};
    PressF1();
    EXPECT_EQ(NoteText(), QStringLiteral("Grüße"));

    TypeNote("?");
    dialogs.answers = {platform::ButtonCancel};
    editForm->hide();
    PressF1();
    EXPECT_EQ(dialogs.prompts.size(), 3u);
    EXPECT_TRUE(editForm->Modified());
    EXPECT_TRUE(NoteText().contains('?'));
    EXPECT_TRUE(editForm->isVisible());

    // The menu item does the same as the key.
    dialogs.answers = {platform::ButtonNo};
    Trigger("MenuNotizen");
    EXPECT_EQ(NoteText(), QStringLiteral("Grüße"));
    Trigger("MenuEndMsg");  // let the fixture close without a question
}

// F1 after the notes file vanished with its folder: the text is offered for saving under
// its own name, and only once it is saved or dropped does F1 turn to the default notes
// file, which never receives another file's text.
TEST_F(Notes, F1AfterTheNotesFileVanished) {
    Start({"24031998", "14"});
    ShowAndActivate();
    std::filesystem::create_directory(File("sub"));
    std::ofstream(File("sub/x.txt"), std::ios::binary) << "x";
    const std::string defaultNotes = "{\\rtf1\\ansi Standard\\par}";
    std::ofstream(File("tolvane.RTF"), std::ios::binary) << defaultNotes;
    const QString x = Folder() + "sub/x.txt";
    editForm->LoadFile(x);
    TypeNote("neu ");
    std::filesystem::remove_all(File("sub"));
    dialogs.answers = {platform::ButtonYes};
    PressF1();
    ASSERT_EQ(dialogs.prompts.size(), 2u);
    EXPECT_EQ(dialogs.prompts[0].text, x + " speichern ?");
    EXPECT_EQ(dialogs.prompts[1].text, x + ": Schreibfehler");
    EXPECT_EQ(editForm->FileName(), x);
    EXPECT_EQ(NoteText(), "neu x");
    EXPECT_TRUE(editForm->Modified());
    EXPECT_TRUE(editForm->isVisible());
    std::ifstream in(File("tolvane.RTF"), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), defaultNotes);

    dialogs.answers = {platform::ButtonNo};
    PressF1();
    EXPECT_EQ(dialogs.prompts[2].text, x + " speichern ?");
    EXPECT_EQ(editForm->FileName(), DefaultNotes());
    EXPECT_EQ(NoteText(), "Standard");
    Trigger("MenuEndMsg");  // let the fixture close without a question
}

// Every way of ending with modified notes offers Save As first (cancelled here); only the
// end command and the "lokaler Font" box save the settings, and only No keeps the program.
TEST_F(Notes, EveryWayOfEndingOffersToSaveTheNotes) {
    enum class Way { EndCommand, LocalFontYes, Close };
    struct Row {
        const char* name;
        Way way;
        bool endMsg;
        std::deque<platform::MessageButton> answers;
        std::vector<Prompt::Type> prompts;
        bool settingsSaved;
        bool ended;
    };
    using P = Prompt;
    const Row rows[] = {
        {"end command", Way::EndCommand, true, {}, {P::SaveFile}, true, true},
        {"lokaler Font, Yes", Way::LocalFontYes, true, {platform::ButtonYes},
         {P::MessageBox, P::SaveFile}, true, true},
        {"close, End-Msg, Yes", Way::Close, true, {platform::ButtonYes},
         {P::SaveFile, P::MessageBox}, false, true},
        {"close, End-Msg, No", Way::Close, true, {platform::ButtonNo},
         {P::SaveFile, P::MessageBox}, false, false},
        {"close without End-Msg", Way::Close, false, {}, {P::SaveFile}, false, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::filesystem::remove(File("tolvane.INI"));
        WriteSettings(row.endMsg ? "" : "[Parameter]\r\nEndMsg=0\r\n");
        Start({"24031998", "14"});
        PressF1();
        TypeNote("Notiz");
        dialogs.prompts.clear();
        dialogs.answers = row.answers;
        switch (row.way) {
        case Way::EndCommand: Trigger("MenuEnde"); break;
        case Way::LocalFontYes: Trigger("MenuAutoFont"); break;
        case Way::Close: form->close(); break;
        }
        EXPECT_EQ(PromptTypes(), row.prompts);
        EXPECT_EQ(ReadSettings().find("[Editor]") != std::string::npos, row.settingsSaved);
        EXPECT_EQ(form->Ended(), row.ended);
        EXPECT_FALSE(std::filesystem::exists(File("tolvane.RTF")));  // Save As was cancelled
        if (!form->Ended()) Trigger("MenuEndMsg");
    }
}

// While the notes are being converted, no way of ending goes ahead: each shows only the
// error box (the "lokaler Font" box first where that is the way), and nothing is saved.
TEST_F(Notes, NoEndWhileTheNotesAreConverted) {
    enum class Way { EndCommand, LocalFontYes, CloseWithEndMsg, CloseWithoutEndMsg };
    const Way ways[] = {Way::EndCommand, Way::LocalFontYes, Way::CloseWithEndMsg,
                        Way::CloseWithoutEndMsg};
    std::string lines;
    for (int i = 0; i < 1000; ++i) lines += "\x84 Zeile\r\n";
    for (const Way way : ways) {
        SCOPED_TRACE(static_cast<int>(way));
        std::filesystem::remove(File("tolvane.INI"));
        WriteSettings(way == Way::CloseWithoutEndMsg ? "[Parameter]\r\nEndMsg=0\r\n" : "");
        std::ofstream(File("tolvane.RTF"), std::ios::binary) << lines;
        Start({"24031998", "14"});
        PressF1();
        QTimer poll;
        poll.setInterval(0);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            const QTextDocument* text = editForm->Editor()->document();
            if (!editForm->Converting() || !text->findBlockByNumber(100).text().startsWith(u'ä'))
                return;
            poll.stop();
            dialogs.prompts.clear();
            switch (way) {
            case Way::EndCommand: form->Action("MenuEnde")->trigger(); break;
            case Way::LocalFontYes:
                dialogs.answers = {platform::ButtonYes};
                form->Action("MenuAutoFont")->trigger();
                break;
            default: form->close(); break;
            }
        });
        poll.start();
        dialogs.answers = {platform::ButtonYes};  // "ASCII -> ANSI-Konvertierung …?"
        QMetaObject::invokeMethod(editForm->Action("Ascii1"), "trigger", Qt::QueuedConnection);
        ASSERT_TRUE(WaitFor([&] { return !poll.isActive() && !editForm->Converting(); }));
        std::vector<QString> expected = {"Text-Konversion läuft noch."};
        if (way == Way::LocalFontYes) expected.insert(expected.begin(), dialogs.prompts[0].text);
        EXPECT_EQ(dialogs.MessageTexts(), expected);
        EXPECT_EQ(dialogs.prompts.back().kind, platform::MessageKind::Error);
        EXPECT_EQ(PromptTypes(), std::vector<Prompt::Type>(expected.size(), Prompt::MessageBox));
        EXPECT_FALSE(form->Ended());
        EXPECT_EQ(ReadSettings().find("[Editor]"), std::string::npos);
        EXPECT_EQ(NoteText().count(QStringLiteral("ä Zeile")), 1000);  // the conversion ended
        dialogs.answers = {platform::ButtonNo};  // drop the converted text, then end
        if (form->EndMsg()) Trigger("MenuEndMsg");
        form->close();
        EXPECT_TRUE(form->Ended());
    }
}

// In the running program the end is final: the notes window, whose text is still
// modified after Save As was cancelled, does not ask again, and the event loop ends.
TEST_F(Notes, TheEventLoopEndsWithoutAnotherQuestion) {
    for (const bool endCommand : {true, false}) {
        SCOPED_TRACE(endCommand);
        WriteSettings("[Parameter]\r\nEndMsg=0\r\n");
        Start({"24031998", "14"});
        PressF1();
        TypeNote("Notiz");
        dialogs.prompts.clear();
        QTimer::singleShot(0, [&] {
            if (endCommand)
                form->Action("MenuEnde")->trigger();
            else
                form->close();
        });
        QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });
        EXPECT_EQ(QCoreApplication::exec(), 0);
        EXPECT_EQ(PromptTypes(), std::vector<Prompt::Type>{Prompt::SaveFile});
    }
}

// A name chosen in the Save As dialog of the end command gets the notes.
TEST_F(Notes, EndCommandSavesModifiedNotesUnderTheChosenName) {
    Start({"24031998", "14"});
    PressF1();
    TypeNote(QStringLiteral("Jahresbeginn prüfen"));
    dialogs.files = {{Folder() + "jahr.rtf"}};
    Trigger("MenuEnde");
    EXPECT_TRUE(form->Ended());
    EXPECT_EQ(FileText(File("jahr.rtf"), false), QStringLiteral("Jahresbeginn prüfen"));
    EXPECT_NE(ReadSettings().find("FileName=" + Folder().toStdString() + "jahr.rtf\r\n"),
              std::string::npos);
}

}  // namespace
