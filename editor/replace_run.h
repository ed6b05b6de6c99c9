// SPDX-License-Identifier: GPL-3.0-or-later
// Replace on a QTextDocument: the hit-by-hit questions and the summary go through callbacks,
// so the loop works the same in the window and without one.
#pragma once

#include <QString>
#include <QTextCursor>
#include <QTextDocument>
#include <functional>

#include "platform/qt/dialogs.h"

namespace editor {

class EditBatch;

// What the replace dialog asked for, read once when the replace starts: typing into the
// dialog meanwhile changes neither the run nor its summary.
struct ReplaceRequest {
    QString find;
    QString replace;
    bool wholeWord = false;
    bool matchCase = false;
    bool all = false;  // "Replace &All" rather than "&Replace"
};

// The first occurrence of `text` that lies wholly inside [start, end), or -1. A whole word
// has no letter or digit right before or after it.
int FindInDocument(const QTextDocument& document, const QString& text, int start, int end,
                   bool wholeWord, bool matchCase);

// "Kann "text" nicht finden."
QString NotFoundMessage(const QString& text);

// The questions of a replace, and the place where the window shows its progress.
struct ReplaceHost {
    // "diesen Text ersetzen?" about the selected hit: Yes, No, Cancel or All.
    std::function<platform::MessageButton()> ask;
    // The not-found message and the summary.
    std::function<void(const QString& message)> tell;
    // Shows `selection` with the text laid out; with `events`, lets events through once and
    // takes back the selection the user may have made meanwhile. False: the replace stops
    // at once (the text was loaded, emptied or closed), without another word.
    std::function<bool(QTextCursor& selection, bool events)> show;
};

// Forward from the end of the selection, never wrapping around; asks at each hit until the
// answer All, then runs on without questions. Each replacement leaves the caret after the
// inserted text, so a replacement is never searched again.
class ReplaceRun {
public:
    ReplaceRun(QTextDocument& document, ReplaceRequest request, EditBatch& batch)
        : document_(document), request_(std::move(request)), batch_(batch) {}

    // Runs from `selection`; returns the number of replacements.
    int Run(QTextCursor& selection, const ReplaceHost& host);
    // Whether it searched (and so set the last search text).
    bool Searched() const { return searched_; }

private:
    bool IsHit(const QTextCursor& selection) const;
    bool SearchNext(QTextCursor& selection);
    void Replace(QTextCursor& selection);

    QTextDocument& document_;
    const ReplaceRequest request_;
    EditBatch& batch_;
    bool searched_ = false;
};

}  // namespace editor
