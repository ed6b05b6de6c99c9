// SPDX-License-Identifier: GPL-3.0-or-later
// A long paragraph of a plain-text note, laid out in pieces: a key typed into 2 MB of one
// paragraph lays out a few thousand characters, not the paragraph.
#pragma once

#include <QFont>
#include <QList>
#include <QString>
#include <QTextBlockUserData>
#include <QTextLayout>
#include <QTextOption>
#include <functional>
#include <memory>
#include <vector>

class QPainter;

namespace editor {

// How the pieces are laid out; the same for every piece of the paragraph.
struct PieceSetup {
    QFont font;
    QTextOption option;  // the paragraph's option (alignment, direction, wrap)
    qreal width = 0;     // the width of the lines
    bool wraps = true;
    qreal lineHeight = 1;
    // The character formats of the paragraph's own between two places (empty for plain text).
    std::function<QList<QTextLayout::FormatRange>(int from, int to)> formats;
};

// With word wrap, each piece holds whole displayed lines: laid out on its own from the start
// of a line, a piece breaks its lines where the whole paragraph does. After an edit the
// pieces from the one before the edit on are laid out again until a piece ends where an old
// one did and a line starts there. Without word wrap the paragraph is one line, cut into
// pieces before blanks and drawn side by side.
//
// The paragraph keeps its own copy of the text, kept up to date edit by edit. It lives as
// the block's user data, so that it goes with its block; the block's own QTextLayout stays
// empty. Enter splits it and its pieces, and a join puts two together, laying out only the
// pieces at the split or the join.
class LongParagraph : public QTextBlockUserData {
public:
    // What a paragraph leaves when its block goes: its text and pieces, for the paragraph
    // that its block joined.
    using Remains = std::unique_ptr<LongParagraph>;

    // A paragraph longer than this is laid out in pieces; one that shrinks below half of it
    // is laid out whole again.
    static constexpr int LongerThan = 8192;

    LongParagraph(QString text, int generation);
    ~LongParagraph() override;

    const QString& Text() const { return text_; }
    int Generation() const { return generation_; }
    // When its block goes, the paragraph leaves itself in `remains` (as long as that is kept).
    void LeaveRemainsIn(std::weak_ptr<Remains> remains) { remains_ = std::move(remains); }

    // The displayed lines; without word wrap 1.
    int Lines() const { return lines_; }
    // The widest line (without word wrap: the whole line).
    qreal Width() const { return width_; }
    // The tallest line met since the last call (0: none), to raise the line height.
    qreal TakeTallest();

    // Cuts the whole text into pieces and counts their lines.
    void Divide(const PieceSetup& setup);
    // `removed` characters at `at` were replaced by `added`. Returns the paragraph's lines
    // from which the display changed.
    int Edit(int at, int removed, const QString& added, const PieceSetup& setup);
    // Enter at `at`: the paragraph keeps the text before it; the text after it goes with its
    // pieces to the paragraph returned, laid out with `tailSetup`.
    std::unique_ptr<LongParagraph> SplitOff(int at, const PieceSetup& setup,
                                            const PieceSetup& tailSetup);
    // The paragraph after this one joins it, with its pieces. Returns the paragraph's lines
    // from which the display changed.
    int Join(LongParagraph& tail, const PieceSetup& setup);

    // A displayed line of the paragraph: its number, its first character and its length
    // (places in the paragraph), and the x of a place on it.
    struct Line {
        int number = 0;
        int start = 0;
        int length = 0;
        qreal x = 0;
    };
    Line LineOf(int place, const PieceSetup& setup);
    // The place nearest to x on the paragraph's line `line`.
    int PlaceAt(int line, qreal x, const PieceSetup& setup);

    // Draws the lines inside `clip` with the paragraph's top left at `origin`; selections
    // are places in the paragraph; the caret is drawn when `caret` lies in it.
    void Draw(QPainter* painter, const QPointF& origin, const QRectF& clip,
              const QList<QTextLayout::FormatRange>& selections, int caret, int cursorWidth,
              const PieceSetup& setup);

    // Keeps the layouts of at most this many pieces, dropping those used longest ago.
    static constexpr int KeptLayouts = 24;
    // Drops the layouts of all pieces; they are laid out again when needed.
    void DropLayouts();
    // Whether the paragraph is among those whose layouts are kept for a while.
    bool Listed() const { return listed_; }
    void SetListed(bool listed) { listed_ = listed; }

private:
    struct Piece {
        int start = 0;
        int end = 0;
        int lines = 1;
        int firstLine = 0;   // with word wrap
        qreal x = 0;         // without word wrap
        qreal width = 0;
        int lastLineStart = 0;
        std::unique_ptr<QTextLayout> layout;
        qreal layoutLineHeight = 0;
        quint64 used = 0;
    };

    std::unique_ptr<QTextLayout> LayOut(int from, int to, const PieceSetup& setup);
    QTextLayout* LayoutOf(Piece& piece, const PieceSetup& setup);
    bool EndsLine(int lineStart, int at, const PieceSetup& setup);
    int LastBreakAfterBlank(const QTextLayout& layout, int start, int lines) const;
    Piece NextPiece(int start, const PieceSetup& setup);
    int CutAt(int from, int to) const;
    void Sum(const PieceSetup& setup);
    void DropOldLayouts();
    int PieceOf(int place) const;
    int PieceOfLine(int line) const;
    int PieceOfX(qreal x) const;
    int EditWrapped(int at, int removed, int added, const PieceSetup& setup);
    int EditUnwrapped(int at, int removed, int added, const PieceSetup& setup);
    // The pieces [at, at + removed) of the text as it now is, laid out again.
    int Relay(int at, int removed, int added, const PieceSetup& setup);
    void CountLayouts();

    QString text_;
    int generation_;
    std::vector<Piece> pieces_;
    int lines_ = 1;
    qreal width_ = 0;
    qreal tallest_ = 0;
    quint64 clock_ = 0;
    int keptLayouts_ = 0;
    std::weak_ptr<Remains> remains_;
    bool listed_ = false;
};

}  // namespace editor
