// Find and replace in the notes window: forward from the end of the selection, never
// wrapping around to the start; replace asks at each hit until the user answers All.
#include <QCoreApplication>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

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
    suchText_ = dialog.FindText();
    if (suchText_.isEmpty()) return;
    const int start = editor_->textCursor().selectionEnd();
    const int found = FindInText(suchText_, start, textLength_, dialog.WholeWord(), dialog.MatchCase());
    if (found < 0) {
        const QString text = QStringLiteral("Kann \"") + suchText_ + QStringLiteral("\" nicht finden.");
        Modal([&] {
            return dialogs_.Message(this, platform::MessageKind::Plain, text, platform::ButtonOk);
        });
        return;
    }
    QTextCursor hit(editor_->document());
    hit.setPosition(found);
    hit.setPosition(found + static_cast<int>(suchText_.size()), QTextCursor::KeepAnchor);
    editor_->setTextCursor(hit);
}

// Whether the selection is the text to replace; the whole-word option plays no part here.
bool TEditForm::SelectionIsHit(const FindDialog& dialog) const {
    const QString selected = editor_->textCursor().selectedText();
    if (dialog.MatchCase()) return selected == dialog.FindText();
    return FoldAsciiToUpper(selected) == FoldAsciiToUpper(dialog.FindText());
}

// The caret ends after the inserted text, so a search goes on behind it and never meets
// the replacement again.
void TEditForm::ReplaceSelection(const QString& text) {
    QTextCursor cursor = editor_->textCursor();
    cursor.insertText(text);
    editor_->setTextCursor(cursor);
}

void TEditForm::StringTauschen() {
    const FindDialog& dialog = *replaceDialog_;
    // A press while a replace runs (it lets events through) is not started a second time.
    if (replacing_ || dialog.FindText().isEmpty()) return;
    replacing_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{replacing_};
    bool ask = true;
    int count = 0;
    for (;;) {
        QCoreApplication::processEvents();
        if (!SelectionIsHit(dialog)) {
            RepFind();
            if (!SelectionIsHit(dialog)) break;
        }
        if (ask) {
            const platform::MessageButton answer = Modal([this] {
                return dialogs_.Message(this, platform::MessageKind::Confirm,
                                        QStringLiteral("diesen Text ersetzen?"),
                                        platform::ButtonYes | platform::ButtonNo |
                                            platform::ButtonCancel | platform::ButtonAll);
            });
            if (answer == platform::ButtonCancel) break;
            if (answer == platform::ButtonYes) {
                ReplaceSelection(dialog.ReplaceText());
                ++count;
            } else if (answer == platform::ButtonNo) {
                QTextCursor cursor = editor_->textCursor();
                cursor.setPosition(cursor.selectionEnd());
                editor_->setTextCursor(cursor);
            } else {
                // All: this hit stays selected and is met again by the next pass.
                ask = false;
            }
        } else {
            ReplaceSelection(dialog.ReplaceText());
            ++count;
        }
        if (!dialog.ReplaceAll()) break;
    }
    if (count > 0) {
        const QString summary = QString::number(count) + QStringLiteral(" Vorkommen von \"") +
                                dialog.FindText() + QStringLiteral("\" durch \"") +
                                dialog.ReplaceText() + QStringLiteral("\" ersetzt.");
        Modal([&] {
            return dialogs_.Message(this, platform::MessageKind::Plain, summary, platform::ButtonOk);
        });
    }
}

}  // namespace editor
