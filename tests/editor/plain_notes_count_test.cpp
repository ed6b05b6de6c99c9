// SPDX-License-Identifier: GPL-3.0-or-later
// A plain text whose lines are counted in the background after a load or a long change:
// the status line against an independent count, the view staying on its place meanwhile
// (the caret, a hit of find, the top line), and the count after undoing a long command.
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <functional>

#include "edit_form_fixture.h"
#include "editor/find_dialog.h"
#include "editor/plain_notes_layout.h"

using namespace editor_test;

namespace {

// 2000 paragraphs of four kinds in turn: words that wrap, a short line, words with hyphens
// and quotation marks (laid out to be counted), an empty line; "Zielwort" once, near the end.
constexpr int Paragraphs = 2000;
std::string MixedText() {
    std::string text;
    for (int i = 0; i < Paragraphs; ++i) {
        switch (i % 4) {
        case 0:
            for (int w = 0; w < 8 + i % 7; ++w) text += "Termin im B\xC3\xBCro, morgen fr\xC3\xBCh! ";
            break;
        case 1: text += "kurz " + std::to_string(i); break;
        case 2:
            for (int w = 0; w < 6; ++w) text += "Ost-West \"Zitat\" ";
            break;
        default: break;
        }
        if (i == Paragraphs - 10) text += "Zielwort";
        text += "\n";
    }
    return text;
}

class PlainCount : public EditFormTest {
public:
    // For the cases' actions.
    using EditFormTest::dialogs;
    using EditFormTest::form;
    using EditFormTest::Select;
    using EditFormTest::Trigger;

protected:
    // Loads `text` as a .txt note into the shown window of 300 × 300 pixels; the count may
    // still run.
    void Load(const std::string& text, bool wrap = true) {
        Setting([&](editor::EditorSettings& s) { s.wordWrap = wrap; });
        folder.Write("lang.txt", text);
        form->resize(300, 300);
        ShowAndActivate();
        form->LoadFile(Name("lang.txt"));
    }
    const editor::PlainNotesLayout* Layout() const {
        return dynamic_cast<const editor::PlainNotesLayout*>(
            form->Editor()->document()->documentLayout());
    }
    void Settle() {
        ASSERT_NE(Layout(), nullptr);
        ASSERT_TRUE(WaitFor([&] { return Layout()->Settled(); }, 30'000));
        QCoreApplication::processEvents();
    }
    // The line (from 1) of the start of paragraph `number`, each paragraph laid out anew.
    int LineOf(int number) const {
        const QTextDocument* doc = form->Editor()->document();
        const qreal width = doc->textWidth() - 2 * doc->documentMargin();
        int line = 1;
        for (QTextBlock b = doc->begin(); b.isValid() && b.blockNumber() < number; b = b.next()) {
            if (!form->WordWrap()) {
                ++line;
                continue;
            }
            QTextLayout layout(b.text(), doc->defaultFont());
            layout.setTextOption(doc->defaultTextOption());
            layout.beginLayout();
            for (QTextLine l = layout.createLine(); l.isValid(); l = layout.createLine(), ++line)
                l.setLineWidth(width);
            layout.endLayout();
        }
        return line;
    }
    QTextBlock Block(int number) const { return form->Editor()->document()->findBlockByNumber(number); }
    int CaretBlock() const { return form->Editor()->textCursor().block().blockNumber(); }
    bool CaretInSight() const {
        return form->Editor()->viewport()->rect().contains(form->Editor()->cursorRect().center());
    }
    // The line the status line shows.
    int StatusLine() const {
        const QString status = Status();
        return status.mid(7, status.indexOf(QStringLiteral("Spalte")) - 7).trimmed().toInt();
    }
    static QString StatusOf(int line, int column) {
        return QString("Zeile: %1   Spalte: %2").arg(line, 3).arg(column, 3);
    }
};

}  // namespace

// With word wrap on and off, the status line counts the lines as displayed, also of the
// paragraphs the background count measured without laying them out.
TEST_F(PlainCount, StatusLineCountsTheDisplayedLines) {
    for (const bool wrap : {true, false}) {
        Load(MixedText(), wrap);
        Settle();
        for (const int number : {1, 2, 3, 4, 1001, 1002, Paragraphs - 1, Paragraphs}) {
            Caret(Block(number).position());
            EXPECT_EQ(Status(), StatusOf(LineOf(number), 1)) << wrap << ", paragraph " << number;
        }
        const qreal margin = form->Editor()->document()->documentMargin();
        EXPECT_EQ(Layout()->documentSize().height(),
                  2 * margin + LineOf(Paragraphs) * Layout()->LineHeight())
            << wrap;
    }
}

// A text shown again by the undo of its delete keeps its counts, or is counted anew when the
// width or word wrap changed while it was hidden.
TEST_F(PlainCount, TextShownAgainIsCountedForItsWidth) {
    const std::function<void()> meanwhile[] = {
        [] {}, [&] { form->resize(220, 300); }, [&] { Trigger("Wordwrap1"); }};
    for (const auto& change : meanwhile) {
        Load(MixedText());
        Settle();
        Trigger("Selectall1");
        Trigger("Delete1");
        change();
        OpenMenu("Edit1");
        Trigger("Undo1");
        Settle();
        // The caret stands at the end already: the status line follows the count by itself.
        EXPECT_TRUE(WaitFor([&] { return Status() == StatusOf(LineOf(Paragraphs), 1); }));
        const qreal margin = form->Editor()->document()->documentMargin();
        EXPECT_EQ(Layout()->documentSize().height(),
                  2 * margin + LineOf(Paragraphs) * Layout()->LineHeight());
        form->Editor()->document()->setModified(false);
    }
}

// While the lines above are counted, the view stays with the caret, with a hit of find, or
// with the line at its top when the caret is out of sight.
TEST_F(PlainCount, ViewStaysOnItsPlaceWhileCounting) {
    struct Case {
        const char* name;
        void (*act)(PlainCount&);
        bool caret;  // the caret stays in sight, else the top paragraph stays on top
    } const cases[] = {
        {"the end", [](PlainCount& t) { QTest::keyClick(t.form->Editor(), Qt::Key_End, Qt::ControlModifier); },
         true},
        {"a hit of find",
         [](PlainCount& t) {
             t.Trigger("Suchen1");
             auto* field = t.form->FindDialog1()->findChild<QLineEdit*>("FindText");
             field->selectAll();
             QTest::keyClicks(field, "Zielwort");
             QTest::mouseClick(t.form->FindDialog1()->findChild<QPushButton*>("FindNext"),
                               Qt::LeftButton);
         },
         true},
        {"the top line",
         [](PlainCount& t) {
             QScrollBar* bar = t.form->Editor()->verticalScrollBar();
             bar->setValue(bar->maximum() * 3 / 4);
         },
         false},
    };
    for (const Case& c : cases) {
        Load(MixedText());
        c.act(*this);
        const auto topBlock = [&] {
            const QPointF top(0, form->Editor()->verticalScrollBar()->value());
            return form->Editor()->document()->findBlock(Layout()->hitTest(top, Qt::FuzzyHit)).blockNumber();
        };
        const int top = topBlock();
        ASSERT_FALSE(Layout()->Settled()) << c.name << ": counted before it was shown";
        Settle();
        if (c.caret) {
            EXPECT_TRUE(CaretInSight()) << c.name;
            // The status line follows once the count has settled.
            EXPECT_TRUE(WaitFor([&] { return StatusLine() >= LineOf(CaretBlock()); })) << c.name;
            EXPECT_LT(StatusLine(), LineOf(CaretBlock() + 1)) << c.name;
        } else {
            EXPECT_NEAR(topBlock(), top, 1) << c.name;
        }
        form->Editor()->document()->setModified(false);
    }
}

// A long change counted by the background pass, and its undo: the status line counts the
// text as it is after each (replace-all and select all + delete, each one step for undo).
TEST_F(PlainCount, UndoOfALongChangeIsCountedAgain) {
    struct Case {
        const char* name;
        void (*act)(PlainCount&);
    } const cases[] = {
        {"replace all",
         [](PlainCount& t) {
             t.dialogs.answers.push_back(platform::ButtonAll);
             t.dialogs.answers.push_back(platform::ButtonOk);
             t.Trigger("Ersetzen1");
             editor::FindDialog* dialog = t.form->ReplaceDialog1();
             auto* find = dialog->findChild<QLineEdit*>("FindText");
             find->selectAll();
             QTest::keyClicks(find, "kurz");
             QTest::keyClicks(dialog->findChild<QLineEdit*>("ReplaceText"),
                              QString("lang und breit ").repeated(5));
             QTest::mouseClick(dialog->findChild<QPushButton*>("ReplaceAll"), Qt::LeftButton);
         }},
        {"select all and delete",
         [](PlainCount& t) {
             t.Trigger("Selectall1");
             t.Trigger("Delete1");
         }},
        {"delete of many paragraphs in the middle",
         [](PlainCount& t) {
             const QTextDocument* doc = t.form->Editor()->document();
             t.Select(doc->findBlockByNumber(100).position(), doc->findBlockByNumber(1500).position());
             t.Trigger("Delete1");
         }},
    };
    for (const Case& c : cases) {
        Load(MixedText());
        Settle();
        const int lines = LineOf(Paragraphs);
        c.act(*this);
        Settle();
        QTest::keyClick(form->Editor(), Qt::Key_End, Qt::ControlModifier);
        const int changed = LineOf(form->Editor()->document()->blockCount() - 1);
        EXPECT_NE(changed, lines) << c.name;
        EXPECT_EQ(Status(), StatusOf(changed, 1)) << c.name;
        OpenMenu("Edit1");
        Trigger("Undo1");
        Settle();
        QTest::keyClick(form->Editor(), Qt::Key_End, Qt::ControlModifier);
        // The caret may already stand there: the status line follows the count by itself.
        EXPECT_TRUE(WaitFor([&] { return Status() == StatusOf(lines, 1); }))
            << c.name << ": undone, " << Status().toStdString();
        form->Editor()->document()->setModified(false);
    }
}
