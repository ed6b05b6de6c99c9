// Find and replace in the notes window: forward from the end of the selection, never
// wrapping around to the start; replace asks at each hit until the user answers All.
#include <QCoreApplication>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include "editor/edit_batch.h"
#include "editor/find_dialog.h"
#include "editor/tedit_form.h"

namespace editor {

namespace {

// Only the ASCII letters a-z fold: a hit "Ä" for "ä" is found by the search but is not
// taken for the current hit by replace.
QString FoldAsciiToUpper(QString text) {
    for (QChar& c : text)
        if (c >= u'a' && c <= u'z') c = QChar(c.unicode() - u'a' + u'A');
    return text;
}

}  // namespace

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

// The control's find: the first occurrence of `text` that lies wholly inside [start, end),
// or -1. A whole word has no letter or digit right before or after it.
int TEditForm::FindInText(const QString& text, int start, int end, bool wholeWord,
                          bool matchCase) const {
    QTextDocument::FindFlags flags;
    if (wholeWord) flags |= QTextDocument::FindWholeWords;
    if (matchCase) flags |= QTextDocument::FindCaseSensitively;
    const QTextCursor hit = editor_->document()->find(text, start, flags);
    if (hit.isNull() || hit.selectionEnd() > end) return -1;
    return hit.selectionStart();
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

// Selects in `selection` the next hit after it; false when there is none. The end of the
// range is the text's length now: a replace-all's open edits are not in TextLength yet.
bool TEditForm::SearchNext(const FindDialog& dialog, QTextCursor& selection) {
    suchText_ = dialog.FindText();
    if (suchText_.isEmpty()) return true;
    const int end = editor_->document()->characterCount() - 1;
    const int found = FindInText(suchText_, selection.selectionEnd(), end, dialog.WholeWord(),
                                 dialog.MatchCase());
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
    const QString message =
        QStringLiteral("Kann \"") + dialog.FindText() + QStringLiteral("\" nicht finden.");
    Modal([&] {
        return dialogs_.Message(BoxOwner(dialog), platform::MessageKind::Plain, message,
                                platform::ButtonOk);
    });
}

// Whether the selection is the text to replace; the whole-word option plays no part here.
bool TEditForm::SelectionIsHit(const FindDialog& dialog, const QTextCursor& selection) const {
    const QString selected = selection.selectedText();
    if (dialog.MatchCase()) return selected == dialog.FindText();
    return FoldAsciiToUpper(selected) == FoldAsciiToUpper(dialog.FindText());
}

// While it asks, each hit is shown and drawn before its question. Once it runs on without
// questions, the caret, the status line and the text are brought up to date and events let
// through at the end of each batch of edits (every 20 ms or more) rather than after every
// hit: each would lay out and scroll the text anew, and a replace-all would cost the
// square of the text's length.
void TEditForm::StringTauschen() {
    const FindDialog& dialog = *replaceDialog_;
    // A press while a replace runs (it lets events through) is not started a second time.
    if (replacing_ || dialog.FindText().isEmpty()) return;
    replacing_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{replacing_};
    EditBatch batch(editor_->document());
    QTextCursor selection = editor_->textCursor();
    // Brings the editor to the command's selection and the text's layout up to date.
    const auto show = [&] {
        batch.Close();
        editor_->setTextCursor(selection);
    };
    bool ask = true;
    int count = 0;
    for (;;) {
        if (ask || batch.Due()) {
            show();
            QCoreApplication::processEvents();
            selection = editor_->textCursor();  // the user may have moved it meanwhile
        }
        if (!SelectionIsHit(dialog, selection)) {
            if (!SearchNext(dialog, selection)) {
                show();
                ShowNotFound(dialog);
                break;
            }
            if (ask) {
                show();
                QCoreApplication::processEvents();
                selection = editor_->textCursor();
            }
            if (!SelectionIsHit(dialog, selection)) break;
        }
        if (ask) {
            const platform::MessageButton answer = Modal([&] {
                return dialogs_.Message(BoxOwner(dialog), platform::MessageKind::Confirm,
                                        QStringLiteral("diesen Text ersetzen?"),
                                        platform::ButtonYes | platform::ButtonNo |
                                            platform::ButtonCancel | platform::ButtonAll);
            });
            if (answer == platform::ButtonCancel) break;
            if (answer == platform::ButtonYes) {
                ReplaceSelection(batch.Edit(), selection, dialog.ReplaceText());
                ++count;
            } else if (answer == platform::ButtonNo) {
                selection.setPosition(selection.selectionEnd());
            } else {
                // All: this hit stays selected and is met again by the next pass.
                ask = false;
            }
        } else {
            ReplaceSelection(batch.Edit(), selection, dialog.ReplaceText());
            ++count;
        }
        if (!dialog.ReplaceAll()) break;
    }
    show();
    if (count > 0) {
        const QString summary = QString::number(count) + QStringLiteral(" Vorkommen von \"") +
                                dialog.FindText() + QStringLiteral("\" durch \"") +
                                dialog.ReplaceText() + QStringLiteral("\" ersetzt.");
        Modal([&] {
            return dialogs_.Message(BoxOwner(dialog), platform::MessageKind::Plain, summary,
                                    platform::ButtonOk);
        });
    }
}

// The caret ends after the inserted text, so a search goes on behind it and never meets
// the replacement again.
void TEditForm::ReplaceSelection(QTextCursor& edit, QTextCursor& selection, const QString& text) {
    edit.setPosition(selection.selectionStart());
    edit.setPosition(selection.selectionEnd(), QTextCursor::KeepAnchor);
    edit.insertText(text);
    selection.setPosition(edit.position());
}

}  // namespace editor
