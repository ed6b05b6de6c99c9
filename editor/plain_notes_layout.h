// SPDX-License-Identifier: GPL-3.0-or-later
// The layout of a plain-text note: every displayed line is equally high, so a paragraph's
// place follows from the displayed lines before it, which the document's block tree sums.
#pragma once

#include <QAbstractTextDocumentLayout>
#include <QHash>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>
#include <memory>

#include "editor/kept_layouts.h"
#include <optional>

namespace editor {

class LongParagraph;
struct PieceSetup;
class QuickLineCount;

// Who shows the text: after every slice of a count in the background it moves by the lines
// that were added or taken above the place it keeps in view.
class PlainNotesView {
public:
    virtual ~PlainNotesView() = default;
    virtual void Follow(qreal lineHeight) = 0;
};

// A key typed into 10 MB of plain text lays out only its own paragraph: the paragraphs after
// it move by whole lines, and their place (first line × line height) costs a look-up in the
// block tree, not a walk over them. Each paragraph's displayed lines are kept with
// QTextBlock::setLineCount, which the status line reads as well.
//
// The line height is that of the document's default font; a line in a taller font (the font
// dialog sets the selection's font) raises it for the whole text until the next relayout.
// A change of the whole text (loading, the width, word wrap, the default font) or of many
// paragraphs is counted in slices from the event loop; only what is shown or asked for is
// laid out, so a paragraph out of sight keeps no layout (F1 on 10 MB: about 1 s of CPU in
// all, before 4.5 s; memory little beyond the text's). The count measures words
// (QuickLineCount) and lays out only the paragraphs that it cannot tell; a view given to
// KeepInView stays on its place meanwhile.
class PlainNotesLayout : public QAbstractTextDocumentLayout {
public:
    explicit PlainNotesLayout(QTextDocument* document);
    ~PlainNotesLayout() override;

    void draw(QPainter* painter, const PaintContext& context) override;
    int hitTest(const QPointF& point, Qt::HitTestAccuracy accuracy) const override;
    int pageCount() const override { return 1; }
    QSizeF documentSize() const override;
    QRectF frameBoundingRect(QTextFrame* frame) const override;
    QRectF blockBoundingRect(const QTextBlock& block) const override;

    // The height of every displayed line, in pixels.
    qreal LineHeight() const { return lineHeight_; }

    // A displayed line: its number in the text, its first character and its length (places
    // in the document), and the x of the place asked for on it (from the left margin).
    struct ShownLine {
        int number = 0;
        int start = 0;
        int length = 0;
        qreal x = 0;
    };
    ShownLine LineOf(int position) const;
    // Whether the place lies in a paragraph laid out in pieces (which Qt's own cursor
    // movement and caret rectangle do not see: the paragraph's QTextLayout stays empty).
    bool InLongParagraph(int position) const;
    // False while a pass over the whole text is still laying it out.
    bool Settled() const { return !passRunning_; }

    // While a long command rewrites the text (a conversion, a replace-all), the paragraphs it
    // changes are laid out only when shown or asked for, and by a pass once it ends: laying
    // out 1 MB costs ten times what the command itself costs.
    void HoldChanges(bool hold);

    // While set, the text is known to be as it was counted (a text shown again as it was
    // hidden): a change of the whole text keeps the counts unless the width, the font or the
    // options changed meanwhile.
    void KeepCounts(bool keep) { keepCounts_ = keep; }

    // The view whose place stays put while the pass counts lines above it (none: nullptr).
    void KeepInView(PlainNotesView* view) { keep_ = view; }

protected:
    void documentChanged(int from, int oldLength, int length) override;

private:
    void StartPass();
    void ResumePass(int from);
    void ContinuePass();
    // Lays the paragraph out (or moves its lines to the current line height); true when its
    // number of lines changed.
    bool EnsureBlock(const QTextBlock& block) const;
    bool LayOutBlock(QTextBlock block) const;
    // A long paragraph: laid out in pieces, divided again when it is stale.
    bool IsLong(const QTextBlock& block) const;
    bool EnsureLong(QTextBlock block) const;
    // A changed paragraph; `top` moves down to the first line that changed.
    bool LayOutChanged(QTextBlock block, int from, int oldLength, int length, bool alone,
                       qreal& top) const;
    // Enter in a long paragraph, and a join of paragraphs of which one is long: the pieces go
    // along. False when the change is neither, or the pieces are not current.
    bool Split(QTextBlock head, int from, int oldLength, int length) const;
    bool Join(QTextBlock block, int from, int oldLength, int length, qreal& top) const;
    // Gives the block its pieces (or none), which leave their remains to a join.
    void SetLong(QTextBlock block, LongParagraph* paragraph) const;
    PieceSetup SetupOf(const QTextBlock& block) const;
    void NoteTallest(LongParagraph& paragraph) const;
    // Counts the paragraph's lines for the pass; true when their number changed.
    bool CountBlock(QTextBlock block) const;
    int CountByLayout(const QTextBlock& block, const QString& text) const;
    std::optional<QString> PlainText(const QTextBlock& block) const;
    bool IsPlain(const QTextFragment& fragment) const;
    void NoteLineHeight(qreal height) const;
    QTextOption OptionOf(const QTextBlock& block) const;
    qreal AvailableWidth() const;
    bool Wraps() const;
    qreal TopOf(const QTextBlock& block) const;
    QList<QTextLayout::FormatRange> SelectionsIn(const QTextBlock& block,
                                                 const PaintContext& context) const;
    void NotifySize();
    // What the counts of a pass depend on besides the text.
    struct Basis {
        qreal width = -1;
        qreal margin = 0;
        QFont font;
        qreal lineHeight = 0;
        QTextOption::WrapMode wrap = QTextOption::WrapAtWordBoundaryOrAnywhere;
        Qt::Alignment alignment;
        Qt::LayoutDirection direction = Qt::LayoutDirectionAuto;
        QTextOption::Flags flags;
        qreal tabStop = 0;
        QList<QTextOption::Tab> tabs;
        bool operator==(const Basis&) const = default;
    };
    Basis CurrentBasis() const;

    mutable qreal lineHeight_ = 0;
    mutable bool lineHeightGrew_ = false;
    mutable qreal widest_ = 0;  // the widest line since the text last changed as a whole
    QSizeF lastSize_;
    // The pass over the whole text after it changed as a whole (a load, the width, word
    // wrap, the default font) or in many paragraphs, slice by slice from the event loop; it
    // has counted what lies before the place next_.
    QTimer pass_;
    int next_ = 0;
    bool passRunning_ = false;
    bool moved_ = false;  // the pass changed the lines of a paragraph
    std::unique_ptr<QuickLineCount> quick_;
    mutable QTextLayout counter_;                // the layout of the paragraphs it cannot tell
    mutable QHash<int, bool> plainFormats_;      // character format index: no property set
    mutable KeptLayouts kept_;
    // The pieces of a long paragraph whose block went in the change being reported.
    std::shared_ptr<std::unique_ptr<LongParagraph>> remains_;
    // A paragraph's layout is current when its QTextBlock::userState is this number; every
    // change of width, wrap or font, and every edit of a long command, counts it up.
    int generation_ = 0;
    PlainNotesView* keep_ = nullptr;
    Basis counted_;  // the basis of the last pass
    bool keepCounts_ = false;
    // The changes held back while a long command runs: from heldFrom_ on (-1: none).
    bool holding_ = false;
    int heldFrom_ = -1;
};

}  // namespace editor
