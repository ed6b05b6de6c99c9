// SPDX-License-Identifier: GPL-3.0-or-later
// Edits gathered into few layout passes and one undo step.
#include "editor/edit_batch.h"

#include <algorithm>

#include "editor/plain_notes_layout.h"

namespace editor {

namespace {

constexpr qint64 MinimumOpenNs = 20'000'000;

}  // namespace

EditBatch::EditBatch(QTextDocument* document) : document_(document), cursor_(document) {
    if (document) layout_ = dynamic_cast<PlainNotesLayout*>(document->documentLayout());
    if (layout_) layout_->HoldChanges(true);
}

EditBatch::~EditBatch() {
    Close();
    if (layout_) layout_->HoldChanges(false);
}

QTextCursor& EditBatch::Edit() {
    if (!open_ && document_) {
        // Every batch after the first joins the first: the command is one step for undo.
        if (anyEdit_)
            cursor_.joinPreviousEditBlock();
        else
            cursor_.beginEditBlock();
        open_ = anyEdit_ = true;
        openFor_.start();
    }
    return cursor_;
}

bool EditBatch::Due() const {
    return open_ && openFor_.nsecsElapsed() >= std::max(MinimumOpenNs, 10 * lastLayoutNs_);
}

void EditBatch::Close() {
    if (!open_) return;
    open_ = false;
    // A document replaced meanwhile (a load) took its open edits with it.
    if (!document_) return;
    QElapsedTimer layout;
    layout.start();
    cursor_.endEditBlock();
    lastLayoutNs_ = layout.nsecsElapsed();
}

}  // namespace editor
