// SPDX-License-Identifier: GPL-3.0-or-later
// The text control of the notes window: the place it keeps in view.
#include "editor/notes_edit.h"

#include <QAbstractTextDocumentLayout>
#include <QScrollBar>

namespace editor {

int NotesEdit::KeptPosition() const {
    if (viewport()->rect().intersects(cursorRect())) return textCursor().position();
    const QPointF top(0, verticalScrollBar()->value());
    return document()->documentLayout()->hitTest(top, Qt::FuzzyHit);
}

void NotesEdit::Shift(qreal dy) {
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(bar->value() + qRound(dy));
}

}  // namespace editor
