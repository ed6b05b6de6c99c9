// SPDX-License-Identifier: GPL-3.0-or-later
// The text control of the notes window.
#pragma once

#include <QRect>
#include <QTextBlock>
#include <QTextEdit>
#include <functional>

#include "editor/plain_notes_layout.h"

namespace editor {

// A QTextEdit whose formatting rectangle is the viewport inside given margins, and which
// keeps its place while a plain text's lines are counted in the background: the caret's
// paragraph where the caret was in sight after the user's last move, else the paragraph at
// the top. The place is taken at every move of the caret, scroll and edit, before the lines
// shown are laid out, so that the lines they gain move the view as well.
//
// In a plain text's long paragraph, which its layout lays out in pieces, the control moves
// the caret by lines and pages, to a line's start and end, keeps it in view and repaints it
// itself: Qt's own cursor and caret rectangle know only a paragraph's QTextLayout.
class NotesEdit : public QTextEdit, public PlainNotesView {
    Q_OBJECT

public:
    explicit NotesEdit(QWidget* parent);
    ~NotesEdit() override;
    void SetFormattingMargins(int x, int y) { setViewportMargins(x, y, x, y); }

    void Follow(qreal lineHeight) override;

    // Undo (or redo) as QTextEdit's, without working out the caret's x from a long
    // paragraph's QTextLayout at once (see EditInLong).
    void UndoStep(bool undo);

    // The text a key types into the text as the control types it (a printable character or
    // a tab, with no modifier but Shift); empty for any other key.
    static QString TypedText(const QKeyEvent& event);
    // A paste over a selection of the whole text gets the text it pastes to `paste` first
    // (only a paste of plain text: formatted text is pasted by the control); false leaves
    // it to the control.
    void OnPasteOverAll(std::function<bool(const QString&)> paste) {
        pasteOverAll_ = std::move(paste);
    }

    // Runs a copy or a cut with the selection's text taken at once.
    template <class Copy>
    void CopyNow(Copy copy) {
        eager_ = true;
        copy();
        eager_ = false;
    }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    // The selection goes to the X11 selection clipboard at every change. There it is offered
    // by reference and its text is taken only when another program asks for it: selecting all
    // of a long text would otherwise copy the text at once (60 MB: 4 s and 220 MB). Copy, cut
    // and drags take the text at once, since the text may change before it is pasted.
    QMimeData* createMimeDataFromSelection() const override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private slots:
    void KeepInView(const QRectF& asked);
    void RepaintCaret();
    void RepaintLongSelection();

private:
    void TakePlace();
    void TypeOwnFormat();
    const PlainNotesLayout* Plain() const;
    bool InLongParagraph(int position) const;
    // Scrolls the caret into view.
    void ShowCaret();
    // The caret's rectangle in the viewport.
    QRect CaretRect() const;
    // Moves the caret by whole lines (a page: by a viewport's height); true when done here.
    bool MoveByLines(int lines, bool page, QTextCursor::MoveMode mode);
    bool MoveInLine(bool toEnd, QTextCursor::MoveMode mode);
    bool MoveByCharacter(bool right, QTextCursor::MoveMode mode);
    // The word keys (moves, selections, deletes) in a long paragraph; true when done here.
    bool ByWordInLong(QKeyEvent* event);
    // Typing, Backspace, Delete and Enter in or next to a long paragraph; true when done here.
    bool EditInLong(QKeyEvent* event);

    QTextBlock place_;
    int placeLine_ = 0;  // the first line of place_ when it was taken or last followed
    bool following_ = false;
    // The x that vertical moves keep, while the caret stays where the last one put it.
    qreal goalX_ = 0;
    int goalAt_ = -1;
    QRect caretShown_;  // where the caret in a long paragraph was last repainted
    bool longSelectionShown_ = false;  // a selection with an end in a long paragraph
    // The last edit typed into a long paragraph, which the next one of its kind joins for
    // undo when nothing came between (as Qt joins typed characters).
    enum class Typed { None, Insert, Back, Forward, Enter, Join };
    Typed lastTyped_ = Typed::None;
    int typedAt_ = -1;
    int typedRevision_ = -1;
    int typedUndoSteps_ = -1;
    bool eager_ = false;
    std::function<bool(const QString&)> pasteOverAll_;
};

}  // namespace editor
