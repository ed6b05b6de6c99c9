// SPDX-License-Identifier: GPL-3.0-or-later
// The text control of the notes window.
#pragma once

#include <QTextBlock>
#include <QTextEdit>

#include "editor/plain_notes_layout.h"

namespace editor {

// A QTextEdit whose formatting rectangle is the viewport inside given margins, and which
// keeps its place while a plain text's lines are counted in the background: the caret's
// paragraph where the caret was in sight after the user's last move, else the paragraph at
// the top. The place is taken at every move of the caret, scroll and edit, before the lines
// shown are laid out, so that the lines they gain move the view as well.
class NotesEdit : public QTextEdit, public PlainNotesView {
public:
    explicit NotesEdit(QWidget* parent);
    ~NotesEdit() override;
    void SetFormattingMargins(int x, int y) { setViewportMargins(x, y, x, y); }

    void Follow(qreal lineHeight) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    void TakePlace();
    void TypeOwnFormat();

    QTextBlock place_;
    int placeLine_ = 0;  // the first line of place_ when it was taken or last followed
    bool following_ = false;
};

}  // namespace editor
