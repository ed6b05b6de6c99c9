// SPDX-License-Identifier: GPL-3.0-or-later
// Word wrap of the whole text, with the horizontal scroll bar and the menu's check mark.
#include <QAction>
#include <QTextEdit>

#include "editor/tedit_form.h"

namespace editor {

bool TEditForm::WordWrap() const { return editor_->lineWrapMode() != QTextEdit::NoWrap; }

// A wrapped text needs no horizontal scroll bar; an unwrapped one always shows it.
void TEditForm::ShowWordWrap(bool on) {
    if (on != WordWrap()) {
        editor_->setLineWrapMode(on ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
        // The status line counts lines as displayed, and they have changed.
        ScheduleCountAllLines();
    }
    editor_->setHorizontalScrollBarPolicy(on ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
    Action("Wordwrap1")->setChecked(on);
}

void TEditForm::Wordwrap1Click() { ShowWordWrap(!WordWrap()); }

}  // namespace editor
