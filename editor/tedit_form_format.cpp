// SPDX-License-Identifier: GPL-3.0-or-later
// The notes window's formatting and edit commands: alignment with its check marks, the
// font dialog, one-level undo, the clipboard, delete (of the whole text through
// WholeTextDelete, also when typed or pasted over) and select all.
#include <QAction>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextEdit>

#include "editor/notes_edit.h"
#include "editor/plain_notes_layout.h"
#include "editor/tedit_form.h"

namespace editor {

namespace {

struct AlignItem {
    const char* name;
    Qt::Alignment alignment;
};

constexpr AlignItem AlignItems[] = {
    {"Left1", Qt::AlignLeft}, {"Right1", Qt::AlignRight}, {"Center1", Qt::AlignHCenter}};

}  // namespace

void TEditForm::AlignClick(QAction* item) {
    for (const AlignItem& a : AlignItems) {
        QAction* action = Action(a.name);
        action->setChecked(action == item);
        if (action == item) editor_->setAlignment(a.alignment);
    }
    SetModified(true);
}

// The check mark goes to the alignment of the caret's paragraph; a justified one gets none.
void TEditForm::Character1Click() {
    const Qt::Alignment alignment =
        editor_->textCursor().blockFormat().alignment() & Qt::AlignHorizontal_Mask & ~Qt::AlignAbsolute;
    for (const AlignItem& a : AlignItems) Action(a.name)->setChecked(alignment == a.alignment);
}

// The font at the caret, or of the selection's start; what the format leaves open comes from
// the document's default font.
QFont TEditForm::SelectionFont() const {
    return editor_->currentCharFormat().font().resolve(editor_->document()->defaultFont());
}

// The dialog starts on the selection's font and keeps it even on Cancel: that font is then
// the font of the next plain-text file.
void TEditForm::Font1Click() {
    dialogFont_ = SelectionFont();
    const std::optional<QFont> chosen = Modal([this] { return dialogs_.Font(this, dialogFont_); });
    if (!chosen) return;
    dialogFont_ = *chosen;
    QTextCharFormat format;
    format.setFont(*chosen);
    editor_->mergeCurrentCharFormat(format);
    SetModified(true);
}

// Undo would take back part of a long command's edits while it runs.
void TEditForm::Edit1Click() {
    Action("Undo1")->setEnabled(!longCommand_.Running() && editor_->document()->isUndoAvailable());
}

// While a replace or a conversion runs, typed keys, undo and redo, drops and the commands
// that edit would change the text under it (and the replace would replace their text
// again); moving the caret and selecting stay.
void TEditForm::RefuseEdits(bool refuse) {
    editor_->setTextInteractionFlags(refuse ? Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard
                                            : Qt::TextEditorInteraction);
    editor_->setAttribute(Qt::WA_InputMethodEnabled, !refuse);  // composed text, too
    for (const char* name : {"Cut1", "Paste1", "Delete1", "Left1", "Right1", "Center1", "Font1"})
        Action(name)->setEnabled(!refuse);
    Edit1Click();
}

// One level: the last edit is undone and the history forgotten, so a second press does
// nothing and nothing can be redone. An undone edit is an edit: the text counts as modified.
void TEditForm::Undo1Click() {
    if (!editor_->document()->isUndoAvailable()) return;
    static_cast<NotesEdit*>(editor_)->UndoStep(true);
    // The undo of a delete of the whole text shows the text's own document again.
    editor_->document()->clearUndoRedoStacks();
    SetModified(true);
    Edit1Click();
}

// The clipboard gets the text itself, not the selection by reference (see NotesEdit).
void TEditForm::Cut1Click() {
    if (!DeleteWholeText(true)) static_cast<NotesEdit*>(editor_)->CopyNow([this] { editor_->cut(); });
}

void TEditForm::Copy1Click() { static_cast<NotesEdit*>(editor_)->CopyNow([this] { editor_->copy(); }); }

void TEditForm::Paste1Click() { editor_->paste(); }

// The whole text is hidden whole, so that its undo costs no more than showing it again (for
// a rich text Qt's layout lays it out anew). A text with pictures, lists or tables keeps
// the control's own way.
bool TEditForm::DeleteWholeText(bool copy, const std::function<void(QTextCursor&)>& fill) {
    QTextDocument* full = editor_->document();
    if (longCommand_.Running() || !(editor_->textInteractionFlags() & Qt::TextEditable) ||
        !WholeTextDelete::Covers(editor_->textCursor()) || !WholeTextDelete::HoldsNoObjects(*full))
        return false;
    if (copy) Copy1Click();
    QTextDocument* empty = WholeTextDelete::EmptyLike(*full, editor_, fill);
    if (dynamic_cast<PlainNotesLayout*>(full->documentLayout())) UsePlainLayout(empty);
    wholeTextDelete_.Delete(full, empty);
    return true;
}

// The control types over a selection in the format at the selection's end, and takes the
// paragraph's format from what the removal left.
bool TEditForm::TypeOverWholeText(const QString& text) {
    QTextCharFormat format = editor_->textCursor().charFormat();
    format.clearProperty(QTextFormat::ObjectType);
    return DeleteWholeText(false, [&](QTextCursor& at) { at.insertText(text, format); });
}

// Plain text pasted takes the formats the removal left.
bool TEditForm::PasteOverWholeText(const QString& text) {
    return DeleteWholeText(false, [&](QTextCursor& at) {
        at.insertFragment(QTextDocumentFragment::fromPlainText(text));
    });
}

void TEditForm::Delete1Click() {
    if (DeleteWholeText(false)) return;
    QTextCursor cursor = editor_->textCursor();
    cursor.removeSelectedText();
    editor_->setTextCursor(cursor);
}

void TEditForm::Selectall1Click() { editor_->selectAll(); }

}  // namespace editor
