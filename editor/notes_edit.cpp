// SPDX-License-Identifier: GPL-3.0-or-later
// The text control of the notes window: the place it keeps in view, the format typed, the
// selection offered to other programs.
#include "editor/notes_edit.h"

#include <QAbstractTextDocumentLayout>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTextDocumentFragment>

#include "editor/formats/rtf_kept.h"

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
}

// The base classes delete the document and the scroll bars, which may still signal.
NotesEdit::~NotesEdit() {
    QObject::disconnect(verticalScrollBar(), nullptr, this, nullptr);
    QObject::disconnect(this, nullptr, this, nullptr);
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
    if (viewport()->rect().intersects(cursorRect())) {
        place_ = textCursor().block();
    } else {
        const QPointF top(0, verticalScrollBar()->value());
        place_ = document()->findBlock(document()->documentLayout()->hitTest(top, Qt::FuzzyHit));
    }
    placeLine_ = place_.firstLineNumber();
}

void NotesEdit::keyPressEvent(QKeyEvent* event) {
    TypeOwnFormat();
    eager_ = event->matches(QKeySequence::Copy) || event->matches(QKeySequence::Cut);
    QTextEdit::keyPressEvent(event);
    eager_ = false;
}

void NotesEdit::insertFromMimeData(const QMimeData* source) {
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

}  // namespace editor
