// SPDX-License-Identifier: GPL-3.0-or-later
// The formatting and edit commands: alignment and its check marks, word wrap and its scroll
// bars, the font dialog (also its Cancel), one-level undo, clipboard, delete, select all.
#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <QTextBlock>

#include "edit_form_fixture.h"

using namespace editor_test;

namespace {

class Formatting : public EditFormTest {
protected:
    bool Checked(const char* item) const { return form->Action(item)->isChecked(); }
    QStringList CheckedAlignments() const {
        QStringList on;
        for (const char* item : {"Left1", "Right1", "Center1"})
            if (Checked(item)) on << item;
        return on;
    }
};

constexpr char ThreeParagraphs[] =
    "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\pard\\qc Mitte\\par\\pard\\qj Block\\par"
    "\\pard Links\\par}";

}  // namespace

TEST_F(Formatting, AlignmentAndItsCheckMarks) {
    folder.Write("a.rtf", ThreeParagraphs);
    form->LoadFile(Name("a.rtf"));
    ShowAndActivate();
    const struct {
        int caret;
        QStringList checked;
    } opened[] = {{2, {"Center1"}}, {8, {}}, {14, {"Left1"}}};
    for (const auto& c : opened) {
        Caret(c.caret);
        OpenMenu("Character1");
        EXPECT_EQ(CheckedAlignments(), c.checked) << c.caret;
    }
    EXPECT_FALSE(form->Modified());

    // The selection touches the first two paragraphs: both are aligned right.
    Select(2, 8);
    Trigger("Right1");
    EXPECT_EQ(CheckedAlignments(), QStringList{"Right1"});
    EXPECT_TRUE(form->Modified());
    const QTextDocument* document = form->Editor()->document();
    EXPECT_EQ(document->findBlockByNumber(0).blockFormat().alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignRight);
    EXPECT_EQ(document->findBlockByNumber(1).blockFormat().alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignRight);
    EXPECT_EQ(document->findBlockByNumber(2).blockFormat().alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignLeft);
    Caret(14);
    Trigger("Center1");
    Caret(0);
    OpenMenu("Character1");
    EXPECT_EQ(CheckedAlignments(), QStringList{"Right1"});
    Caret(14);
    OpenMenu("Character1");
    EXPECT_EQ(CheckedAlignments(), QStringList{"Center1"});
}

TEST_F(Formatting, WordWrapAndItsScrollBars) {
    folder.Write("a.txt", std::string(400, 'x') + " Ende\n");
    form->LoadFile(Name("a.txt"));
    ShowAndActivate();
    QTextEdit* editor = form->Editor();
    EXPECT_TRUE(form->WordWrap());
    EXPECT_TRUE(Checked("Wordwrap1"));
    EXPECT_FALSE(editor->horizontalScrollBar()->isVisible());
    EXPECT_TRUE(editor->verticalScrollBar()->isVisible());

    Trigger("Wordwrap1");
    EXPECT_FALSE(form->WordWrap());
    EXPECT_FALSE(Checked("Wordwrap1"));
    EXPECT_TRUE(WaitFor([&] { return editor->horizontalScrollBar()->isVisible(); }));
    EXPECT_TRUE(editor->verticalScrollBar()->isVisible());
    EXPECT_EQ(editor->document()->firstBlock().layout()->lineCount(), 1);

    Trigger("Wordwrap1");
    EXPECT_TRUE(form->WordWrap());
    EXPECT_TRUE(Checked("Wordwrap1"));
    EXPECT_TRUE(WaitFor([&] { return !editor->horizontalScrollBar()->isVisible(); }));
    EXPECT_FALSE(form->Modified());

    // Word wrap from the settings comes with its scroll bar and check mark.
    Setting([](editor::EditorSettings& s) { s.wordWrap = false; });
    EXPECT_FALSE(form->WordWrap());
    EXPECT_FALSE(Checked("Wordwrap1"));
    EXPECT_EQ(editor->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

// Cancel keeps the selection's font as the dialog's font, and the next plain-text file
// shows in it; OK sets the selection's font.
TEST_F(Formatting, FontDialog) {
    folder.Write("a.rtf",
                 "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1 DejaVu Serif;}}\\f0\\fs20 Normal "
                 "\\f1\\fs30 Serif\\par}");
    folder.Write("b.txt", "einfach");
    form->LoadFile(Name("a.rtf"));
    ShowAndActivate();
    Caret(9);  // in "Serif"
    Trigger("Font1");
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_EQ(dialogs.prompts[0].type, testing_support::Prompt::FontDialog);
    EXPECT_EQ(dialogs.prompts[0].font.family(), "DejaVu Serif");
    EXPECT_EQ(dialogs.prompts[0].font.pointSizeF(), 15);
    EXPECT_EQ(form->Settings().font.family(), "DejaVu Serif");
    EXPECT_FALSE(form->Modified());
    form->LoadFile(Name("b.txt"));
    EXPECT_EQ(form->Editor()->document()->defaultFont().family(), "DejaVu Serif");
    EXPECT_EQ(form->Editor()->document()->defaultFont().pointSizeF(), 15);

    // OK: the selection gets the font, and so does the next plain-text file.
    QFont chosen(QStringLiteral("DejaVu Sans Mono"));
    chosen.setPointSize(12);
    chosen.setItalic(true);
    dialogs.fonts = {chosen};
    Select(0, 4);
    Trigger("Font1");
    QTextCursor in(form->Editor()->document());
    in.setPosition(2);
    EXPECT_EQ(in.charFormat().font().family(), "DejaVu Sans Mono");
    EXPECT_TRUE(in.charFormat().fontItalic());
    in.setPosition(6);
    EXPECT_FALSE(in.charFormat().fontItalic());
    EXPECT_TRUE(form->Modified());
    EXPECT_EQ(form->Settings().font, chosen);
    dialogs.answers = {platform::ButtonNo};
    form->LoadFile(Name("b.txt"));
    EXPECT_EQ(form->Editor()->document()->defaultFont(), chosen);
}

// One level: the last edit goes, a second press does nothing and the item is disabled.
TEST_F(Formatting, UndoHasOneLevel) {
    ShowAndActivate();
    form->New1Click();
    OpenMenu("Edit1");
    EXPECT_FALSE(form->Action("Undo1")->isEnabled());
    Type("eins");
    Caret(0);
    Type("zwei ");
    OpenMenu("Edit1");
    ASSERT_TRUE(form->Action("Undo1")->isEnabled());
    form->Undo1Click();
    EXPECT_EQ(Text(), "eins");
    EXPECT_TRUE(form->Modified());
    OpenMenu("Edit1");
    EXPECT_FALSE(form->Action("Undo1")->isEnabled());
    form->Undo1Click();  // the keyboard's way past a disabled item: still nothing
    EXPECT_EQ(Text(), "eins");
}

TEST_F(Formatting, ClipboardDeleteAndSelectAll) {
    ShowAndActivate();
    form->New1Click();
    Type("abcdef");
    QClipboard* clipboard = QApplication::clipboard();
    Select(1, 3);
    Trigger("Cut1");
    EXPECT_EQ(Text(), "adef");
    EXPECT_EQ(clipboard->text(), "bc");
    Select(2, 3);
    Trigger("Delete1");  // without the clipboard
    EXPECT_EQ(Text(), "adf");
    EXPECT_EQ(clipboard->text(), "bc");
    Caret(3);
    Trigger("Paste1");
    EXPECT_EQ(Text(), "adfbc");
    Select(0, 2);
    Trigger("Copy1");
    EXPECT_EQ(clipboard->text(), "ad");
    Trigger("Selectall1");
    EXPECT_EQ(Selection(), std::make_pair(0, 5));
    EXPECT_EQ(Status(), "Zeile:   1   Spalte:   1");  // the caret is the selection's start
    for (const char* item : {"Cut1", "Copy1", "Paste1", "Delete1", "Selectall1"})
        EXPECT_TRUE(form->Action(item)->isEnabled()) << item;
}
