// SPDX-License-Identifier: GPL-3.0-or-later
// Find and replace in the notes window: forward from the end of the selection, never
// wrapping around to the start; replace asks at each hit until the user answers All.
#include <QCoreApplication>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include "editor/replace_run.h"
#include "editor/find_dialog.h"
#include "editor/tedit_form.h"

namespace editor {

FindDialog* TEditForm::MakeFindDialog(bool replace) {
    auto* dialog = new FindDialog(replace ? FindDialog::Kind::Replace : FindDialog::Kind::Find, this);
    if (replace) {
        dialog->onFindNext = [this] { RepFind(); };
        dialog->onReplace = [this] { StringTauschen(); };
    } else {
        dialog->onFindNext = [this] { Find(); };
    }
    return dialog;
}

void TEditForm::Suchen1Click() {
    if (!findDialog_) findDialog_ = MakeFindDialog(false);
    findDialog_->SetFindText(suchText_);
    findDialog_->ShowInFront();
}

void TEditForm::Ersetzen1Click() {
    if (!replaceDialog_) replaceDialog_ = MakeFindDialog(true);
    replaceDialog_->SetFindText(suchText_);
    replaceDialog_->ShowInFront();
}

void TEditForm::Find() { FindNext(*findDialog_); }

// Also run by replace: the hit is drawn before the question about it.
void TEditForm::RepFind() {
    FindNext(*replaceDialog_);
    QCoreApplication::processEvents();
}

void TEditForm::FindNext(const FindDialog& dialog) {
    QTextCursor selection = editor_->textCursor();
    if (SearchNext(dialog, selection))
        editor_->setTextCursor(selection);
    else
        ShowNotFound(dialog);
}

// Selects in `selection` the next hit after it; false when there is none.
bool TEditForm::SearchNext(const FindDialog& dialog, QTextCursor& selection) {
    suchText_ = dialog.FindText();
    if (suchText_.isEmpty()) return true;
    const int found = FindInDocument(*editor_->document(), suchText_, selection.selectionEnd(),
                                     editor_->document()->characterCount() - 1,
                                     dialog.WholeWord(), dialog.MatchCase());
    if (found < 0) return false;
    selection.setPosition(found);
    selection.setPosition(found + static_cast<int>(suchText_.size()), QTextCursor::KeepAnchor);
    return true;
}

// A box raised from the find or replace dialog belongs to it, so that the focus goes back
// to that dialog when the box closes. The command names its dialog: the active window would
// not, since right after an earlier box has closed there is none for a moment.
QWidget* TEditForm::BoxOwner(const FindDialog& dialog) {
    for (FindDialog* d : {findDialog_, replaceDialog_})
        if (d == &dialog && d->isVisible()) return d;
    return this;
}

void TEditForm::ShowNotFound(const FindDialog& dialog) {
    Tell(dialog, NotFoundMessage(dialog.FindText()));
}

void TEditForm::Tell(const FindDialog& dialog, const QString& message) {
    Modal([&] {
        return dialogs_.Message(BoxOwner(dialog), platform::MessageKind::Plain, message,
                                platform::ButtonOk);
    });
}

// Replace and replace-all (ReplaceRun) with the dialog's texts and options as they are at
// the press. While it asks, each hit is shown and drawn before its question; once it runs
// on, the caret, the status line and the text are brought up to date and events let through
// at the end of each batch of edits. A load, "&Neu" or a close meanwhile stops it at once.
void TEditForm::StringTauschen() {
    const FindDialog& dialog = *replaceDialog_;
    if (dialog.FindText().isEmpty()) return;
    // A press while a long command runs (it lets events through) is not started.
    LongCommand::Run run(longCommand_, LongCommand::Kind::Replace, false);
    if (!run) return;
    const ReplaceRequest request{dialog.FindText(), dialog.ReplaceText(), dialog.WholeWord(),
                                 dialog.MatchCase(), dialog.ReplaceAll()};
    ReplaceHost host;
    host.ask = [&] {
        return Modal([&] {
            return dialogs_.Message(BoxOwner(dialog), platform::MessageKind::Confirm,
                                    QStringLiteral("diesen Text ersetzen?"),
                                    platform::ButtonYes | platform::ButtonNo |
                                        platform::ButtonCancel | platform::ButtonAll);
        });
    };
    host.tell = [&](const QString& message) { Tell(dialog, message); };
    host.show = [&](QTextCursor& selection, bool events) {
        run.Batch().Close();
        if (!run.GoOn()) return false;
        editor_->setTextCursor(selection);
        if (!events) return true;
        if (!run.Pass()) return false;
        selection = editor_->textCursor();  // the user may have moved it meanwhile
        return true;
    };
    QTextCursor selection = editor_->textCursor();
    ReplaceRun replace(*editor_->document(), request, run.Batch());
    replace.Run(selection, host);
    if (replace.Searched()) suchText_ = request.find;
}

}  // namespace editor
