// SPDX-License-Identifier: GPL-3.0-or-later
// The delete (or replacement) of the whole text as a switch between two documents, one step
// for undo in each.
#include "editor/whole_text_delete.h"

#include <QPointer>
#include <QTextBlock>
#include <QTextCursor>
#include <algorithm>

namespace editor {

// The step in `own`'s history that shows `other`. It acts only while `own` is shown: the
// same call on the hidden one merely moves its step across (see Switch).
class WholeTextDelete::Step : public QAbstractUndoItem {
public:
    Step(WholeTextDelete& owner, QTextDocument* own, QTextDocument* other)
        : owner_(owner), own_(own), other_(other) {}
    // Nothing can show the hidden document any more.
    ~Step() override {
        if (other_ && other_->parent() == own_) delete other_.data();
    }
    void undo() override { Go(true); }
    void redo() override { Go(false); }

private:
    void Go(bool undo) {
        if (other_ && owner_.shown_() == own_) owner_.Switch(own_, other_, undo);
    }

    WholeTextDelete& owner_;
    QTextDocument* const own_;
    QPointer<QTextDocument> other_;
};

bool WholeTextDelete::Covers(const QTextCursor& selection) {
    const QTextDocument* document = selection.document();
    return document && document->isUndoRedoEnabled() && selection.hasSelection() &&
           selection.selectionStart() == 0 &&
           selection.selectionEnd() == document->characterCount() - 1;
}

// A list or a table is an object of the document's own, which the last paragraph's formats
// may name by its number; a picture's image lives in the document's resources, where a
// picture copied from the text looks for it when pasted back. The document's formats stay
// once made, so a text that ever had any of them keeps the control's own delete.
bool WholeTextDelete::HoldsNoObjects(const QTextDocument& document) {
    const QList<QTextFormat> formats = document.allFormats();
    return std::none_of(formats.begin(), formats.end(), [](const QTextFormat& format) {
        return format.isImageFormat() || format.isListFormat() || format.isTableFormat();
    });
}

QTextDocument* WholeTextDelete::EmptyLike(const QTextDocument& full, QObject* parent,
                                          const std::function<void(QTextCursor&)>& fill) {
    auto* empty = new QTextDocument(parent);
    empty->setDefaultFont(full.defaultFont());
    empty->setDefaultTextOption(full.defaultTextOption());
    empty->setDocumentMargin(full.documentMargin());
    empty->setIndentWidth(full.indentWidth());
    empty->setUseDesignMetrics(full.useDesignMetrics());
    empty->setDefaultCursorMoveStyle(full.defaultCursorMoveStyle());
    empty->setDefaultStyleSheet(full.defaultStyleSheet());
    // Of the paragraph marks the last one stays, with its formats: they are what is typed next.
    const QTextBlock last = full.lastBlock();
    empty->setUndoRedoEnabled(false);
    QTextCursor cursor(empty);
    cursor.setBlockFormat(last.blockFormat());
    cursor.setBlockCharFormat(last.charFormat());
    if (fill) fill(cursor);
    empty->setUndoRedoEnabled(true);
    return empty;
}

void WholeTextDelete::Delete(QTextDocument* full, QTextDocument* empty) {
    full->appendUndoItem(new Step(*this, full, empty));
    empty->appendUndoItem(new Step(*this, empty, full));
    empty->setModified(true);
    empty->setParent(full->parent());
    full->setParent(empty);
    show_(empty);
}

// First the step of `to` goes over to the same side as the one of `from` (it does nothing,
// `to` being hidden), so that the next undo or redo there comes back; then `to` is shown.
void WholeTextDelete::Switch(QTextDocument* from, QTextDocument* to, bool undo) {
    if (undo)
        to->undo();
    else
        to->redo();
    to->setParent(from->parent());
    from->setParent(to);
    show_(to);
}

// Set modified the way a new edit does: no undo or redo there reaches an unmodified state.
void WholeTextDelete::Saved(const QTextDocument& document) {
    for (QTextDocument* hidden : document.findChildren<QTextDocument*>()) {
        hidden->setModified(false);
        hidden->setModified(true);
    }
}

}  // namespace editor
