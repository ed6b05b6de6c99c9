// SPDX-License-Identifier: GPL-3.0-or-later
// The delete of the whole text, or its replacement by a character typed or a text pasted:
// the text is hidden whole instead of being taken apart, so that undoing the delete only
// shows it again.
#pragma once

#include <QTextCursor>
#include <QTextDocument>
#include <functional>

class QObject;

namespace editor {

// Taking a text of a million paragraphs apart, and undoing that, rebuild the document's tree
// paragraph by paragraph (60 MB: about 1 s to delete, 5 s to undo, and then every line
// counted again). Here the document shown is replaced by an empty one that looks as the
// delete would have left it, and each of the two gets a step for undo that shows the other
// one, kept as it was. Undo, redo (the control's keys) and undo again go back and forth
// between the two as between the text before and after the delete. The hidden document is
// a child of the shown one: it lives as long as the step that can show it again (an edit
// drops the redo step, "Rückgängig" all steps) or until the shown one goes (a load).
// A rich text shown again is laid out anew all the same: the control gives every document
// it shows its width, and Qt's layout then drops every paragraph's lines (10 million
// characters: some 5 s, in the background).
class WholeTextDelete {
public:
    // `shown` gives the document the control shows now; `show` puts another one into it
    // (the one shown before stays alive, hidden).
    WholeTextDelete(std::function<QTextDocument*()> shown, std::function<void(QTextDocument*)> show)
        : shown_(std::move(shown)), show_(std::move(show)) {}

    // True when `selection` covers the whole text of a document that can undo.
    static bool Covers(const QTextCursor& selection);
    // True when the document has (and had) no picture, list or table: an empty document
    // lacks them, and what the delete leaves may refer to them.
    static bool HoldsNoObjects(const QTextDocument& document);
    // A new empty document with what the delete of `full`'s whole text leaves: its options,
    // default font and margins, and the paragraph and character format of its last
    // paragraph. `fill`, when given, then puts in the text that replaces the whole (a key
    // typed, a paste), as part of the same step for undo. Its layout is left to the caller.
    static QTextDocument* EmptyLike(const QTextDocument& full, QObject* parent,
                                    const std::function<void(QTextCursor&)>& fill = {});
    // Shows `empty` (emptied or filled) in place of `full` (shown now), as one step for undo.
    void Delete(QTextDocument* full, QTextDocument* empty);
    // `document` (shown) now matches the file: a hidden text does not, whatever its own
    // history says.
    static void Saved(const QTextDocument& document);

private:
    class Step;
    void Switch(QTextDocument* from, QTextDocument* to, bool undo);

    std::function<QTextDocument*()> shown_;
    std::function<void(QTextDocument*)> show_;
};

}  // namespace editor
