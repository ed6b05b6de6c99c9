// SPDX-License-Identifier: GPL-3.0-or-later
// The text control of the notes window: the place it keeps in view.
#include "editor/notes_edit.h"

#include <QAbstractTextDocumentLayout>
#include <QScrollBar>

#include "editor/formats/rtf_kept.h"

namespace editor {

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
    QTextEdit::keyPressEvent(event);
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
