// SPDX-License-Identifier: GPL-3.0-or-later
// The layout of a plain-text note: every displayed line is equally high, so a paragraph's
// place follows from the displayed lines before it, which the document's block tree sums.
#pragma once

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>

namespace editor {

// A key typed into 10 MB of plain text lays out only its own paragraph: the paragraphs after
// it move by whole lines, and their place (first line × line height) costs a look-up in the
// block tree, not a walk over them. Each paragraph's displayed lines are kept with
// QTextBlock::setLineCount, which the status line reads as well.
//
// The line height is that of the document's default font; a line in a taller font (the font
// dialog sets the selection's font) raises it for the whole text until the next relayout.
// A change of the whole text (loading, the width, word wrap, the default font) is laid out
// in slices from the event loop; what is shown or asked for meanwhile at once.
class PlainNotesLayout : public QAbstractTextDocumentLayout {
public:
    explicit PlainNotesLayout(QTextDocument* document);

    void draw(QPainter* painter, const PaintContext& context) override;
    int hitTest(const QPointF& point, Qt::HitTestAccuracy accuracy) const override;
    int pageCount() const override { return 1; }
    QSizeF documentSize() const override;
    QRectF frameBoundingRect(QTextFrame* frame) const override;
    QRectF blockBoundingRect(const QTextBlock& block) const override;

    // The height of every displayed line, in pixels.
    qreal LineHeight() const { return lineHeight_; }
    // False while a pass over the whole text is still laying it out.
    bool Settled() const { return !passRunning_; }

    // While a long command rewrites the text (a conversion, a replace-all), the paragraphs it
    // changes are laid out only when shown or asked for, and by a pass once it ends: laying
    // out 1 MB costs ten times what the command itself costs.
    void HoldChanges(bool hold);

protected:
    void documentChanged(int from, int oldLength, int length) override;

private:
    void StartPass();
    void ResumePass(int from);
    void ContinuePass();
    bool NotReached(const QTextBlock& block) const;
    // Lays the paragraph out (or moves its lines to the current line height); true when its
    // number of lines changed.
    bool EnsureBlock(const QTextBlock& block) const;
    bool LayOutBlock(QTextBlock block) const;
    QTextOption OptionOf(const QTextBlock& block) const;
    qreal AvailableWidth() const;
    bool Wraps() const;
    qreal TopOf(const QTextBlock& block) const;
    QList<QTextLayout::FormatRange> SelectionsIn(const QTextBlock& block,
                                                 const PaintContext& context) const;
    void NotifySize();

    mutable qreal lineHeight_ = 0;
    mutable bool lineHeightGrew_ = false;
    mutable qreal widest_ = 0;  // the widest line since the text last changed as a whole
    QSizeF lastSize_;
    // The pass over the whole text after it changed as a whole (a load, the width, word
    // wrap, the default font), slice by slice from the event loop; it has laid out what
    // lies before next_.
    QTimer pass_;
    QTextCursor next_;
    bool passRunning_ = false;
    // The changes held back while a long command runs: from heldFrom_ on (-1: none).
    bool holding_ = false;
    int heldFrom_ = -1;
};

}  // namespace editor
