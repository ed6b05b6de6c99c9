// SPDX-License-Identifier: GPL-3.0-or-later
// The text control of the notes window: the place it keeps in view, the format typed, the
// selection offered to other programs, and the caret in long paragraphs.
#include "editor/notes_edit.h"

#include <QAbstractTextDocumentLayout>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBoundaryFinder>
#include <QTextDocumentFragment>
#include <QTextLayout>
#include <cmath>
#include <optional>

#include "editor/formats/rtf_kept.h"
#include "editor/whole_text_delete.h"

namespace editor {

namespace {

// The text under a cursor's selection as plain text, taken when asked for; the cursor moves
// with the edits made meanwhile, and a document gone leaves nothing.
class SelectionByReference : public QMimeData {
public:
    explicit SelectionByReference(const QTextCursor& selection) : selection_(selection) {}
    QStringList formats() const override { return {QStringLiteral("text/plain")}; }
    bool hasFormat(const QString& type) const override { return formats().contains(type); }

protected:
    QVariant retrieveData(const QString& type, QMetaType) const override {
        if (!hasFormat(type) || selection_.isNull()) return {};
        return QTextDocumentFragment(selection_).toPlainText();
    }

private:
    QTextCursor selection_;
};

}  // namespace

NotesEdit::NotesEdit(QWidget* parent) : QTextEdit(parent) {
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        if (!following_) TakePlace();
    });
    connect(this, &QTextEdit::cursorPositionChanged, this, [this] { TakePlace(); });
    connect(this, &QTextEdit::textChanged, this, [this] { TakePlace(); });
    connect(this, &QTextEdit::selectionChanged, this, [this] { RepaintLongSelection(); });
    // The inner control asks to show the caret and to repaint it with rectangles from the
    // paragraph's QTextLayout, which in a long paragraph stays empty (its first line): there
    // the control gives QTextEdit the caret's own rectangle, and repaints the caret after
    // the inner control.
    for (QObject* child : children()) {
        if (!child->inherits("QWidgetTextControl")) continue;
        disconnect(child, SIGNAL(visibilityRequest(QRectF)), this, SLOT(_q_ensureVisible(QRectF)));
        connect(child, SIGNAL(visibilityRequest(QRectF)), this, SLOT(KeepInView(QRectF)));
        connect(child, SIGNAL(updateRequest(QRectF)), this, SLOT(RepaintCaret()));
    }
}

// The base classes delete the document and the scroll bars, which may still signal.
NotesEdit::~NotesEdit() {
    QObject::disconnect(verticalScrollBar(), nullptr, this, nullptr);
    QObject::disconnect(this, nullptr, this, nullptr);
    for (QObject* child : children())
        if (child->inherits("QWidgetTextControl")) QObject::disconnect(child, nullptr, this, nullptr);
}

const PlainNotesLayout* NotesEdit::Plain() const {
    return dynamic_cast<const PlainNotesLayout*>(document()->documentLayout());
}

bool NotesEdit::InLongParagraph(int position) const {
    const PlainNotesLayout* plain = Plain();
    return plain && plain->InLongParagraph(position);
}

QRect NotesEdit::CaretRect() const {
    const PlainNotesLayout* plain = Plain();
    if (!plain) return cursorRect();
    const PlainNotesLayout::ShownLine line = plain->LineOf(textCursor().position());
    const qreal margin = document()->documentMargin();
    const QRectF rect(margin + line.x - horizontalScrollBar()->value(),
                      margin + line.number * plain->LineHeight() - verticalScrollBar()->value(),
                      1, plain->LineHeight());
    return rect.toAlignedRect();
}

QMimeData* NotesEdit::createMimeDataFromSelection() const {
    if (eager_) return QTextEdit::createMimeDataFromSelection();
    return new SelectionByReference(textCursor());
}

// A drag starts from a mouse move.
void NotesEdit::mouseMoveEvent(QMouseEvent* event) {
    eager_ = true;
    QTextEdit::mouseMoveEvent(event);
    eager_ = false;
}

void NotesEdit::TakePlace() {
    if (viewport()->rect().intersects(CaretRect())) {
        place_ = textCursor().block();
    } else {
        const QPointF top(0, verticalScrollBar()->value());
        place_ = document()->findBlock(document()->documentLayout()->hitTest(top, Qt::FuzzyHit));
    }
    placeLine_ = place_.firstLineNumber();
}

// The control pastes markdown when it comes first, formatted text when it takes it, and
// otherwise the plain text; an empty paste leaves the selection.
void NotesEdit::insertFromMimeData(const QMimeData* source) {
    // Only a paste over the whole text reads the text here; any other is the control's.
    if (source && pasteOverAll_ && WholeTextDelete::Covers(textCursor())) {
        const QStringList formats = source->formats();
        const bool formatted =
            (!formats.isEmpty() && formats.first() == u"text/markdown") ||
            (acceptRichText() &&
             (source->hasFormat(QStringLiteral("application/x-qrichtext")) || source->hasHtml()));
        const QString text = formatted ? QString() : source->text();
        if (!text.isEmpty() && pasteOverAll_(text)) {
            ensureCursorVisible();
            return;
        }
    }
    TypeOwnFormat();
    QTextEdit::insertFromMimeData(source);
}

// The caret at hidden text, a tracked deletion or insertion or a field would type into it:
// text typed there would be hidden, or deleted once the file's changes are accepted.
void NotesEdit::TypeOwnFormat() {
    if (textCursor().hasSelection()) return;
    const QTextCharFormat format = currentCharFormat();
    if (HasKept(format)) setCurrentCharFormat(TypingFormat(format));
}

void NotesEdit::Follow(qreal lineHeight) {
    if (!place_.isValid() || place_.document() != document()) return;
    const int line = place_.firstLineNumber();
    if (line == placeLine_) return;
    QScrollBar* bar = verticalScrollBar();
    following_ = true;
    bar->setValue(bar->value() + qRound((line - placeLine_) * lineHeight));
    following_ = false;
    placeLine_ = line;
}

// The caret into view; in a long paragraph by its own rectangle.
void NotesEdit::ShowCaret() {
    if (InLongParagraph(textCursor().position()))
        KeepInView(QRectF());
    else
        ensureCursorVisible();
}

// QTextEdit's own scroll to a rectangle (document coordinates), in a long paragraph to the
// caret's.
void NotesEdit::KeepInView(const QRectF& asked) {
    QRectF rect = asked;
    if (InLongParagraph(textCursor().position()))
        rect = QRectF(CaretRect().adjusted(-5, 0, 5, 0))
                   .translated(horizontalScrollBar()->value(), verticalScrollBar()->value());
    QMetaObject::invokeMethod(this, "_q_ensureVisible", Q_ARG(QRectF, rect));
}

// The control repaints the caret where its paragraph's QTextLayout would have it; in a long
// paragraph the caret's old and new place are repainted as well.
void NotesEdit::RepaintCaret() {
    if (!InLongParagraph(textCursor().position())) {
        if (!caretShown_.isNull()) viewport()->update(caretShown_);
        caretShown_ = QRect();
        return;
    }
    const QRect caret = CaretRect().adjusted(-2, 0, 2, 0);
    if (caret == caretShown_) {
        viewport()->update(caret);
        return;
    }
    if (!caretShown_.isNull()) viewport()->update(caretShown_);
    viewport()->update(caret);
    caretShown_ = caret;
}

// The control repaints a changed selection by the rectangles of its ends in their
// paragraphs' QTextLayouts, which an end in a long paragraph does not have: the selection's
// lines would stay unpainted, or painted once it shrank or went. Such a selection, and the
// one before it, get the whole view repainted (what is shown of the text).
void NotesEdit::RepaintLongSelection() {
    const QTextCursor cursor = textCursor();
    const bool inLong = cursor.hasSelection() && (InLongParagraph(cursor.selectionStart()) ||
                                                  InLongParagraph(cursor.selectionEnd()));
    if (inLong || longSelectionShown_) viewport()->update();
    longSelectionShown_ = inLong;
}

// A move by lines where it starts or ends in a long paragraph; elsewhere Qt's own.
bool NotesEdit::MoveByLines(int lines, bool page, QTextCursor::MoveMode mode) {
    const PlainNotesLayout* plain = Plain();
    if (!plain) return false;
    QTextCursor cursor = textCursor();
    const int from = cursor.position();
    const PlainNotesLayout::ShownLine line = plain->LineOf(from);
    const qreal height = plain->LineHeight();
    if (page) lines *= std::max(1, static_cast<int>(std::ceil(viewport()->height() / height)));
    const int last = document()->lineCount() - 1;
    const int target = std::clamp(line.number + lines, 0, last);
    const qreal x = goalAt_ == from ? goalX_ : line.x;
    const qreal margin = document()->documentMargin();
    const int to = document()->documentLayout()->hitTest(
        QPointF(margin + x, margin + (target + 0.5) * height), Qt::FuzzyHit);
    if (to < 0 || (!InLongParagraph(from) && !InLongParagraph(to))) return false;
    if (page && target == line.number + lines) {
        QScrollBar* down = verticalScrollBar();
        down->setValue(down->value() + (lines > 0 ? 1 : -1) * down->pageStep());
    }
    cursor.setPosition(to, mode);
    setTextCursor(cursor);
    goalX_ = x;
    goalAt_ = to;
    return true;
}

namespace {

// The characters on one side of a place in a block, up to `around` of them; none when there
// are none, or, if asked, when one of them is written right to left.
struct Near {
    int start = 0;
    int end = 0;
    QString text;
};

std::optional<Near> NearTo(const QTextDocument& document, const QTextBlock& block, int position,
                           bool forward, int around, bool leftToRightOnly) {
    const int first = block.position();
    const int last = block.position() + block.length() - 1;
    Near near;
    near.start = forward ? position : std::max(first, position - around);
    near.end = forward ? std::min(last, position + around) : position;
    if (near.start >= near.end) return std::nullopt;
    near.text.reserve(near.end - near.start);
    for (int i = near.start; i < near.end; ++i) {
        const QChar c = document.characterAt(i);
        const QChar::Direction direction = c.direction();
        if (leftToRightOnly && (direction == QChar::DirR || direction == QChar::DirAL ||
                                direction == QChar::DirRLE || direction == QChar::DirRLO ||
                                direction == QChar::DirRLI))
            return std::nullopt;
        near.text += c;
    }
    return near;
}

// The place `to` found among the characters `near`, in the document; -1 when it is none, or
// the far end of those characters short of the block's end (what lies beyond may move it).
int FoundIn(const Near& near, const QTextBlock& block, qsizetype to, bool forward) {
    const int first = block.position();
    const int last = block.position() + block.length() - 1;
    if (to < 0 || (forward && to == near.text.size() && near.end < last) ||
        (!forward && to == 0 && near.start > first))
        return -1;
    return near.start + static_cast<int>(to);
}

// The grapheme boundary next to a place in the block (after it or before it), found among
// the 32 characters on that side; -1 when there is none among them (a longer cluster, or
// the block's end), or, if asked, when one of them is written right to left.
int GraphemeNextTo(const QTextDocument& document, const QTextBlock& block, int position,
                   bool forward, bool leftToRightOnly) {
    const std::optional<Near> near = NearTo(document, block, position, forward, 32, leftToRightOnly);
    if (!near) return -1;
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, near->text);
    graphemes.setPosition(forward ? 0 : near->text.size());
    return FoundIn(*near, block, forward ? graphemes.toNextBoundary() : graphemes.toPreviousBoundary(),
                   forward);
}

// Where Qt's cursor goes by a word from a place in the block (over the word or the run of
// punctuation, then the blanks after it; backwards the blanks, then the word), found by Qt's
// own rule among the 256 characters on that side, in the order of the text whatever its
// direction; -1 when the word runs on beyond them.
int WordNextTo(const QTextDocument& document, const QTextBlock& block, int position,
               bool forward) {
    const std::optional<Near> near = NearTo(document, block, position, forward, 256, false);
    if (!near) return -1;
    const QTextLayout words(near->text);
    const int size = static_cast<int>(near->text.size());
    return FoundIn(*near, block,
                   forward ? words.nextCursorPosition(0, QTextLayout::SkipWords)
                           : words.previousCursorPosition(size, QTextLayout::SkipWords),
                   forward);
}

// The word under a place in the block as Qt's cursor selects it, found by Qt's own rule
// among the characters on either side: 256 of them, more for a word that runs on beyond.
std::pair<int, int> WordAt(const QTextDocument& document, const QTextBlock& block, int position) {
    const int first = block.position();
    const int last = block.position() + block.length() - 1;
    for (int around = 256;; around = around > (last - first) / 16 ? last - first : around * 16) {
        const std::optional<Near> before = NearTo(document, block, position, false, around, false);
        const std::optional<Near> after = NearTo(document, block, position, true, around, false);
        const int start = before ? before->start : position;
        const int end = after ? after->end : position;
        QTextDocument near;
        QTextCursor word(&near);
        word.insertText((before ? before->text : QString()) + (after ? after->text : QString()));
        word.setPosition(position - start);
        word.select(QTextCursor::WordUnderCursor);
        if ((word.selectionStart() > 0 || start == first) &&
            (word.selectionEnd() < end - start || end == last))
            return {start + word.selectionStart(), start + word.selectionEnd()};
    }
}

}  // namespace

// A double click in a long paragraph selects the word under it, as in any other: Qt's own
// finds the word only on a line of the paragraph's QTextLayout, which stays empty.
void NotesEdit::mouseDoubleClickEvent(QMouseEvent* event) {
    const int at = cursorForPosition(event->position().toPoint()).position();
    if (event->button() != Qt::LeftButton || !InLongParagraph(at) ||
        !(textInteractionFlags() & Qt::TextSelectableByMouse)) {
        QTextEdit::mouseDoubleClickEvent(event);
        return;
    }
    const auto [from, to] = WordAt(*document(), document()->findBlock(at), at);
    QTextCursor cursor = textCursor();
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard->supportsSelection() && cursor.hasSelection())
        clipboard->setMimeData(createMimeDataFromSelection(), QClipboard::Selection);
    event->accept();
}

// Left and Right in a long paragraph written left to right: to the neighbouring grapheme
// boundary, found among the characters around the caret. Qt's own move works out the
// character attributes of the whole paragraph first (some 150 ms for 2 MB after an edit).
// A selection without Shift, the paragraph's ends, text written right to left and a
// cluster longer than the characters looked at are Qt's own.
bool NotesEdit::MoveByCharacter(bool right, QTextCursor::MoveMode mode) {
    QTextCursor cursor = textCursor();
    const int from = cursor.position();
    if (!InLongParagraph(from) || (mode == QTextCursor::MoveAnchor && cursor.hasSelection()))
        return false;
    const QTextBlock block = cursor.block();
    if (block.textDirection() != Qt::LeftToRight) return false;
    const int to = GraphemeNextTo(*document(), block, from, right, true);
    if (to < 0) return false;
    cursor.setPosition(to, mode);
    setTextCursor(cursor);
    return true;
}

// Ctrl+Left and Ctrl+Right, with Shift or not, and the deletes of the word before or after
// the caret, in a long paragraph written left to right: Qt's own look for the word among the
// character attributes of the whole paragraph (some 100 ms for 2 MB after every edit). As
// Qt's, a move goes from the caret also when there is a selection. A selection to delete,
// the paragraph's ends, a paragraph written right to left and a word longer than the
// characters looked at are Qt's own.
bool NotesEdit::ByWordInLong(QKeyEvent* event) {
    using Keys = QKeySequence;
    const bool deleting = event->matches(Keys::DeleteStartOfWord) || event->matches(Keys::DeleteEndOfWord);
    const bool selecting = event->matches(Keys::SelectNextWord) || event->matches(Keys::SelectPreviousWord);
    const bool forward = event->matches(Keys::MoveToNextWord) || event->matches(Keys::SelectNextWord) ||
                         event->matches(Keys::DeleteEndOfWord);
    if (!forward && !deleting && !selecting && !event->matches(Keys::MoveToPreviousWord)) return false;
    QTextCursor cursor = textCursor();
    const int from = cursor.position();
    if (!InLongParagraph(from) ||
        (deleting && (cursor.hasSelection() || isReadOnly() || overwriteMode())))
        return false;
    const QTextBlock block = cursor.block();
    if (block.textDirection() != Qt::LeftToRight) return false;
    const int to = WordNextTo(*document(), block, from, forward);
    if (to < 0) return false;
    if (!deleting) {
        cursor.setPosition(to, selecting ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor);
        setTextCursor(cursor);
        return true;
    }
    // As the control's, an undo step of its own.
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    ShowCaret();
    return true;
}

// Home and End in a long paragraph: to the start or end of the displayed line; a line that
// wraps after a blank ends before it, as in Qt's own move.
bool NotesEdit::MoveInLine(bool toEnd, QTextCursor::MoveMode mode) {
    QTextCursor cursor = textCursor();
    if (!InLongParagraph(cursor.position())) return false;
    const PlainNotesLayout::ShownLine line = Plain()->LineOf(cursor.position());
    int to = line.start;
    if (toEnd) {
        to = line.start + line.length;
        const QTextBlock block = cursor.block();
        if (to < block.position() + block.length() - 1 && line.length > 0 &&
            document()->characterAt(to - 1).isSpace())
            --to;
    }
    cursor.setPosition(to, mode);
    setTextCursor(cursor);
    return true;
}

QString NotesEdit::TypedText(const QKeyEvent& event) {
    const Qt::KeyboardModifiers modifiers =
        event.modifiers() & ~(Qt::KeypadModifier | Qt::GroupSwitchModifier);
    const QString text = event.text();
    if (text.isEmpty() || !(text.at(0).isPrint() || text.at(0) == u'\t') ||
        (modifiers & ~Qt::ShiftModifier) != 0)
        return {};
    return text;
}

// Qt's own cursor works out the caret's x after an edit from the paragraph's QTextLayout,
// which means itemizing the whole paragraph (some 25 ms for 2 MB) on every key; inside an
// edit block it leaves that for later. The keys' edits are joined for undo as Qt joins
// them: characters typed one after the other, and Backspaces or Deletes in a row; Enter
// and a join of two paragraphs (Backspace at a paragraph's start, Delete at its end, next
// to a long one) are steps of their own.
bool NotesEdit::EditInLong(QKeyEvent* event) {
    if (isReadOnly() || overwriteMode()) return false;
    QTextCursor cursor = textCursor();
    const QTextBlock block = cursor.block();
    if (document()->findBlock(cursor.anchor()) != block) return false;
    const Qt::KeyboardModifiers modifiers =
        event->modifiers() & ~(Qt::KeypadModifier | Qt::GroupSwitchModifier);
    const QString text = TypedText(*event);
    Typed kind = Typed::None;
    if (event->matches(QKeySequence::InsertParagraphSeparator))
        kind = Typed::Enter;
    else if (event->matches(QKeySequence::Delete))
        kind = Typed::Forward;
    else if (event->key() == Qt::Key_Backspace && (modifiers & ~Qt::ShiftModifier) == 0)
        kind = Typed::Back;
    else if (!text.isEmpty())
        kind = Typed::Insert;
    if (kind == Typed::None) return false;
    // The paragraph a Backspace or Delete joins with; a list's or an indented paragraph's
    // Backspace at its start is Qt's own.
    QTextBlock other;
    const bool back = kind == Typed::Back;
    if (!cursor.hasSelection() && back && cursor.position() == block.position()) {
        if (cursor.currentList() || block.blockFormat().indent() > 0) return false;
        other = block.previous();
        if (!other.isValid()) return false;
    } else if (!cursor.hasSelection() && kind == Typed::Forward &&
               cursor.position() == block.position() + block.length() - 1) {
        other = block.next();
        if (!other.isValid()) return false;
    }
    if (!InLongParagraph(cursor.position()) && !(other.isValid() && InLongParagraph(other.position())))
        return false;
    if (other.isValid()) kind = Typed::Join;
    const bool join = kind == lastTyped_ && kind != Typed::Enter && kind != Typed::Join &&
                      !cursor.hasSelection() &&
                      cursor.position() == typedAt_ && document()->revision() == typedRevision_ &&
                      document()->availableUndoSteps() == typedUndoSteps_;
    if (join)
        cursor.joinPreviousEditBlock();
    else
        cursor.beginEditBlock();
    if (kind == Typed::Insert) {
        cursor.insertText(text);
    } else if (kind == Typed::Enter) {
        cursor.insertBlock();
    } else if (kind == Typed::Join && back) {
        cursor.deletePreviousChar();
    } else if (cursor.hasSelection()) {
        cursor.removeSelectedText();
    } else if (kind == Typed::Back) {
        cursor.deletePreviousChar();
    } else {
        // The next character as the user sees it: a letter with its marks, a pair of
        // surrogates, the paragraph's end. Taken as a selection towards the end, so that
        // undo's caret after it is where this cursor's removal left it.
        const int at = cursor.position();
        const int next = GraphemeNextTo(*document(), block, at, true, false);
        cursor.setPosition(next > at ? next : at + 1, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
    cursor.endEditBlock();
    lastTyped_ = kind;
    typedAt_ = cursor.position();
    typedRevision_ = document()->revision();
    typedUndoSteps_ = document()->availableUndoSteps();
    ShowCaret();
    return true;
}

// As QTextEdit's undo and redo, which put the caret at the change; the caret is given its
// place inside an edit block, and is set again only when that is not where the change left it.
void NotesEdit::UndoStep(bool undo) {
    QTextDocument* doc = document();
    QTextCursor caret = textCursor();
    {
        QTextCursor step(doc);
        step.beginEditBlock();
        if (undo)
            doc->undo(&caret);
        else
            doc->redo(&caret);
        step.endEditBlock();
    }
    lastTyped_ = Typed::None;
    if (document() != doc) return;  // the step showed the other document of a delete of all
    const QTextCursor now = textCursor();
    if (caret.position() != now.position() || now.hasSelection())
        setTextCursor(caret);
    else
        ShowCaret();
}

void NotesEdit::keyPressEvent(QKeyEvent* event) {
    TypeOwnFormat();
    if (EditInLong(event) || ByWordInLong(event)) {
        event->accept();
        return;
    }
    if (!isReadOnly() && (event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo))) {
        UndoStep(event->matches(QKeySequence::Undo));
        event->accept();
        return;
    }
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::NoModifier || modifiers == Qt::ShiftModifier) {
        const QTextCursor::MoveMode mode =
            modifiers == Qt::ShiftModifier ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor;
        bool done = false;
        switch (event->key()) {
        case Qt::Key_Up: done = MoveByLines(-1, false, mode); break;
        case Qt::Key_Down: done = MoveByLines(1, false, mode); break;
        case Qt::Key_PageUp: done = MoveByLines(-1, true, mode); break;
        case Qt::Key_PageDown: done = MoveByLines(1, true, mode); break;
        case Qt::Key_Home: done = MoveInLine(false, mode); break;
        case Qt::Key_End: done = MoveInLine(true, mode); break;
        case Qt::Key_Left: done = MoveByCharacter(false, mode); break;
        case Qt::Key_Right: done = MoveByCharacter(true, mode); break;
        default: break;
        }
        if (done) {
            event->accept();
            return;
        }
    }
    eager_ = event->matches(QKeySequence::Copy) || event->matches(QKeySequence::Cut);
    QTextEdit::keyPressEvent(event);
    eager_ = false;
}

}  // namespace editor
