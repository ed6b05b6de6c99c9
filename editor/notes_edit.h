// SPDX-License-Identifier: GPL-3.0-or-later
// The text control of the notes window.
#pragma once

#include <QTextEdit>

#include "editor/plain_notes_layout.h"

namespace editor {

// A QTextEdit whose formatting rectangle is the viewport inside given margins, and which
// keeps its place while a plain text's lines are counted in the background: the caret's
// line where the caret is in sight, else the first line shown.
class NotesEdit : public QTextEdit, public PlainNotesView {
public:
    using QTextEdit::QTextEdit;
    void SetFormattingMargins(int x, int y) { setViewportMargins(x, y, x, y); }

    int KeptPosition() const override;
    void Shift(qreal dy) override;
};

}  // namespace editor
