// SPDX-License-Identifier: GPL-3.0-or-later
// The notes window itself: menus, tool bar, context menu, the modified flag that the save
// commands follow, closing with Escape, and the status line.
#include <functional>

#include <QAccessible>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextLayout>
#include <QToolBar>
#include <QToolButton>

#include "edit_form_fixture.h"

using namespace editor_test;

using NotesWindow = EditFormTest;

namespace {

// A menu's items by object name, "-" for a separator.
QStringList Items(const QMenu* menu) {
    QStringList names;
    for (const QAction* a : menu->actions()) names << (a->isSeparator() ? "-" : a->objectName());
    return names;
}

}  // namespace

TEST_F(NotesWindow, MenusAsTheUserSeesThem) {
    const QList<QAction*> top = form->menuBar()->actions();
    ASSERT_EQ(top.size(), 3);
    EXPECT_EQ(top[0]->text(), "&Datei");
    EXPECT_EQ(top[1]->text(), "&Bearbeiten");
    EXPECT_EQ(top[2]->text(), "&Text");
    EXPECT_EQ(Items(top[0]->menu()), QStringList({"Open1", "New1", "-", "Save1", "Saveas1", "-",
                                                  "Print1", "Printersetup1", "-", "Exit1"}));
    EXPECT_EQ(Items(top[1]->menu()),
              QStringList({"Undo1", "Cut1", "Copy1", "Paste1", "Delete1", "Selectall1", "-",
                           "Suchen1", "Ersetzen1"}));
    EXPECT_EQ(Items(top[2]->menu()), QStringList({"Left1", "Right1", "Center1", "-", "Wordwrap1",
                                                  "-", "Font1", "-", "Ascii1", "Ansi1"}));

    struct Case {
        const char* name;
        const char* text;
        const char* hint;
        const char* shortcut;
        bool enabled;  // nothing to save or undo yet
    };
    const Case cases[] = {
        {"Open1", "&Öffnen", "Datei öffnen", "", true},
        {"New1", "&Neu", "leere Datei erzeugen", "", true},
        {"Save1", "&Speichern", "Datei speichern; alte Datei wird überschrieben", "F2", false},
        {"Saveas1", "Speichern &unter...", "Datei unter anderem Namen speichern", "", true},
        {"Print1", "&Drucken", "Datei drucken", "", true},
        {"Printersetup1", "Drucker &Einstellung...", "Drucker konfigurieren oder auswählen", "",
         true},
        {"Exit1", "&Beenden", "", "Esc", true},
        {"Undo1", "Rückgängig", "letzte Operation rückgängig machen", "", false},
        {"Cut1", "&Ausschneiden", "in die Zwischenablage", "", true},
        {"Copy1", "&Kopieren", "in die Zwischenablage", "", true},
        {"Paste1", "&Einfügen", "aus der Zwischenablage", "", true},
        {"Delete1", "&Löschen", "ohne Zwischenablage", "", true},
        {"Selectall1", "Alles ausw&ählen", "ganzen Text markieren", "", true},
        {"Suchen1", "&Suchen", "Zeichen im Text suchen", "F7", true},
        {"Ersetzen1", "E&rsetzen", "Zeichen im Text suchen und/oder  ersetzen", "F8", true},
        {"Left1", "&Linksbündig", "markierte Zeilen", "", true},
        {"Right1", "&Rechtsbündig", "markierte Zeilen", "", true},
        {"Center1", "&Zentriert", "markierte Zeilen", "", true},
        {"Wordwrap1", "&Wortumbruch", "Zeilenlänge an Fensterbreite anpassen (ganzer Text)", "",
         true},
        {"Font1", "&Schriftart",
         "Schriftart wählen für markierte Zeilen (RTF) oder ganzen Text (TXT-Format)", "", true},
        {"Ascii1", "&Ascii zu Ansi", "Dos-Text in das Windows-Format umwandeln (ganzer Text)", "",
         true},
        {"Ansi1", "Ansi zu Ascii", "Windows-Text in das DOS-Format umwandeln (ganzer Text)", "",
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QAction* a = form->Action(c.name);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->text(), c.text);
        EXPECT_EQ(a->statusTip(), c.hint);
        EXPECT_EQ(a->shortcut().toString(), c.shortcut);
        EXPECT_EQ(a->isEnabled(), c.enabled);
    }
    EXPECT_TRUE(form->Action("Wordwrap1")->isChecked());
    EXPECT_EQ(Items(form->ContextMenu()), QStringList({"Cut1", "Copy1", "Paste1"}));
    EXPECT_EQ(form->windowTitle(), "Untitled");
}

TEST_F(NotesWindow, ToolBar) {
    auto* bar = form->findChild<QToolBar*>("ToolBar");
    ASSERT_NE(bar, nullptr);
    struct Case {
        const char* name;
        const char* hint;
        bool enabled;
    };
    const Case cases[] = {{"SpeedButton1", "Datei öffnen", true},
                          {"SaveBtn", "Datei speichern; alte Datei wird überschrieben", false},
                          {"SpeedButton4", "Datei drucken", true},
                          {"SuchBtn", "Text suchen", true},
                          {"ExitBtn", "Editor beenden", true}};
    ASSERT_EQ(bar->actions().size(), 5);
    for (int i = 0; i < 5; ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.name);
        QAction* a = bar->actions()[i];
        EXPECT_EQ(a->objectName(), c.name);
        EXPECT_EQ(a->toolTip(), c.hint);
        EXPECT_EQ(a->isEnabled(), c.enabled);
        EXPECT_FALSE(a->icon().pixmap(24, QIcon::Normal).isNull());
        // A separate image for the disabled state, not the same picture.
        EXPECT_NE(a->icon().pixmap(24, QIcon::Disabled).toImage(),
                  a->icon().pixmap(24, QIcon::Normal).toImage());
        EXPECT_EQ(bar->widgetForAction(a)->size(), QSize(31, 31));
    }
}

// "SaveBtn" and "&Speichern" follow the modified flag after changes, saves and loads; F2
// does nothing while the text is unchanged.
TEST_F(NotesWindow, SaveCommandsFollowTheModifiedFlag) {
    folder.Write("a.txt", "eins");
    form->LoadFile(Name("a.txt"));
    ShowAndActivate();
    EXPECT_FALSE(form->Action("SaveBtn")->isEnabled());
    QTest::keyClick(form->Editor(), Qt::Key_F2);
    EXPECT_EQ(folder.Read("a.txt"), "eins");
    EXPECT_TRUE(dialogs.prompts.empty());
    Type("x");
    EXPECT_TRUE(form->Modified());
    EXPECT_TRUE(form->Action("SaveBtn")->isEnabled());
    EXPECT_EQ(form->TextLength(), 5);
    form->File1Click();
    EXPECT_TRUE(form->Action("Save1")->isEnabled());
    QTest::keyClick(form->Editor(), Qt::Key_F2);
    EXPECT_TRUE(WaitFor([&] { return folder.Read("a.txt") == "xeins"; }));
    EXPECT_FALSE(form->Action("SaveBtn")->isEnabled());
    form->File1Click();
    EXPECT_FALSE(form->Action("Save1")->isEnabled());
}

TEST_F(NotesWindow, EscapeOnAModifiedText) {
    folder.Write("a.txt", "eins");
    form->LoadFile(Name("a.txt"));
    ShowAndActivate();
    Type("x");
    dialogs.answers = {platform::ButtonCancel};
    Key(Qt::Key_Escape);
    ASSERT_EQ(dialogs.prompts.size(), 1u);  // one question per Escape
    EXPECT_EQ(dialogs.prompts[0].text, Name("a.txt") + " speichern ?");
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(Text(), "xeins");
    EXPECT_TRUE(form->Modified());

    ShowAndActivate();
    dialogs.answers = {platform::ButtonNo};
    Key(Qt::Key_Escape);
    EXPECT_EQ(dialogs.prompts.size(), 2u);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(folder.Read("a.txt"), "eins");

    // Unchanged: closes without a question; Yes saves and closes.
    ShowAndActivate();
    Key(Qt::Key_Escape);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(dialogs.prompts.size(), 2u);
    // Closing only hid the window: the dropped changes are still on the screen until the
    // next load, and now Yes saves them.
    ShowAndActivate();
    EXPECT_EQ(Text(), "xeins");
    Type("y");
    dialogs.answers = {platform::ButtonYes};
    Trigger("ExitBtn");
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(folder.Read("a.txt"), "xyeins");
}

TEST_F(NotesWindow, StatusLine) {
    ShowAndActivate();
    form->New1Click();
    EXPECT_EQ(Status(), "Zeile:   1   Spalte:   1");
    Type("ab");
    EXPECT_EQ(Status(), "Zeile:   1   Spalte:   3");
    Key(Qt::Key_Return);
    EXPECT_EQ(Status(), "Zeile:   2   Spalte:   1");
    const QFontMetrics metrics(form->statusBar()->font());
    EXPECT_EQ(form->StatusPanel(0)->width(),
              metrics.horizontalAdvance(Status()) + 2 * metrics.horizontalAdvance(u'W'));
    // A screen reader finds a name on everything the status line shows.
    QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(form->statusBar());
    for (int i = 0; i < bar->childCount(); ++i) {
        if (!bar->child(i)->state().invisible) {
            EXPECT_FALSE(bar->child(i)->text(QAccessible::Name).isEmpty()) << i;
        }
    }

    // A long paragraph wraps: each displayed line counts, and the column starts again.
    form->resize(300, 300);
    QCoreApplication::processEvents();
    Type(QString("wort ").repeated(60));
    const QTextBlock block = form->Editor()->textCursor().block();
    const QTextLayout* layout = block.layout();
    ASSERT_GT(layout->lineCount(), 2);
    const int inBlock = form->Editor()->textCursor().positionInBlock();
    const QTextLine line = layout->lineForTextPosition(inBlock);
    EXPECT_EQ(Status(), QString("Zeile: %1   Spalte: %2")
                            .arg(2 + line.lineNumber(), 3)
                            .arg(inBlock - line.textStart() + 1, 3));
    Caret(block.position() + layout->lineAt(1).textStart());
    EXPECT_EQ(Status(), "Zeile:   3   Spalte:   1");
    Caret(0);
    EXPECT_EQ(Status(), "Zeile:   1   Spalte:   1");
    Caret(block.position() + 1);
    EXPECT_EQ(Status(), "Zeile:   2   Spalte:   2");

    // The lines of a wrapped paragraph count for the paragraphs after it, and a wider
    // window, with fewer lines, is counted again.
    const int wrapped = layout->lineCount();
    Caret(block.position() + block.length() - 1);
    Key(Qt::Key_Return);
    Type("z");
    EXPECT_EQ(Status(), QString("Zeile: %1   Spalte:   2").arg(2 + wrapped, 3));
    form->resize(1200, 300);
    ASSERT_TRUE(WaitFor([&] { return block.layout()->lineCount() < wrapped; }));
    const int fewer = block.layout()->lineCount();
    EXPECT_TRUE(WaitFor([&] {
        return Status() == QString("Zeile: %1   Spalte:   2").arg(2 + fewer, 3);
    })) << Status().toStdString();
}

// The status bar is yellow while save-as asks for a name, and not afterwards.
TEST_F(NotesWindow, SaveAsColoursTheStatusBar) {
    QColor during;
    dialogs.whileFileDialogOpen = [&] {
        during = form->statusBar()->palette().color(QPalette::Window);
    };
    form->Saveas1Click();
    EXPECT_EQ(during, QColor(Qt::yellow));
    EXPECT_NE(form->statusBar()->palette().color(QPalette::Window), QColor(Qt::yellow));
}

// Leaving the window remembers the caret for the next load of the same file.
TEST_F(NotesWindow, DeactivationRemembersTheCaret) {
    folder.Write("a.txt", "0123456789");
    form->LoadFile(Name("a.txt"));
    ShowAndActivate();
    Caret(7);
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_EQ(form->Settings().lastPos, 7);
    form->LoadFile(Name("a.txt"));
    EXPECT_EQ(form->Editor()->textCursor().position(), 7);
}

// The save prompt's box takes the focus for a moment: that does not count as leaving the
// window, so another file still opens at its start.
TEST_F(NotesWindow, SavePromptIsNoDeactivation) {
    folder.Write("a.txt", "0123456789");
    folder.Write("b.txt", "abcdefghij");
    form->LoadFile(Name("a.txt"));
    ShowAndActivate();
    Caret(4);
    Type("x");
    Choose(Name("b.txt"));
    dialogs.answers = {platform::ButtonNo};
    form->Open1Click();
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Text(), "abcdefghij");
    EXPECT_EQ(form->Editor()->textCursor().position(), 0);
}

// A screen reader names every control of the notes window a user can reach: the text, the
// tool-bar buttons and whatever else takes a click or keys.
TEST_F(NotesWindow, ControlsHaveAccessibleNames) {
    ShowAndActivate();
    std::vector<QString> unnamed;
    std::function<void(QAccessibleInterface*)> walk = [&](QAccessibleInterface* node) {
        if (!node || node->state().invisible) return;
        const QAccessible::Role role = node->role();
        const bool control = role == QAccessible::PushButton || role == QAccessible::CheckBox ||
                             role == QAccessible::EditableText || role == QAccessible::ButtonMenu;
        if (control && node->text(QAccessible::Name).trimmed().isEmpty())
            unnamed.push_back(node->object() ? node->object()->metaObject()->className()
                                             : QStringLiteral("?"));
        for (int i = 0; i < node->childCount(); ++i) walk(node->child(i));
    };
    walk(QAccessible::queryAccessibleInterface(form.get()));
    EXPECT_TRUE(unnamed.empty()) << unnamed.size() << " unnamed, the first a "
                                 << unnamed.front().toStdString();
}
