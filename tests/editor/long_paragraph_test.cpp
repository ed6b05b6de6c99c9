// SPDX-License-Identifier: GPL-3.0-or-later
// A long paragraph laid out in pieces: its lines against one QTextLayout of the whole
// paragraph, after edits of every size; and through the window, the keys, clicks, find and
// status line inside one, with word wrap on and off.
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QPushButton>
#include <QPaintEvent>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
#include <random>

#include "edit_form_fixture.h"
#include "editor/find_dialog.h"
#include "editor/long_paragraph.h"
#include "editor/plain_notes_layout.h"

using namespace editor_test;

namespace {

// Words of notes, now and then a word longer than a line, which wraps inside.
QString Words(int length, unsigned seed) {
    static const char* const words[] = {"Termin", "im", "Büro,", "morgen", "früh!", "Ost-West",
                                        "\"Zitat\"", "und", "Straße", "Ärger"};
    std::mt19937 random(seed);
    QString text;
    while (text.size() < length) {
        if (random() % 97 == 0)
            text += QString(140, QChar(static_cast<char16_t>(u'a' + random() % 26)));
        else
            text += QString::fromUtf8(words[random() % 10]);
        text += random() % 13 == 0 ? QStringLiteral("  ") : QStringLiteral(" ");
    }
    return text;
}

// The whole paragraph laid out at once, as Qt would.
struct Whole {
    Whole(const QString& text, const QFont& font, const QTextOption& option, qreal width)
        : layout(text, font) {
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine())
            line.setLineWidth(width);
        layout.endLayout();
    }
    QTextLayout layout;
};

}  // namespace

// After a division and after each edit (a character, a word, a cut of hundreds, an
// insertion of many pieces, at the start, the end and anywhere; Enter and the join of the
// two halves), every displayed line starts and ends where Qt's layout of the whole
// paragraph has it; without wrap, a click at a place's x finds the place again. In a font of one width: Qt shapes a long paragraph in
// runs of 4096 characters, so that in a proportional font a kerned pair cut by a run's end
// moves a break of its own layout by a word.
TEST(LongParagraph, PiecesBreakLinesAsTheWholeParagraph) {
    struct Case {
        const char* name;
        bool wraps;
        qreal width;
    } const cases[] = {{"narrow", true, 230}, {"wide", true, 900}, {"no wrap", false, 230}};
    const QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    for (const Case& c : cases) {
        editor::PieceSetup setup;
        setup.font = font;
        setup.option.setWrapMode(c.wraps ? QTextOption::WrapAtWordBoundaryOrAnywhere
                                         : QTextOption::NoWrap);
        setup.width = c.width;
        setup.wraps = c.wraps;
        setup.lineHeight = QFontMetricsF(font).height();
        editor::LongParagraph paragraph(Words(20'000, 1), 0);
        paragraph.Divide(setup);
        std::mt19937 random(7);
        for (int edit = 0; edit <= 20; ++edit) {
            const QString& text = paragraph.Text();
            const Whole whole(text, font, setup.option, c.width);
            if (c.wraps) {
                ASSERT_EQ(paragraph.Lines(), whole.layout.lineCount()) << c.name << " " << edit;
                for (int i = 0; i < whole.layout.lineCount(); i += 1 + i % 3) {
                    const QTextLine line = whole.layout.lineAt(i);
                    const auto found = paragraph.LineOf(line.textStart(), setup);
                    ASSERT_EQ(found.number, i) << c.name << " " << edit;
                    ASSERT_EQ(found.start, line.textStart()) << c.name << " " << edit;
                    ASSERT_EQ(found.length, line.textLength()) << c.name << " " << edit << " line " << i << " [" << text.mid(line.textStart(), line.textLength() + 3).toStdString() << "]" << " next [" << text.mid(whole.layout.lineAt(i+1).textStart(), whole.layout.lineAt(i+1).textLength()).toStdString() << "]";
                }
            } else {
                ASSERT_EQ(paragraph.Lines(), 1);
                EXPECT_NEAR(paragraph.Width(), whole.layout.lineAt(0).naturalTextWidth(),
                            paragraph.Width() / 200)
                    << edit;
                for (int at = 0; at < text.size(); at += 997) {
                    const qreal x = paragraph.LineOf(at, setup).x;
                    EXPECT_EQ(paragraph.PlaceAt(0, x + 0.5, setup), at) << edit;
                }
            }
            const int size = static_cast<int>(text.size());
            const int at = edit == 1 ? 0 : edit == 2 ? size : static_cast<int>(random() % size);
            if (edit % 4 == 3)
                paragraph.Join(*paragraph.SplitOff(std::max(at, 1), setup, setup), setup);
            switch (edit % 5) {
            case 0: paragraph.Edit(at, 0, QStringLiteral("x"), setup); break;
            case 1: paragraph.Edit(std::min(at, size - 1), 1, QString(), setup); break;
            case 2: paragraph.Edit(at, 0, QStringLiteral(" neues Wort "), setup); break;
            case 3: paragraph.Edit(std::min(at, size - 400), 400, QString(), setup); break;
            default: paragraph.Edit(at, 0, Words(9'000, edit), setup); break;
            }
        }
    }
}

// A line's first word cut to its last letter and typed again, line after line: the shorter
// word goes up to the line before, also across the meeting of two pieces, and back down.
// Enter at every line's start, also where two pieces meet, and the join.
TEST(LongParagraph, EditsAtEveryLineStart) {
    const QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    for (const qreal width : {230.0, 600.0}) {
        editor::PieceSetup setup;
        setup.font = font;
        setup.width = width;
        setup.lineHeight = QFontMetricsF(font).height();
        editor::LongParagraph paragraph(Words(4'000, 5), 0);
        paragraph.Divide(setup);
        const auto same = [&](editor::LongParagraph& paragraph) {
            const Whole whole(paragraph.Text(), font, setup.option, width);
            if (paragraph.Lines() != whole.layout.lineCount()) return false;
            for (int i = 0; i < whole.layout.lineCount(); ++i) {
                const int start = whole.layout.lineAt(i).textStart();
                const auto found = paragraph.LineOf(start, setup);
                if (found.number != i || found.start != start) return false;
            }
            return true;
        };
        for (int line = 1;; ++line) {
            const Whole whole(paragraph.Text(), font, setup.option, width);
            if (line >= whole.layout.lineCount()) break;
            const int at = whole.layout.lineAt(line).textStart();
            const int blank = static_cast<int>(paragraph.Text().indexOf(u' ', at));
            const QString cut = paragraph.Text().mid(at, std::max(1, blank - at - 1));
            paragraph.Edit(at, cut.size(), QString(), setup);
            ASSERT_TRUE(same(paragraph)) << width << " cut at line " << line;
            paragraph.Edit(at, 0, cut, setup);
            ASSERT_TRUE(same(paragraph)) << width << " typed at line " << line;
            const auto tail = paragraph.SplitOff(at, setup, setup);
            ASSERT_TRUE(same(paragraph)) << width << " before Enter at line " << line;
            ASSERT_TRUE(same(*tail)) << width << " after Enter at line " << line;
            paragraph.Join(*tail, setup);
            ASSERT_TRUE(same(paragraph)) << width << " joined at line " << line;
        }
    }
}

namespace {

class LongParagraphWindow : public EditFormTest {
protected:
    // "Anfang", a paragraph of `length` characters with "Zielwort" near its end, "Ende".
    void Show(bool wrap, int length = 30'000) {
        paragraph = Words(length, 3) + QStringLiteral("Zielwort schließt.");
        folder.Write("lang.txt", ("Anfang\n" + paragraph + "\nEnde\n").toStdString());
        Setting([&](editor::EditorSettings& s) {
            s.wordWrap = wrap;
            s.font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        });
        form->resize(300, 300);
        ShowAndActivate();
        form->LoadFile(Name("lang.txt"));
        ASSERT_TRUE(WaitFor([&] { return Layout()->Settled(); }, 30'000));
        const QTextDocument* doc = form->Editor()->document();
        QTextOption option = doc->defaultTextOption();
        if (!wrap) option.setWrapMode(QTextOption::NoWrap);
        whole = std::make_unique<Whole>(Paragraph().text(), doc->defaultFont(), option,
                                        doc->textWidth() - 2 * doc->documentMargin());
    }
    const editor::PlainNotesLayout* Layout() const {
        return dynamic_cast<const editor::PlainNotesLayout*>(
            form->Editor()->document()->documentLayout());
    }
    QTextBlock Paragraph() const { return form->Editor()->document()->findBlockByNumber(1); }
    int Start() const { return Paragraph().position(); }
    int CaretAt() const { return form->Editor()->textCursor().position(); }
    // The displayed line (from 0 in the paragraph) of a place in it, by the whole layout.
    QTextLine LineOf(int position) const {
        return whole->layout.lineForTextPosition(position - Start());
    }
    // "Zeile … Spalte …" of a place in the paragraph, by the whole layout.
    QString StatusAt(int position) const {
        const QTextLine line = LineOf(position);
        return QString("Zeile: %1   Spalte: %2")
            .arg(2 + line.lineNumber(), 3)
            .arg(position - Start() - line.textStart() + 1, 3);
    }
    // The caret's line is in the viewport, and without wrap its x as well.
    bool CaretInSight() const {
        const auto line = Layout()->LineOf(CaretAt());
        const qreal margin = form->Editor()->document()->documentMargin();
        const qreal height = Layout()->LineHeight();
        const qreal top = margin + line.number * height - form->Editor()->verticalScrollBar()->value();
        const qreal x = margin + line.x - form->Editor()->horizontalScrollBar()->value();
        const QRect view = form->Editor()->viewport()->rect();
        return top >= 0 && top + height <= view.height() && x >= 0 && x <= view.width();
    }
    QString paragraph;
    std::unique_ptr<Whole> whole;
};

}  // namespace

// Inside a long paragraph, keys, a click and find put the caret where Qt's layout of the
// whole paragraph has it, the status line counts the displayed lines, and the view follows.
TEST_F(LongParagraphWindow, KeysClicksAndFindInside) {
    for (const bool wrap : {true, false}) {
        Show(wrap);
        const int middle = Start() + paragraph.size() / 2;
        Caret(middle);
        EXPECT_EQ(Status(), StatusAt(middle)) << wrap;
        EXPECT_TRUE(CaretInSight()) << wrap;

        Type(QStringLiteral("xyz"));
        EXPECT_EQ(Paragraph().text().mid(middle - Start(), 3), QStringLiteral("xyz")) << wrap;
        whole = std::make_unique<Whole>(Paragraph().text(), whole->layout.font(),
                                        whole->layout.textOption(),
                                        whole->layout.lineAt(0).width());
        EXPECT_EQ(Status(), StatusAt(middle + 3)) << wrap;
        // One press of undo takes all three characters back.
        OpenMenu("Edit1");
        Trigger("Undo1");
        EXPECT_EQ(Paragraph().text(), paragraph) << wrap;
        whole = std::make_unique<Whole>(paragraph, whole->layout.font(),
                                        whole->layout.textOption(),
                                        whole->layout.lineAt(0).width());
        Caret(middle);
        Type(QStringLiteral("ab"));
        Key(Qt::Key_Backspace);
        Key(Qt::Key_Backspace);
        Key(Qt::Key_Left);
        Key(Qt::Key_Delete);
        EXPECT_EQ(Paragraph().text(), paragraph.left(middle - Start() - 1) + paragraph.mid(middle - Start()))
            << wrap;
        OpenMenu("Edit1");
        Trigger("Undo1");
        EXPECT_EQ(Paragraph().text(), paragraph) << wrap;
        // Left and Right by characters; with Shift, a selection.
        Caret(middle);
        Key(Qt::Key_Right);
        Key(Qt::Key_Right);
        Key(Qt::Key_Left);
        QTest::keyClick(form->Editor(), Qt::Key_Right, Qt::ShiftModifier);
        EXPECT_EQ(form->Editor()->textCursor().anchor(), middle + 1) << wrap;
        EXPECT_EQ(CaretAt(), middle + 2) << wrap;

        Caret(middle);
        const QTextLine line = LineOf(middle);
        const qreal x = line.cursorToX(middle - Start());
        const auto onLine = [&](int number) {
            return Start() + whole->layout.lineAt(number).xToCursor(x);
        };
        if (wrap) {
            Key(Qt::Key_Down);
            EXPECT_EQ(CaretAt(), onLine(line.lineNumber() + 1));
            Key(Qt::Key_Down);
            Key(Qt::Key_Up);
            Key(Qt::Key_Up);
            EXPECT_EQ(CaretAt(), middle) << "the column is kept";
            Key(Qt::Key_PageDown);
            const int page = static_cast<int>(std::ceil(form->Editor()->viewport()->height() /
                                                        Layout()->LineHeight()));
            EXPECT_EQ(CaretAt(), onLine(line.lineNumber() + page));
            EXPECT_EQ(Status(), StatusAt(CaretAt()));
            EXPECT_TRUE(CaretInSight());
            Caret(middle);
        }
        Key(Qt::Key_Home);
        EXPECT_EQ(CaretAt(), Start() + line.textStart()) << wrap;
        Key(Qt::Key_End);
        const int end = Start() + line.textStart() + line.textLength();
        EXPECT_EQ(CaretAt(), wrap ? end - 1 : end) << wrap;
        EXPECT_TRUE(CaretInSight()) << wrap;

        // A click on the third line of the view, 100 pixels in.
        QScrollBar* down = form->Editor()->verticalScrollBar();
        QScrollBar* across = form->Editor()->horizontalScrollBar();
        const qreal margin = form->Editor()->document()->documentMargin();
        const qreal height = Layout()->LineHeight();
        const int clicked = wrap ? static_cast<int>((down->value() - margin) / height) + 2 : 1;
        QTest::mouseClick(form->Editor()->viewport(), Qt::LeftButton, {},
                          QPoint(100, static_cast<int>(margin + (clicked + 0.5) * height) - down->value()));
        const auto shown = Layout()->LineOf(CaretAt());
        EXPECT_EQ(shown.number, clicked) << wrap;
        EXPECT_EQ(shown.start - Start(), wrap ? whole->layout.lineAt(clicked - 1).textStart() : 0)
            << wrap;
        EXPECT_NEAR(shown.x, 100 - margin + across->value(), 6) << wrap;

        // Find selects "Zielwort" and shows it.
        Caret(0);
        Trigger("Suchen1");
        auto* field = form->FindDialog1()->findChild<QLineEdit*>("FindText");
        field->selectAll();
        QTest::keyClicks(field, "Zielwort");
        QTest::mouseClick(form->FindDialog1()->findChild<QPushButton*>("FindNext"), Qt::LeftButton);
        const int target = Start() + paragraph.indexOf(QStringLiteral("Zielwort"));
        EXPECT_EQ(Selection(), std::make_pair(target, target + 8)) << wrap;
        EXPECT_TRUE(CaretInSight()) << wrap;
        form->FindDialog1()->close();

        QTest::keyClick(form->Editor(), Qt::Key_End, Qt::ControlModifier);
        EXPECT_EQ(Status(), QString("Zeile: %1   Spalte:   1").arg(3 + whole->layout.lineCount(), 3))
            << wrap;
        form->Editor()->document()->setModified(false);
    }
}

// Enter in the long paragraph, the joins (Backspace at a paragraph's start, Delete at its
// end, also with the short paragraphs around) and their undo and redo: the text, the caret,
// the lines and the status line as Qt's layout of each paragraph has them, and the view.
TEST_F(LongParagraphWindow, EnterAndTheJoins) {
    constexpr Qt::Key UndoMenu = Qt::Key_unknown;
    constexpr int Keep = -1;
    struct Step {
        const char* name;
        int caret;  // in the long paragraph (its start: 0), or Keep
        Qt::Key key;
        int after = Keep;  // where undo puts the caret
    };
    for (const bool wrap : {true, false}) {
        Show(wrap);
        const int half = static_cast<int>(paragraph.size()) / 2;
        const int end = static_cast<int>(paragraph.size());
        const Step steps[] = {
            {"Enter in the middle", half, Qt::Key_Return},
            {"Backspace at the second half's start", Keep, Qt::Key_Backspace},
            {"Enter again", Keep, Qt::Key_Return},
            {"Delete at the first half's end", half, Qt::Key_Delete},
            {"undo of the join", Keep, UndoMenu, half + 1},
            {"Backspace after the undo", half + 1, Qt::Key_Backspace},
            {"Enter before the undo", Keep, Qt::Key_Return},
            {"undo of Enter, the caret moved away", 0, UndoMenu, half},
            {"Backspace at the paragraph's start", 0, Qt::Key_Backspace},
            {"Enter after Anfang", Keep, Qt::Key_Return},
            {"Delete at the paragraph's end", end, Qt::Key_Delete},
            {"undo of the join with Ende", Keep, UndoMenu, end + 1},
            {"Enter near the start", 100, Qt::Key_Return},
            {"Backspace joins the short head", Keep, Qt::Key_Backspace},
            {"Enter at the paragraph's end", end, Qt::Key_Return},
            {"Backspace in the empty paragraph", Keep, Qt::Key_Backspace},
            {"Enter before Ctrl+Z", half, Qt::Key_Return},
            {"Ctrl+Z", Keep, Qt::Key_Undo, half},
            {"Ctrl+Shift+Z", Keep, Qt::Key_Redo, half + 1},
        };
        QTextDocument* doc = form->Editor()->document();
        const QTextOption option = whole->layout.textOption();
        const qreal width = whole->layout.lineAt(0).width();
        QString text = doc->toPlainText();
        QString before, undone;
        for (const Step& step : steps) {
            SCOPED_TRACE(step.name);
            if (step.caret != Keep) Caret(Start() + step.caret);
            const int at = CaretAt();
            if (step.after != Keep) {
                if (step.key == UndoMenu) {
                    OpenMenu("Edit1");
                    Trigger("Undo1");
                } else {
                    QTest::keyClick(form->Editor(), Qt::Key_Z,
                                    step.key == Qt::Key_Undo ? Qt::ControlModifier
                                                             : Qt::ControlModifier | Qt::ShiftModifier);
                }
                if (step.key != Qt::Key_Redo) undone = text;
                text = step.key == Qt::Key_Redo ? undone : before;
                EXPECT_EQ(CaretAt(), Start() + step.after) << wrap;
            } else {
                before = text;
                Key(step.key);
                if (step.key == Qt::Key_Return) text.insert(at, u'\n');
                if (step.key == Qt::Key_Backspace) text.remove(at - 1, 1);
                if (step.key == Qt::Key_Delete) text.remove(at, 1);
                EXPECT_EQ(CaretAt(), at + (step.key == Qt::Key_Return) - (step.key == Qt::Key_Backspace));
            }
            ASSERT_EQ(doc->toPlainText(), text) << wrap;
            // Each paragraph's lines, and the caret's line and column, by Qt's layout of it.
            int lines = 0;
            QString status;
            for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
                const Whole layout(block.text(), doc->defaultFont(), option, width);
                if (block.contains(CaretAt())) {
                    const int in = CaretAt() - block.position();
                    const QTextLine line = layout.layout.lineForTextPosition(in);
                    status = QString("Zeile: %1   Spalte: %2")
                                 .arg(lines + line.lineNumber() + 1, 3)
                                 .arg(in - line.textStart() + 1, 3);
                }
                lines += layout.layout.lineCount();
            }
            EXPECT_EQ(doc->lineCount(), lines) << wrap;
            EXPECT_EQ(Status(), status) << wrap;
            EXPECT_TRUE(CaretInSight()) << wrap;
        }
        doc->setModified(false);
    }
}

// In a long paragraph the word keys (moves, with Shift, and the deletes of a word before or
// after the caret, with their undo) do what Qt's own do in a control of its own holding the
// same text, and a double click selects the word Qt's cursor would: at words, punctuation,
// double blanks, words written right to left, a word longer than a line, one longer than the
// characters looked at, and the paragraph's ends. A selection made with Shift+Down (also
// into the paragraph), and its end with Right, get all its lines painted again.
TEST_F(LongParagraphWindow, WordKeysDoubleClickAndSelectionsAsQtsOwn) {
    Show(true);
    QTextEdit own;
    own.setPlainText(Text());
    // A word longer than the characters looked at around the caret, in both.
    const int huge = static_cast<int>(paragraph.indexOf(' ', paragraph.size() / 4)) + 1;
    for (QTextEdit* editor : {form->Editor(), &own}) {
        QTextCursor insert(editor->document());
        insert.setPosition(Start() + huge);
        insert.insertText(QString(300, 'w') + QString::fromUtf8(" שלום עולם, טוב "));
    }
    paragraph = Paragraph().text();
    const QString text = Text();
    const int size = static_cast<int>(paragraph.size());
    std::vector<int> places = {0,    1,          size - 1,   size,       size / 2,  size / 2 + 1,
                               huge, huge + 150, huge + 290, huge + 303, huge + 306, huge + 312};
    for (const char* near : {"Ost-West", "\"Zitat\"", "früh!", "  ", "Zielwort"}) {
        const int at = static_cast<int>(paragraph.indexOf(QString::fromUtf8(near), size / 3));
        for (const int i : {-1, 0, 1, 4}) places.push_back(at + i);
    }
    const int longWord = static_cast<int>(paragraph.indexOf(QRegularExpression("(\\w)\\1{139}")));
    ASSERT_GE(longWord, 0);
    for (const int i : {0, 70, 140, 141}) places.push_back(longWord + i);
    constexpr Qt::KeyboardModifiers Ctrl = Qt::ControlModifier;
    constexpr Qt::KeyboardModifiers CtrlShift = Qt::ControlModifier | Qt::ShiftModifier;
    const std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>> keys[] = {
        {{Qt::Key_Right, Ctrl}},
        {{Qt::Key_Left, Ctrl}},
        {{Qt::Key_Left, CtrlShift}, {Qt::Key_Right, Ctrl}},  // a selection, no Shift
        {{Qt::Key_Backspace, Ctrl}},
        {{Qt::Key_Delete, Ctrl}},
        {{Qt::Key_Right, CtrlShift}, {Qt::Key_Backspace, Ctrl}},  // a selection deleted
    };
    QTextEdit* ours = form->Editor();
    for (const int place : places) {
        for (const auto& presses : keys) {
            const std::string what = "at " + std::to_string(place) + ", keys " +
                                     std::to_string(&presses - keys);
            Caret(Start() + place);
            QTextCursor caret(own.document());
            caret.setPosition(Start() + place);
            own.setTextCursor(caret);
            for (const auto& [key, modifiers] : presses) {
                QTest::keyClick(ours, key, modifiers);
                QTest::keyClick(&own, key, modifiers);
            }
            EXPECT_EQ(Text(), own.toPlainText()) << what;
            EXPECT_EQ(std::pair(ours->textCursor().anchor(), CaretAt()),
                      std::pair(own.textCursor().anchor(), own.textCursor().position()))
                << what;
            while (Text() != text || own.toPlainText() != text) {  // undo, step by step
                QTest::keyClick(ours, Qt::Key_Z, Ctrl);
                QTest::keyClick(&own, Qt::Key_Z, Ctrl);
                ASSERT_EQ(Text(), own.toPlainText()) << what;
                EXPECT_EQ(CaretAt(), own.textCursor().position()) << what;
            }
        }
    }
    // A double click selects the word that Qt's cursor selects at the place clicked.
    const qreal margin = ours->document()->documentMargin();
    const auto top = [&] { return margin - ours->verticalScrollBar()->value(); };
    for (const int place : places) {
        Caret(Start() + place);
        const auto line = Layout()->LineOf(Start() + place);
        const QPoint point(static_cast<int>(margin + line.x) - ours->horizontalScrollBar()->value() + 1,
                           static_cast<int>(top() + (line.number + 0.5) * Layout()->LineHeight()));
        QTest::mouseDClick(ours->viewport(), Qt::LeftButton, {}, point);
        QTextCursor word(ours->document());
        word.setPosition(ours->cursorForPosition(point).position());
        word.select(QTextCursor::WordUnderCursor);
        EXPECT_EQ(Selection(), std::pair(word.selectionStart(), word.selectionEnd())) << place;
    }
    struct Painted : QObject {
        QRegion region;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint) region += static_cast<QPaintEvent*>(event)->region();
            return false;
        }
    } painted;
    QWidget* view = ours->viewport();
    view->installEventFilter(&painted);
    for (const int from : {Start() + size / 2, 2}) {
        Caret(from);
        for (const Qt::KeyboardModifiers modifiers : {Qt::ShiftModifier, Qt::NoModifier}) {
            const int before = CaretAt();  // the selection's end before Right
            QCoreApplication::processEvents();
            painted.region = QRegion();
            if (modifiers) QTest::keyClick(ours, Qt::Key_Down, modifiers);
            QTest::keyClick(ours, modifiers ? Qt::Key_Down : Qt::Key_Right, modifiers);
            QCoreApplication::processEvents();
            // The view's part of the selection's lines.
            const int first = Layout()->LineOf(from).number;
            const int last = Layout()->LineOf(modifiers ? CaretAt() : before).number;
            const qreal height = Layout()->LineHeight();
            const QRect lines = QRectF(0, top() + first * height, view->width(),
                                       (last - first + 1) * height).toAlignedRect();
            EXPECT_TRUE(QRegion(lines & view->rect()).subtracted(painted.region).isEmpty())
                << from << modifiers;
        }
    }
    ours->document()->setModified(false);
}
