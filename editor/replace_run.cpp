// SPDX-License-Identifier: GPL-3.0-or-later
// The replace loop.
#include "editor/replace_run.h"

#include <QTextBlock>

#include "editor/edit_batch.h"
#include "editor/formats/rtf_kept.h"

namespace editor {

namespace {

// Only the ASCII letters a-z fold: a hit "Ä" for "ä" is found by the search but is not
// taken for the current hit by replace.
QString FoldAsciiToUpper(QString text) {
    for (QChar& c : text)
        if (c >= u'a' && c <= u'z') c = QChar(c.unicode() - u'a' + u'A');
    return text;
}

// Whether any character of [start, end) is the text of a tracked deletion.
bool TouchesDeletion(const QTextDocument& document, int start, int end) {
    for (QTextBlock block = document.findBlock(start); block.isValid() && block.position() < end;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.position() >= end) break;
            if (fragment.position() + fragment.length() > start &&
                IsDeleted(fragment.charFormat())) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace

// A hit in or across the text of a tracked deletion does not count: that text is gone.
int FindInDocument(const QTextDocument& document, const QString& text, int start, int end,
                   bool wholeWord, bool matchCase) {
    QTextDocument::FindFlags flags;
    if (wholeWord) flags |= QTextDocument::FindWholeWords;
    if (matchCase) flags |= QTextDocument::FindCaseSensitively;
    for (int from = start;;) {
        const QTextCursor hit = document.find(text, from, flags);
        if (hit.isNull() || hit.selectionEnd() > end) return -1;
        if (!TouchesDeletion(document, hit.selectionStart(), hit.selectionEnd())) {
            return hit.selectionStart();
        }
        from = hit.selectionStart() + 1;
    }
}

QString NotFoundMessage(const QString& text) {
    return QStringLiteral("Kann \"") + text + QStringLiteral("\" nicht finden.");
}

// Whether the selection is the text to replace; the whole-word option plays no part here.
bool ReplaceRun::IsHit(const QTextCursor& selection) const {
    const QString selected = selection.selectedText();
    if (request_.matchCase) return selected == request_.find;
    return FoldAsciiToUpper(selected) == FoldAsciiToUpper(request_.find);
}

// The end of the range is the text's length now, open edits included.
bool ReplaceRun::SearchNext(QTextCursor& selection) {
    searched_ = true;
    const int found = FindInDocument(document_, request_.find, selection.selectionEnd(),
                                     document_.characterCount() - 1, request_.wholeWord,
                                     request_.matchCase);
    if (found < 0) return false;
    selection.setPosition(found);
    selection.setPosition(found + static_cast<int>(request_.find.size()), QTextCursor::KeepAnchor);
    return true;
}

void ReplaceRun::Replace(QTextCursor& selection) {
    QTextCursor& edit = batch_.Edit();
    edit.setPosition(selection.selectionStart());
    edit.setPosition(selection.selectionEnd(), QTextCursor::KeepAnchor);
    edit.insertText(request_.replace);
    selection.setPosition(edit.position());
}

// While it asks, each hit is shown and drawn before its question. Once it runs on without
// questions, the text is shown and events let through only when the batch of edits is due
// (every 20 ms or more) rather than after every hit.
int ReplaceRun::Run(QTextCursor& selection, const ReplaceHost& host) {
    if (request_.find.isEmpty()) return 0;
    bool ask = true;
    int count = 0;
    for (;;) {
        if ((ask || batch_.Due()) && !host.show(selection, true)) return count;
        if (!IsHit(selection)) {
            if (!SearchNext(selection)) {
                if (!host.show(selection, false)) return count;
                host.tell(NotFoundMessage(request_.find));
                break;
            }
            if (ask && !host.show(selection, true)) return count;
            if (!IsHit(selection)) break;
        }
        if (ask) {
            const platform::MessageButton answer = host.ask();
            if (!host.show(selection, false)) return count;
            if (answer == platform::ButtonCancel) break;
            if (answer == platform::ButtonYes) {
                Replace(selection);
                ++count;
            } else if (answer == platform::ButtonNo) {
                selection.setPosition(selection.selectionEnd());
            } else {
                // All: this hit stays selected and is met again by the next pass.
                ask = false;
            }
        } else {
            Replace(selection);
            ++count;
        }
        if (!request_.all) break;
    }
    if (!host.show(selection, false)) return count;
    if (count > 0)
        host.tell(QString::number(count) + QStringLiteral(" Vorkommen von \"") + request_.find +
                  QStringLiteral("\" durch \"") + request_.replace + QStringLiteral("\" ersetzt."));
    return count;
}

}  // namespace editor
