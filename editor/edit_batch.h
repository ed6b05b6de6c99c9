// SPDX-License-Identifier: GPL-3.0-or-later
// Many edits of one long command (a conversion, a replace-all) gathered into few layout
// passes and one step for undo.
#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QTextCursor>
#include <QTextDocument>

namespace editor {

class PlainNotesLayout;

// The control lays out the whole rest of the text after every finished edit, so edits one by
// one would cost the length of the text each, and a command over the whole text its square.
// Here the edits stay open together for a while (at least 20 ms, and ten times as long as the
// last layout pass took, so that laying out costs at most a tenth of the time) and are then
// finished in one pass. While edits are open the control shows their lines unlaid: close
// the batch before anything may paint the control. A plain text's layout holds the changed
// paragraphs back for as long as the batch lives (see PlainNotesLayout::HoldChanges).
class EditBatch {
public:
    explicit EditBatch(QTextDocument* document);
    ~EditBatch();
    EditBatch(const EditBatch&) = delete;
    EditBatch& operator=(const EditBatch&) = delete;

    // The cursor to edit with, its edits open; null when the document is gone.
    QTextCursor& Edit();
    // Whether the batch is open long enough to be finished.
    bool Due() const;
    // Finishes the open edits: the text is laid out again.
    void Close();
    const QTextDocument* Document() const { return document_; }

private:
    QPointer<QTextDocument> document_;
    QPointer<PlainNotesLayout> layout_;
    QTextCursor cursor_;
    bool open_ = false;
    bool anyEdit_ = false;
    QElapsedTimer openFor_;
    qint64 lastLayoutNs_ = 0;
};

}  // namespace editor
