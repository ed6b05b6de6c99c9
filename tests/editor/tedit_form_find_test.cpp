// SPDX-License-Identifier: GPL-3.0-or-later
// Find and replace through the modeless dialogs, as a user types and clicks in them: forward
// search without wrap-around, whole words, the a-z folding of replace, the answers to the
// question at each hit and the summary.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTimer>

#include "edit_form_fixture.h"
#include "editor/find_dialog.h"

using namespace editor_test;
using platform::ButtonAll;
using platform::ButtonCancel;
using platform::ButtonNo;
using platform::ButtonYes;

namespace {

class FindReplace : public EditFormTest {
protected:
    // A fresh text; the changes to the last one are dropped.
    void Load(const std::string& text) {
        folder.Write("notiz.txt", text);
        if (form->Modified()) dialogs.answers.push_front(ButtonNo);
        form->LoadFile(Name("notiz.txt"));
        dialogs.prompts.clear();
        ShowAndActivate();
        Caret(0);
    }
    // Opens the dialog from the menu and types the texts into it.
    editor::FindDialog* Open(const char* command, const QString& find,
                             const QString& replace = QString()) {
        Trigger(command);
        editor::FindDialog* dialog = std::string_view(command) == "Suchen1" ? form->FindDialog1()
                                                                           : form->ReplaceDialog1();
        EXPECT_TRUE(dialog && dialog->isVisible());
        auto* edit = dialog->findChild<QLineEdit*>("FindText");
        edit->selectAll();
        TypeInto(edit, find);
        if (auto* with = dialog->findChild<QLineEdit*>("ReplaceText")) {
            with->selectAll();
            TypeInto(with, replace);
        }
        return dialog;
    }
    // Key by key, with the text each key brings (QTest's own knows ASCII keys only).
    static void TypeInto(QWidget* field, const QString& text) {
        if (text.isEmpty()) QTest::keyClick(field, Qt::Key_Delete);
        for (const QChar c : text) {
            QTest::sendKeyEvent(QTest::Press, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
    // A click on the box itself, at the left end of the widget.
    static void Tick(editor::FindDialog* dialog, const char* name) {
        auto* box = dialog->findChild<QCheckBox*>(name);
        const bool was = box->isChecked();
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
        ASSERT_NE(box->isChecked(), was) << name;
    }
    static void Press(editor::FindDialog* dialog, const char* button) {
        QTest::mouseClick(dialog->findChild<QPushButton*>(button), Qt::LeftButton);
    }
    static QString NotFound(const QString& text) { return "Kann \"" + text + "\" nicht finden."; }
    static constexpr unsigned QuestionButtons = ButtonYes | ButtonNo | ButtonCancel | ButtonAll;
};

}  // namespace

// Hits at 0, 4 and 8, then the message with the last hit still selected; no wrap-around.
TEST_F(FindReplace, FindNextGoesForwardOnly) {
    Load("abc abc abc");
    Setting([](editor::EditorSettings& s) { s.suchText = "vorher"; });
    Trigger("Suchen1");
    EXPECT_EQ(form->FindDialog1()->FindText(), "vorher");  // the last search text is offered
    editor::FindDialog* dialog = Open("Suchen1", "abc");
    for (const int at : {0, 4, 8}) {
        Press(dialog, "FindNext");
        EXPECT_EQ(Selection(), std::make_pair(at, at + 3));
        EXPECT_EQ(Status(), QString("Zeile:   1   Spalte: %1").arg(at + 1, 3));  // the hit's start
    }
    EXPECT_TRUE(dialogs.prompts.empty());
    Press(dialog, "FindNext");
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].text, NotFound("abc"));
    EXPECT_EQ(Messages()[0].kind, platform::MessageKind::Plain);
    EXPECT_EQ(Messages()[0].buttons, unsigned(platform::ButtonOk));
    EXPECT_EQ(Selection(), std::make_pair(8, 11));
    EXPECT_EQ(form->Settings().suchText, "abc");

    Caret(11);  // after the last hit: earlier hits are not found
    Press(dialog, "FindNext");
    EXPECT_EQ(Messages().size(), 2u);
    Caret(5);
    Press(dialog, "FindNext");
    EXPECT_EQ(Selection(), std::make_pair(8, 11));

    // The tool bar's button and F7 open the same dialog again with the search text.
    dialog->close();
    Trigger("SuchBtn");
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->FindText(), "abc");
}

// On a German desktop the texts of its own find and replace dialogs.
TEST(FindDialogTexts, German) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Switzerland));
    const editor::FindDialog dialog(editor::FindDialog::Kind::Replace, nullptr);
    QLocale::setDefault(QLocale::c());
    QStringList texts{dialog.windowTitle()};
    for (const QLabel* label : dialog.findChildren<QLabel*>()) texts << label->text();
    for (const QAbstractButton* b : dialog.findChildren<QAbstractButton*>()) texts << b->text();
    EXPECT_EQ(texts, QStringList({"Ersetzen", "Suchen &nach:", "Ersetzen &durch:",
                                  "Nur ganzes &Wort suchen", "&Groß-/Kleinschreibung",
                                  "&Weitersuchen", "&Ersetzen", "&Alle ersetzen", "Abbrechen"}));
}

TEST_F(FindReplace, WholeWordAndMatchCase) {
    Load("xabcx ABC abc");
    editor::FindDialog* dialog = Open("Suchen1", "abc");
    Press(dialog, "FindNext");
    EXPECT_EQ(Selection(), std::make_pair(1, 4));  // inside a word, any case
    Caret(0);
    Tick(dialog, "WholeWord");
    Press(dialog, "FindNext");
    EXPECT_EQ(Selection(), std::make_pair(6, 9));
    Caret(0);
    Tick(dialog, "MatchCase");
    Press(dialog, "FindNext");
    EXPECT_EQ(Selection(), std::make_pair(10, 13));
    EXPECT_TRUE(dialogs.prompts.empty());
}

TEST_F(FindReplace, NothingToSearchForDisablesTheButtons) {
    Load("abc");
    editor::FindDialog* dialog = Open("Ersetzen1", "");
    for (const char* b : {"FindNext", "Replace", "ReplaceAll"})
        EXPECT_FALSE(dialog->findChild<QPushButton*>(b)->isEnabled()) << b;
    TypeInto(dialog->findChild<QLineEdit*>("FindText"), "a");
    for (const char* b : {"FindNext", "Replace", "ReplaceAll"})
        EXPECT_TRUE(dialog->findChild<QPushButton*>(b)->isEnabled()) << b;
}

// The replace questions: the answers, what they replace, the messages that follow.
TEST_F(FindReplace, AnswersToTheQuestion) {
    struct Case {
        const char* name;
        const char* button;
        std::vector<platform::MessageButton> answers;
        const char* after;
        std::vector<QString> messages;  // after the questions
        int questions;
    };
    const QString summary3 = "3 Vorkommen von \"a\" durch \"aa\" ersetzt.";
    const Case cases[] = {
        {"replace-all of a by aa ends", "ReplaceAll", {ButtonYes, ButtonYes, ButtonYes},
         "aa xaa aa", {NotFound("a"), summary3}, 3},
        {"All at the first hit of a replace-all", "ReplaceAll", {ButtonAll}, "aa xaa aa",
         {NotFound("a"), summary3}, 1},
        {"All after replace replaces nothing", "Replace", {ButtonAll}, "a xa a", {}, 1},
        {"No at every hit", "ReplaceAll", {ButtonNo, ButtonNo, ButtonNo}, "a xa a",
         {NotFound("a")}, 3},
        {"Cancel mid-way", "ReplaceAll", {ButtonYes, ButtonCancel}, "aa xa a",
         {"1 Vorkommen von \"a\" durch \"aa\" ersetzt."}, 2},
        {"replace once", "Replace", {ButtonYes}, "aa xa a",
         {"1 Vorkommen von \"a\" durch \"aa\" ersetzt."}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load("a xa a");
        editor::FindDialog* dialog = Open("Ersetzen1", "a", "aa");
        dialogs.answers.assign(c.answers.begin(), c.answers.end());
        Press(dialog, c.button);
        EXPECT_EQ(Text(), c.after);
        const std::vector<testing_support::Prompt> shown = Messages();
        ASSERT_EQ(shown.size(), c.questions + c.messages.size());
        for (int i = 0; i < c.questions; ++i) {
            EXPECT_EQ(shown[i].text, "diesen Text ersetzen?");
            EXPECT_EQ(shown[i].kind, platform::MessageKind::Confirm);
            EXPECT_EQ(shown[i].buttons, QuestionButtons);
        }
        for (std::size_t i = 0; i < c.messages.size(); ++i) {
            EXPECT_EQ(shown[c.questions + i].text, c.messages[i]);
            EXPECT_EQ(shown[c.questions + i].kind, platform::MessageKind::Plain);
        }
        // Each box belongs to the dialog, which gets the focus back when the box closes.
        for (const auto& box : shown) EXPECT_EQ(box.owner, dialog) << box.text.toStdString();
        EXPECT_EQ(form->Modified(), QString(c.after) != "a xa a");
        EXPECT_EQ(form->TextLength(), Text().size());
        // Unanswered questions would mean a question too few.
        EXPECT_TRUE(dialogs.answers.empty());
    }
}

// Replace takes the selection for the hit after folding a-z only; whole word plays no part.
TEST_F(FindReplace, TheSelectionTest) {
    // "Ä" is found for "ä" but is not the hit: replace ends there without a word.
    Load("xÄx");
    editor::FindDialog* dialog = Open("Ersetzen1", "ä", "y");
    Press(dialog, "Replace");
    EXPECT_EQ(Selection(), std::make_pair(1, 2));
    EXPECT_EQ(Text(), "xÄx");
    EXPECT_TRUE(dialogs.prompts.empty());

    // "ABC" selected counts for "abc", and a selection by hand inside a word is replaced
    // although whole words are asked for.
    Load("xABCx");
    dialog = Open("Ersetzen1", "abc", "-");
    Tick(dialog, "WholeWord");
    Select(1, 4);
    dialogs.answers = {ButtonYes};
    Press(dialog, "Replace");
    EXPECT_EQ(Text(), "x-x");
    EXPECT_EQ(Messages().back().text, "1 Vorkommen von \"abc\" durch \"-\" ersetzt.");
}

TEST_F(FindReplace, DialogsCloseWithTheWindow) {
    Load("abc");
    Open("Suchen1", "a");
    Open("Ersetzen1", "a");
    form->close();
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(form->FindDialog1()->isVisible());
    EXPECT_FALSE(form->ReplaceDialog1()->isVisible());
}

// A replace-all that runs on without questions: every hit, up to the last line, although
// each replacement makes the text longer; the whole of it is one step for "Rückgängig".
TEST_F(FindReplace, ReplaceAllWithoutQuestionsReachesTheEndAndUndoesAsOne) {
    std::string text;
    for (int i = 0; i < 2000; ++i) text += "Termin am Tag\n";
    Load(text);
    editor::FindDialog* dialog = Open("Ersetzen1", "Termin", "Verabredung");
    dialogs.answers = {ButtonAll};
    Press(dialog, "ReplaceAll");
    EXPECT_EQ(Text().count("Verabredung am Tag\n"), 2000);
    EXPECT_FALSE(Text().contains("Termin"));
    EXPECT_EQ(form->TextLength(), Text().size());
    EXPECT_EQ(Messages().back().text, "2000 Vorkommen von \"Termin\" durch \"Verabredung\" ersetzt.");
    EXPECT_EQ(Status(), "Zeile: 2000   Spalte:  12");  // the caret after the last replacement
    OpenMenu("Edit1");
    ASSERT_TRUE(form->Action("Undo1")->isEnabled());
    Trigger("Undo1");
    EXPECT_EQ(Text().toStdString(), text);
}

// The texts, the options and which button was pressed are read once, at the press: changed
// in the dialog meanwhile, they change neither the run nor its summary.
TEST_F(FindReplace, ReplaceReadsTheDialogOnce) {
    Load("a a a");
    editor::FindDialog* dialog = Open("Ersetzen1", "a", "b");
    QTimer::singleShot(0, [&] {
        for (const char* field : {"FindText", "ReplaceText"}) {
            auto* edit = dialog->findChild<QLineEdit*>(field);
            edit->selectAll();
            TypeInto(edit, "x");
        }
        Press(dialog, "Replace");  // ignored while the replace-all runs
    });
    dialogs.answers = {ButtonYes, ButtonYes, ButtonYes};
    Press(dialog, "ReplaceAll");
    EXPECT_EQ(Text(), "b b b");
    EXPECT_EQ(Messages().back().text, "3 Vorkommen von \"a\" durch \"b\" ersetzt.");
}

// A load, "&Neu" or a close while a replace-all runs on after All stops it at once: not
// one more replacement and no summary. (After a load it used to replace into nothing for
// ever.)
TEST_F(FindReplace, ReplaceAllStopsOnLoadEmptyOrClose) {
    enum class Way { Load, Empty, Close };
    constexpr int lines = 20000;
    std::string text;
    for (int i = 0; i < lines; ++i) text += "Termin\n";
    folder.Write("andere.txt", "Termin bleibt\n");
    for (const Way way : {Way::Load, Way::Empty, Way::Close}) {
        SCOPED_TRACE(static_cast<int>(way));
        Load(text);
        editor::FindDialog* dialog = Open("Ersetzen1", "Termin", "Treffen");
        int replacedAtStop = -1;
        QTimer poll;
        poll.setInterval(0);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (form->Editor()->document()->firstBlock().text() != "Treffen") return;
            poll.stop();
            replacedAtStop = Text().count("Treffen");
            dialogs.answers = {ButtonNo};  // the changes are dropped
            switch (way) {
            case Way::Load: form->LoadFile(Name("andere.txt")); break;
            case Way::Empty: form->New1Click(); break;
            case Way::Close: form->close(); break;
            }
        });
        poll.start();
        dialogs.answers = {ButtonAll};
        Press(dialog, "ReplaceAll");
        EXPECT_GT(replacedAtStop, 0);
        EXPECT_LT(replacedAtStop, lines);
        const std::vector<testing_support::Prompt> shown = Messages();
        ASSERT_EQ(shown.size(), 2u);  // the question, the save prompt
        EXPECT_TRUE(shown[1].text.endsWith(" speichern ?"));
        EXPECT_TRUE(dialogs.answers.empty());
        if (way == Way::Load) { EXPECT_EQ(Text(), "Termin bleibt\n"); }
        if (way == Way::Empty) { EXPECT_EQ(Text(), ""); }
        if (way == Way::Close) { EXPECT_FALSE(form->isVisible()); }
        if (way == Way::Close) { EXPECT_EQ(Text().count("Treffen"), replacedAtStop); }
        EXPECT_EQ(form->TextLength(), Text().size());
    }
}

// While a replace-all runs on, the text takes no edits (the keys for undo and Return, the edit
// commands), and a close answered Cancel changes nothing: the replace goes on to its summary.
TEST_F(FindReplace, ReplaceAllRefusesEditsAndGoesOnAfterACancelledClose) {
    std::string text;
    for (int i = 0; i < 20000; ++i) text += "Termin\n";
    Load(text);
    editor::FindDialog* dialog = Open("Ersetzen1", "Termin", "Treffen");
    const char* const edits[] = {"Undo1", "Cut1", "Paste1", "Delete1", "Font1"};
    std::string enabledMeanwhile;
    QTimer poll;
    poll.setInterval(0);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (form->Editor()->document()->firstBlock().text() != "Treffen") return;
        poll.stop();
        QTest::keyClick(form->Editor(), Qt::Key_Z, Qt::ControlModifier);
        Key(Qt::Key_Return);
        OpenMenu("Edit1");
        for (const char* item : edits)
            if (form->Action(item)->isEnabled()) enabledMeanwhile += item;
        dialogs.answers = {ButtonCancel};
        form->close();
    });
    poll.start();
    dialogs.answers = {ButtonAll};
    Press(dialog, "ReplaceAll");
    EXPECT_EQ(enabledMeanwhile, "");
    EXPECT_EQ(Text(), QString("Treffen\n").repeated(20000));
    EXPECT_TRUE(form->isVisible() && Messages().at(1).text.endsWith(" speichern ?"));
    EXPECT_EQ(Messages().back().text, "20000 Vorkommen von \"Termin\" durch \"Treffen\" ersetzt.");
    OpenMenu("Edit1");
    for (const char* item : edits) EXPECT_TRUE(form->Action(item)->isEnabled()) << item;
    Key(Qt::Key_Return);
    EXPECT_EQ(Text().size(), 8 * 20000 + 1);
}
