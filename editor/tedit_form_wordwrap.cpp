// Word wrap of the whole text, with the horizontal scroll bar and the menu's check mark.
#include <QAction>
#include <QTextEdit>

#include "editor/tedit_form.h"

namespace editor {

bool TEditForm::WordWrap() const { return editor_->lineWrapMode() != QTextEdit::NoWrap; }

void TEditForm::SetWordWrap(bool on) {
    editor_->setLineWrapMode(on ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
    // The status line counts lines as displayed, and they have changed.
    ScheduleCountAllLines();
}

// A wrapped text needs no horizontal scroll bar; an unwrapped one always shows it.
void TEditForm::Wordwrap1Click() {
    SetWordWrap(!WordWrap());
    editor_->setHorizontalScrollBarPolicy(WordWrap() ? Qt::ScrollBarAlwaysOff
                                                     : Qt::ScrollBarAlwaysOn);
    Action("Wordwrap1")->setChecked(WordWrap());
}

}  // namespace editor
