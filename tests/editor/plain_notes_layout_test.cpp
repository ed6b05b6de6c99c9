// SPDX-License-Identifier: GPL-3.0-or-later
// The layout of plain-text notes through the window: keys, clicks, selection, status line,
// alignment, word wrap with the horizontal scroll bar, and a long text laid out in slices.
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

#include "edit_form_fixture.h"
#include "editor/edit_batch.h"
#include "editor/long_paragraph.h"
#include "editor/plain_notes_layout.h"

using namespace editor_test;

namespace {

class PlainLayout : public EditFormTest {
protected:
    // Loads `text` as a .txt note into the shown window of 300 × 300 pixels.
    void Show(const std::string& text) {
        folder.Write("a.txt", text);
        form->LoadFile(Name("a.txt"));
        form->resize(300, 300);
        ShowAndActivate();
        ASSERT_NE(Layout(), nullptr);
        ASSERT_TRUE(WaitFor([&] { return Layout()->Settled(); }));
    }
    const editor::PlainNotesLayout* Layout() const {
        return dynamic_cast<const editor::PlainNotesLayout*>(
            form->Editor()->document()->documentLayout());
    }
    QTextBlock Block(int number) const { return form->Editor()->document()->findBlockByNumber(number); }
    int CaretAt() const { return form->Editor()->textCursor().position(); }
    // The viewport point at `x` on displayed line `line` (from 0), its vertical middle.
    QPoint OnLine(int line, int x) const {
        const qreal margin = form->Editor()->document()->documentMargin();
        const int y = static_cast<int>(margin + (line + 0.5) * Layout()->LineHeight());
        return QPoint(x, y - form->Editor()->verticalScrollBar()->value());
    }
    static QString StatusOf(int line, int column) {
        return QString("Zeile: %1   Spalte: %2").arg(line, 3).arg(column, 3);
    }
};

// Ten short lines "Zeile 0" … "Zeile 9": each displayed line is one paragraph.
std::string TenLines() {
    std::string text;
    for (int i = 0; i < 10; ++i) text += "Zeile " + std::to_string(i) + "\n";
    return text;
}

// Where "Zeile n" starts: 8 characters a line with its line break.
constexpr int StartOf(int line) { return 8 * line; }

}  // namespace

// The rich text keeps Qt's own layout; printing works on a copy with Qt's layout either way.
TEST_F(PlainLayout, OnlyForPlainText) {
    folder.Write("b.rtf", "{\\rtf1\\ansi Reich\\par}");
    Show("einfach\n");
    EXPECT_EQ(form->Editor()->document()->defaultFont(), form->Settings().font);
    form->LoadFile(Name("b.rtf"));
    EXPECT_EQ(Layout(), nullptr);
    EXPECT_STREQ(form->Editor()->document()->documentLayout()->metaObject()->className(),
                 "QTextDocumentLayout");
    form->LoadFile(Name("a.txt"));
    EXPECT_NE(Layout(), nullptr);
}

TEST_F(PlainLayout, ClicksFindTheLineAndColumn) {
    Show(TenLines());
    struct Case {
        const char* name;
        int line;
        int x;
        int position;
    } const cases[] = {
        {"start of the first line", 0, 1, StartOf(0)},
        {"start of the fourth line", 3, 1, StartOf(3)},
        {"right of the text: its end", 5, 280, StartOf(5) + 7},
        {"last line", 9, 1, StartOf(9)},
        {"below the text: the empty last paragraph", 14, 1, StartOf(10)},
    };
    for (const Case& c : cases) {
        QTest::mouseClick(form->Editor()->viewport(), Qt::LeftButton, {}, OnLine(c.line, c.x));
        EXPECT_EQ(CaretAt(), c.position) << c.name;
    }
    // A click in the middle of a word lands between its letters, not at the line's start.
    QTest::mouseClick(form->Editor()->viewport(), Qt::LeftButton, {}, OnLine(2, 30));
    EXPECT_GT(CaretAt(), StartOf(2));
    EXPECT_LT(CaretAt(), StartOf(2) + 7);
    EXPECT_EQ(Status(), StatusOf(3, CaretAt() - StartOf(2) + 1));
}

// "kurz", a paragraph of 40 words that wraps, "ende".
std::string Wrapped() {
    std::string text = "kurz\n";
    for (int i = 0; i < 40; ++i) text += "wort ";
    return text + "\nende\n";
}

// Up and down go by displayed lines, also inside a wrapped paragraph; the status line counts
// displayed lines.
TEST_F(PlainLayout, ArrowKeysAcrossWrappedLines) {
    Show(Wrapped());
    const QTextLayout* wrapped = Block(1).layout();
    const int n = wrapped->lineCount();
    ASSERT_GT(n, 2);
    const int ende = Block(2).position();
    struct Case {
        const char* name;
        int from;
        Qt::Key key;
        int line;    // expected status line and column
        int column;
    } const cases[] = {
        {"down into the wrapped paragraph", 0, Qt::Key_Down, 2, 1},
        {"down inside it", Block(1).position(), Qt::Key_Down, 3, 1},
        {"down out of it", Block(1).position() + wrapped->lineAt(n - 1).textStart(), Qt::Key_Down,
         n + 2, 1},
        {"up into its last line", ende, Qt::Key_Up, n + 1, 1},
        {"up inside it", Block(1).position() + wrapped->lineAt(1).textStart(), Qt::Key_Up, 2, 1},
        {"up out of it", Block(1).position(), Qt::Key_Up, 1, 1},
        {"down at the end stays", ende + 4, Qt::Key_Down, n + 3, 1},
    };
    for (const Case& c : cases) {
        Caret(c.from);
        Key(c.key);
        EXPECT_EQ(Status(), StatusOf(c.line, c.column)) << c.name;
    }
    // The second displayed line starts where the layout broke the paragraph.
    Caret(Block(1).position());
    Key(Qt::Key_Down);
    EXPECT_EQ(CaretAt(), Block(1).position() + wrapped->lineAt(1).textStart());
}

// Typing moves the paragraphs below by whole lines: a line break one line, a key that makes
// a paragraph wrap once more another.
TEST_F(PlainLayout, TypingMovesTheParagraphsBelow) {
    Show(TenLines());
    const qreal height = Layout()->LineHeight();
    const qreal margin = form->Editor()->document()->documentMargin();
    QAbstractTextDocumentLayout* layout = form->Editor()->document()->documentLayout();
    const auto topOf = [&](int block) { return layout->blockBoundingRect(Block(block)).top(); };
    EXPECT_EQ(topOf(9), margin + 9 * height);
    Caret(StartOf(4) + 5);
    Type("x");
    EXPECT_EQ(Block(4).text(), "Zeilex 4");
    EXPECT_EQ(topOf(9), margin + 9 * height);
    EXPECT_EQ(Status(), StatusOf(5, 7));
    Key(Qt::Key_Return);
    EXPECT_EQ(topOf(10), margin + 10 * height);
    EXPECT_EQ(Status(), StatusOf(6, 1));
    Type(QString("lang ").repeated(30));
    const int lines = Block(5).layout()->lineCount();
    ASSERT_GT(lines, 1);
    EXPECT_EQ(topOf(10), margin + (9 + lines) * height);
    EXPECT_EQ(layout->documentSize().height(), 2 * margin + (11 + lines - 1 + 1) * height);
    Key(Qt::Key_Backspace);
    EXPECT_EQ(Block(5).text().size(), 5 * 30 - 1 + 2);
}

// The selection is painted in the highlight colour, only where it is.
TEST_F(PlainLayout, SelectionIsPainted) {
    Show(TenLines());
    Select(StartOf(2), StartOf(2) + 7);
    QCoreApplication::processEvents();
    const QImage image = form->Editor()->viewport()->grab().toImage();
    const QColor highlight = form->Editor()->palette().color(QPalette::Highlight);
    // The share of highlight pixels over the first 30 pixels of the line's text.
    const auto share = [&](int line) {
        const QPoint middle = OnLine(line, 0);
        const int top = middle.y() - static_cast<int>(Layout()->LineHeight() / 2);
        int on = 0, all = 0;
        for (int y = top + 1; y < top + Layout()->LineHeight() - 1; ++y)
            for (int x = 6; x < 36; ++x, ++all) on += image.pixelColor(x, y) == highlight;
        return static_cast<double>(on) / all;
    };
    EXPECT_GT(share(2), 0.5);
    EXPECT_EQ(share(1), 0.0);
    EXPECT_EQ(share(3), 0.0);
}

// The alignment commands work per paragraph on plain text as well.
TEST_F(PlainLayout, AlignmentMovesTheLine) {
    Show(TenLines());
    const qreal width = form->Editor()->viewport()->width();
    const qreal margin = form->Editor()->document()->documentMargin();
    struct Case {
        const char* item;
        qreal startFrom, startTo;  // where the line's first character may start
    } const cases[] = {
        {"Right1", width / 2, width},
        {"Center1", width / 4, width / 2},
        {"Left1", margin, margin + 1},
    };
    for (const Case& c : cases) {
        Caret(StartOf(3));
        Trigger(c.item);
        const qreal start = form->Editor()->cursorRect().left();
        EXPECT_GE(start, c.startFrom) << c.item;
        EXPECT_LE(start, c.startTo) << c.item;
        Caret(StartOf(4));
        EXPECT_LE(form->Editor()->cursorRect().left(), margin + 1) << c.item << ": the next line";
    }
    Caret(StartOf(3));
    Trigger("Right1");
    Caret(StartOf(3) + 7);
    EXPECT_NEAR(form->Editor()->cursorRect().left(), width - margin, 2);
}

// Without word wrap a long paragraph is one line and the horizontal scroll bar reaches its
// end; with word wrap it is several lines and nothing scrolls sideways.
TEST_F(PlainLayout, WordWrapAndTheHorizontalScrollBar) {
    Show(Wrapped());
    QScrollBar* sideways = form->Editor()->horizontalScrollBar();
    struct Case {
        bool wrap;
        bool manyLines;
        bool scrolls;
        int endeLine;
    } const cases[] = {{false, false, true, 3}, {true, true, false, 0}};
    for (const Case& c : cases) {
        if (form->WordWrap() != c.wrap) Trigger("Wordwrap1");
        ASSERT_TRUE(WaitFor([&] { return Layout()->Settled(); }));
        QCoreApplication::processEvents();
        EXPECT_EQ(Block(1).layout()->lineCount() > 1, c.manyLines) << c.wrap;
        EXPECT_EQ(sideways->maximum() > 0, c.scrolls) << c.wrap;
        if (c.scrolls) {
            const qreal natural = Block(1).layout()->lineAt(0).naturalTextWidth();
            EXPECT_GE(sideways->maximum() + form->Editor()->viewport()->width(), natural) << c.wrap;
        }
        Caret(Block(2).position());
        const int line = c.endeLine ? c.endeLine : 2 + Block(1).layout()->lineCount();
        EXPECT_TRUE(WaitFor([&] { return Status() == StatusOf(line, 1); })) << Status().toStdString();
    }
}

// A taller font on a selection raises the height of every line, so no line covers another.
TEST_F(PlainLayout, TallerFontRaisesEveryLine) {
    Show(TenLines());
    const qreal before = Layout()->LineHeight();
    QFont big = form->Settings().font;
    big.setPointSizeF(big.pointSizeF() * 3);
    dialogs.fonts = {big};
    Select(StartOf(1), StartOf(1) + 5);
    Trigger("Font1");
    const qreal after = Layout()->LineHeight();
    EXPECT_GE(after, 2 * before);
    EXPECT_GE(after, Block(1).layout()->lineAt(0).height());
    const qreal margin = form->Editor()->document()->documentMargin();
    EXPECT_EQ(form->Editor()->document()->documentLayout()->blockBoundingRect(Block(5)).top(),
              margin + 5 * after);
}

// A long text is laid out in slices after the load; keys typed meanwhile land, and at the
// end every paragraph is in its place and counted by the status line.
TEST_F(PlainLayout, LongTextLaidOutInSlices) {
    std::string text;
    for (int i = 0; i < 30'000; ++i) text += "Zeile " + std::to_string(i) + " mit etwas Text\n";
    folder.Write("lang.txt", text);
    form->resize(300, 300);
    ShowAndActivate();
    form->LoadFile(Name("lang.txt"));
    Caret(0);
    Type("A");
    EXPECT_TRUE(WaitFor([&] { return Layout()->Settled(); }, 30'000));
    QTest::keyClick(form->Editor(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(Status(), StatusOf(30'001, 1));
    const QRect caret = form->Editor()->cursorRect();
    EXPECT_TRUE(form->Editor()->viewport()->rect().contains(caret.center()));
    const qreal margin = form->Editor()->document()->documentMargin();
    EXPECT_EQ(form->Editor()->document()->documentLayout()->documentSize().height(),
              2 * margin + 30'001 * Layout()->LineHeight());
    EXPECT_EQ(Text().left(8), "AZeile 0");
}

// While a long command's batch lives, the paragraphs it changes lose their old lines and are
// laid out afterwards, by the pass: a paragraph that now wraps counts all its lines.
TEST(PlainLayoutHold, ChangedParagraphsLaidOutAfterTheCommand) {
    QTextDocument document;
    auto* layout = new editor::PlainNotesLayout(&document);
    document.setDocumentLayout(layout);
    document.setTextWidth(200);
    document.setPlainText("eins\nzwei\ndrei");
    ASSERT_TRUE(QTest::qWaitFor([&] { return layout->Settled(); }));
    const QTextBlock second = document.findBlockByNumber(1);
    {
        editor::EditBatch batch(&document);
        QTextCursor& edit = batch.Edit();
        edit.setPosition(second.position() + 4);
        edit.insertText(QString(20, ' ') + QString("zwei ").repeated(20));
        batch.Close();
        EXPECT_EQ(second.lineCount(), 1);  // held back: the old line's count
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return layout->Settled(); }));
    layout->blockBoundingRect(second);  // as when it is shown
    EXPECT_GT(second.lineCount(), 2);
    EXPECT_EQ(second.lineCount(), second.layout()->lineCount());
    EXPECT_EQ(document.lineCount(), second.lineCount() + 2);
}

// Only the paragraphs laid out last keep their layouts: the oldest go once the event loop
// runs, found by their numbers after paragraphs were added before them, except those on the
// screen painted last and one holding an input method's composing text (which lives in its
// layout). Long paragraphs keep their pieces' layouts likewise, fewer of them.
TEST(PlainLayoutKept, OldestLayoutsGoFirst) {
    QTextDocument document;
    auto* layout = new editor::PlainNotesLayout(&document);
    document.setDocumentLayout(layout);
    document.setTextWidth(200);
    constexpr int Short = 6000, Long = 20, Added = 10;
    QString text;
    for (int i = 0; i < Short; ++i) text += QString("Zeile %1\n").arg(i);
    for (int i = 0; i < Long; ++i) text += QString("Wort ").repeated(1800) + "\n";
    document.setPlainText(text);
    ASSERT_TRUE(QTest::qWaitFor([&] { return layout->Settled(); }, 30'000));
    const auto block = [&](int number) { return document.findBlockByNumber(number); };
    // Laid out in this order: the second half, the long ones, the first half.
    for (int i = Short / 2; i < Short + Long; ++i) layout->blockBoundingRect(block(i));
    for (int i = 0; i < Short / 2; ++i) layout->blockBoundingRect(block(i));
    // Paragraphs added inside the first one laid out move all after it.
    QTextCursor edit(block(Short / 2));
    edit.setPosition(block(Short / 2).position() + 2);
    edit.insertText(QString(Added, '\n'));
    // A few of those that go first are painted.
    const qreal line = layout->LineHeight();
    const qreal top = layout->blockBoundingRect(block(Short / 2 + Added + 1)).top();
    QImage image(200, static_cast<int>(3 * line), QImage::Format_RGB32);
    QPainter painter(&image);
    painter.translate(0, -top);
    document.drawContents(&painter, QRectF(0, top, 200, 2.5 * line));
    painter.end();
    block(Short / 2 + Added + 5).layout()->setPreeditArea(1, QStringLiteral("kom"));
    QCoreApplication::processEvents();
    EXPECT_EQ(block(Short / 2 + Added + 5).layout()->preeditAreaText(), QStringLiteral("kom"));
    // Those laid out, and the edit's 11, beyond the bound go: the first one laid out, then the
    // moved ones after it, but those painted.
    const int dropped = Short + Added + 1 - static_cast<int>(editor::KeptLayouts::Paragraphs);
    const int lastDropped = Short / 2 + Added + dropped - 1;
    for (const auto& [number, kept] :
         {std::pair{Short / 2 + Added + 1, true}, {Short / 2 + Added + 3, true},
          {Short / 2 + Added + 4, false}, {lastDropped, false}, {lastDropped + 1, true}})
        EXPECT_EQ(block(number).layout()->lineCount() > 0, kept) << number;
    const auto listed = [&](int number) {
        return dynamic_cast<editor::LongParagraph&>(*block(number).userData()).Listed();
    };
    const int firstLong = Short + Added;
    const int longDropped = Long - static_cast<int>(editor::KeptLayouts::LongParagraphs);
    EXPECT_FALSE(listed(firstLong + longDropped - 1));
    EXPECT_TRUE(listed(firstLong + longDropped));
}
