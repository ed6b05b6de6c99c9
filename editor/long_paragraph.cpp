// SPDX-License-Identifier: GPL-3.0-or-later
// A long paragraph laid out in pieces of a few thousand characters.
#include "editor/long_paragraph.h"

#include <QPainter>
#include <QTextLine>
#include <algorithm>
#include <cmath>

namespace editor {

namespace {

// A piece is cut at about this many characters; an edit leaves pieces between the smallest
// and the largest size, merging or cutting them.
constexpr int Chunk = 1024;
constexpr int SmallestPiece = 128;
constexpr int LargestPiece = 4 * Chunk;
// Text after a place that tells whether a line ends there: a word that does not fit cut
// short does not fit whole either; a longer word cut short only costs a piece more.
constexpr int LookAhead = 64;

// The parts of the selections inside [from, to), as places from `from`.
QList<QTextLayout::FormatRange> Clipped(const QList<QTextLayout::FormatRange>& selections,
                                        int from, int to) {
    QList<QTextLayout::FormatRange> out;
    for (const QTextLayout::FormatRange& range : selections) {
        const int start = std::max(range.start, from);
        const int end = std::min(range.start + range.length, to);
        if (start < end) out.append({start - from, end - start, range.format});
    }
    return out;
}

}  // namespace

LongParagraph::LongParagraph(QString text, int generation)
    : text_(std::move(text)), generation_(generation) {}

// The remains take the text and the pieces as they are.
LongParagraph::~LongParagraph() {
    const std::shared_ptr<Remains> remains = remains_.lock();
    if (!remains) return;
    auto left = std::make_unique<LongParagraph>(std::move(text_), generation_);
    left->pieces_ = std::move(pieces_);
    left->lines_ = lines_;
    left->width_ = width_;
    left->clock_ = clock_;
    left->keptLayouts_ = keptLayouts_;
    *remains = std::move(left);
}

qreal LongParagraph::TakeTallest() {
    const qreal tallest = tallest_;
    tallest_ = 0;
    return tallest;
}

// The text [from, to) laid out on its own, its lines one line height apart.
std::unique_ptr<QTextLayout> LongParagraph::LayOut(int from, int to, const PieceSetup& setup) {
    auto layout = std::make_unique<QTextLayout>(text_.mid(from, to - from), setup.font);
    QTextOption option = setup.option;
    if (!setup.wraps) {
        // Side by side, every piece starts at its own left edge, and the
        // blanks at a piece's end count in its width.
        option.setWrapMode(QTextOption::NoWrap);
        option.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
        option.setFlags(option.flags() | QTextOption::IncludeTrailingSpaces);
    }
    layout->setTextOption(option);
    if (setup.formats) layout->setFormats(setup.formats(from, to));
    layout->setCacheEnabled(true);
    layout->beginLayout();
    int lines = 0;
    for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
        line.setLineWidth(setup.width);
        tallest_ = std::max(tallest_, line.height());
        ++lines;
    }
    layout->endLayout();
    for (int i = 0; i < lines; ++i)
        layout->lineAt(i).setPosition(QPointF(0, i * setup.lineHeight));
    return layout;
}

// Whether a line that starts at `lineStart` ends at `at`: laid out with the text after `at`,
// its first line ends there. The text after the look-ahead cannot change that: a word that
// did not fit cut short does not fit whole either.
bool LongParagraph::EndsLine(int lineStart, int at, const PieceSetup& setup) {
    if (at >= text_.size()) return true;
    const auto layout = LayOut(lineStart, std::min<int>(text_.size(), at + LookAhead), setup);
    const QTextLine first = layout->lineAt(0);
    return lineStart + first.textStart() + first.textLength() == at;
}

// Where the pieces of a wrapped paragraph meet: at a line that starts after a blank, so
// that nothing is shaped across (kerning of a word that wraps inside may move its break by
// a character). Of the lines 1 … lines - 1 of the layout, the last such one; 0 when none.
int LongParagraph::LastBreakAfterBlank(const QTextLayout& layout, int start, int lines) const {
    for (int k = lines - 1; k >= 1; --k) {
        const int at = start + layout.lineAt(k).textStart();
        if (text_[at - 1].isSpace()) return k;
    }
    return 0;
}

// One piece of whole lines from `start`, where a line starts: a chunk is laid out, and its
// last line, which the chunk's end may have cut, begins the next piece (or the last line
// that follows a blank, if the chunk has one).
LongParagraph::Piece LongParagraph::NextPiece(int start, const PieceSetup& setup) {
    const int n = text_.size();
    for (int length = Chunk;; length *= 2) {
        const int to = std::min(n, start + length);
        const auto layout = LayOut(start, to, setup);
        const int lines = layout->lineCount();
        Piece piece;
        piece.start = start;
        if (to == n) {
            piece.end = n;
            piece.lines = lines;
            piece.lastLineStart = start + layout->lineAt(lines - 1).textStart();
            return piece;
        }
        if (lines < 2) continue;
        int split = LastBreakAfterBlank(*layout, start, lines - 1);
        if (split == 0 && length < LargestPiece) continue;
        if (split == 0) split = lines - 1;  // one word across many lines
        piece.end = start + layout->lineAt(split).textStart();
        piece.lines = split;
        piece.lastLineStart = start + layout->lineAt(split - 1).textStart();
        return piece;
    }
}

// Where a piece of a line without wrap that starts at `from` ends, before `to`: before a
// blank near the chunk's size, else not inside a character or before a combining mark.
int LongParagraph::CutAt(int from, int to) const {
    if (to - from <= Chunk + Chunk / 2) return to;
    const int at = from + Chunk;
    for (int i = at; i > from + Chunk / 2; --i)
        if (text_[i] == u' ') return i;
    int cut = at;
    while (cut > from + 1 && (text_[cut].isLowSurrogate() || text_[cut].isMark())) --cut;
    return cut;
}

void LongParagraph::Divide(const PieceSetup& setup) {
    pieces_.clear();
    keptLayouts_ = 0;
    if (setup.wraps) {
        for (int start = 0; start < text_.size() || pieces_.empty(); start = pieces_.back().end)
            pieces_.push_back(NextPiece(start, setup));
    } else {
        for (int start = 0; start < text_.size() || pieces_.empty();) {
            Piece piece;
            piece.start = start;
            piece.end = CutAt(start, static_cast<int>(text_.size()));
            piece.width = LayOut(piece.start, piece.end, setup)->lineAt(0).naturalTextWidth();
            start = piece.end;
            pieces_.push_back(std::move(piece));
        }
    }
    Sum(setup);
}

// The pieces' first lines and left edges, the paragraph's lines and width.
void LongParagraph::Sum(const PieceSetup& setup) {
    int line = 0;
    qreal x = 0;
    for (Piece& piece : pieces_) {
        piece.firstLine = line;
        piece.x = x;
        line += piece.lines;
        x += piece.width;
    }
    lines_ = setup.wraps ? line : 1;
    width_ = setup.wraps ? setup.width : x;
}

int LongParagraph::PieceOf(int place) const {
    const auto after = std::upper_bound(pieces_.begin(), pieces_.end(), place,
                                        [](int p, const Piece& piece) { return p < piece.start; });
    return std::max<int>(0, static_cast<int>(after - pieces_.begin()) - 1);
}

int LongParagraph::PieceOfLine(int line) const {
    const auto after = std::upper_bound(
        pieces_.begin(), pieces_.end(), line,
        [](int l, const Piece& piece) { return l < piece.firstLine; });
    return std::max<int>(0, static_cast<int>(after - pieces_.begin()) - 1);
}

int LongParagraph::PieceOfX(qreal x) const {
    const auto after = std::upper_bound(pieces_.begin(), pieces_.end(), x,
                                        [](qreal v, const Piece& piece) { return v < piece.x; });
    return std::max<int>(0, static_cast<int>(after - pieces_.begin()) - 1);
}

int LongParagraph::Edit(int at, int removed, const QString& added, const PieceSetup& setup) {
    text_.replace(at, removed, added);
    return Relay(at, removed, static_cast<int>(added.size()), setup);
}

int LongParagraph::Relay(int at, int removed, int added, const PieceSetup& setup) {
    const int from = setup.wraps ? EditWrapped(at, removed, added, setup)
                                 : EditUnwrapped(at, removed, added, setup);
    Sum(setup);
    return from;
}

void LongParagraph::CountLayouts() {
    keptLayouts_ = static_cast<int>(std::count_if(
        pieces_.begin(), pieces_.end(), [](const Piece& piece) { return piece.layout != nullptr; }));
}

// The pieces from the one of `at` on move to the tail, which lays out its first piece again
// from its new start; this paragraph lays out its last piece again as after a deletion of
// the text after `at`.
std::unique_ptr<LongParagraph> LongParagraph::SplitOff(int at, const PieceSetup& setup,
                                                       const PieceSetup& tailSetup) {
    auto tail = std::make_unique<LongParagraph>(text_.mid(at), generation_);
    const int count = static_cast<int>(pieces_.size());
    const int first = PieceOf(at);
    tail->pieces_.reserve(count - first);
    for (int k = first; k < count; ++k) {
        // The piece left behind keeps its places for the deletion below.
        Piece piece;
        piece.start = std::max(0, pieces_[k].start - at);
        piece.end = pieces_[k].end - at;
        piece.lines = pieces_[k].lines;
        piece.width = pieces_[k].width;
        piece.lastLineStart = pieces_[k].lastLineStart - at;
        if (k > first) {
            piece.layout = std::move(pieces_[k].layout);
            piece.layoutLineHeight = pieces_[k].layoutLineHeight;
            piece.used = pieces_[k].used;
        }
        tail->pieces_.push_back(std::move(piece));
    }
    tail->clock_ = clock_;
    tail->CountLayouts();
    tail->Relay(0, 0, 0, tailSetup);
    CountLayouts();
    Edit(at, static_cast<int>(text_.size()) - at, QString(), setup);
    return tail;
}

// The tail's pieces follow this paragraph's, moved by its length; the pieces on both sides
// of the join are laid out again as after an edit of the last character before it.
int LongParagraph::Join(LongParagraph& tail, const PieceSetup& setup) {
    const int at = static_cast<int>(text_.size());
    text_ += tail.text_;
    for (Piece& piece : tail.pieces_) {
        piece.start += at;
        piece.end += at;
        piece.lastLineStart += at;
        pieces_.push_back(std::move(piece));
    }
    tail.pieces_.clear();
    clock_ = std::max(clock_, tail.clock_);
    CountLayouts();
    return Relay(at - 1, 1, 1, setup);
}

// The pieces are still placed as before the edit. From the piece of the edit (or the one
// before, when its last line now takes words from the edit's line) pieces are laid out
// again, each up to where an old piece began, until a line starts there again: from
// there on the lines are those of before, moved by the edit.
int LongParagraph::EditWrapped(int at, int removed, int added, const PieceSetup& setup) {
    const int delta = added - removed;
    const int n = text_.size();
    const int count = static_cast<int>(pieces_.size());
    const int i = PieceOf(at);
    int first = i;
    if (i > 0 && (pieces_[i].start >= n ||
                  !EndsLine(pieces_[i - 1].lastLineStart, pieces_[i].start, setup)))
        first = i - 1;  // a cut of the end from the piece's start leaves no empty piece
    int next = PieceOf(at + removed) + 1;
    const auto oldStart = [&](int k) { return k < count ? pieces_[k].start + delta : n; };
    std::vector<Piece> fresh;
    int start = pieces_[first].start;
    while (true) {
        while (next < count && oldStart(next) - start < SmallestPiece) ++next;
        const int end = oldStart(next);
        if (end - start > LargestPiece) {
            // A long insertion: cut as a division does, a chunk at a time.
            fresh.push_back(NextPiece(start, setup));
            start = fresh.back().end;
            if (start >= n) {
                next = count;
                break;
            }
            continue;
        }
        auto layout = LayOut(start, end, setup);
        const int lines = layout->lineCount();
        const int lastStart = start + layout->lineAt(lines - 1).textStart();
        if (end == n || EndsLine(lastStart, end, setup)) {
            Piece piece;
            piece.start = start;
            piece.end = end;
            piece.lines = lines;
            piece.lastLineStart = lastStart;
            piece.layout = std::move(layout);
            piece.layoutLineHeight = setup.lineHeight;
            piece.used = ++clock_;
            fresh.push_back(std::move(piece));
            break;
        }
        ++next;  // no line starts where that piece began
        if (lines < 2) continue;
        int split = LastBreakAfterBlank(*layout, start, lines);
        if (split == 0) split = lines - 1;
        Piece piece;
        piece.start = start;
        piece.end = start + layout->lineAt(split).textStart();
        piece.lines = split;
        piece.lastLineStart = start + layout->lineAt(split - 1).textStart();
        start = piece.end;
        fresh.push_back(std::move(piece));
    }
    const int fromLine = pieces_[first].firstLine;
    for (int k = first; k < next && k < count; ++k)
        if (pieces_[k].layout) --keptLayouts_;
    for (const Piece& piece : fresh)
        if (piece.layout) ++keptLayouts_;
    for (int k = next; k < count; ++k) {
        pieces_[k].start += delta;
        pieces_[k].end += delta;
        pieces_[k].lastLineStart += delta;
    }
    pieces_.erase(pieces_.begin() + first, pieces_.begin() + std::min(next, count));
    pieces_.insert(pieces_.begin() + first, std::make_move_iterator(fresh.begin()),
                   std::make_move_iterator(fresh.end()));
    DropOldLayouts();
    return fromLine;
}

// Without wrap the pieces of the edit are cut again and measured; those after it move.
int LongParagraph::EditUnwrapped(int at, int removed, int added, const PieceSetup& setup) {
    const int delta = added - removed;
    const int count = static_cast<int>(pieces_.size());
    const int first = PieceOf(at);
    int last = PieceOf(at + removed);
    int end = pieces_[last].end + delta;
    if (end - pieces_[first].start < SmallestPiece && last + 1 < count)
        end = pieces_[++last].end + delta;
    std::vector<Piece> fresh;
    for (int start = pieces_[first].start; start < end || fresh.empty();) {
        Piece piece;
        piece.start = start;
        piece.end = CutAt(start, end);
        piece.layout = LayOut(piece.start, piece.end, setup);
        piece.layoutLineHeight = setup.lineHeight;
        piece.used = ++clock_;
        piece.width = piece.layout->lineAt(0).naturalTextWidth();
        start = piece.end;
        fresh.push_back(std::move(piece));
    }
    for (int k = first; k <= last; ++k)
        if (pieces_[k].layout) --keptLayouts_;
    keptLayouts_ += static_cast<int>(fresh.size());
    for (int k = last + 1; k < count; ++k) {
        pieces_[k].start += delta;
        pieces_[k].end += delta;
    }
    pieces_.erase(pieces_.begin() + first, pieces_.begin() + last + 1);
    pieces_.insert(pieces_.begin() + first, std::make_move_iterator(fresh.begin()),
                   std::make_move_iterator(fresh.end()));
    DropOldLayouts();
    return 0;
}

QTextLayout* LongParagraph::LayoutOf(Piece& piece, const PieceSetup& setup) {
    if (!piece.layout) {
        piece.layout = LayOut(piece.start, piece.end, setup);
        piece.layoutLineHeight = setup.lineHeight;
        ++keptLayouts_;
    } else if (piece.layoutLineHeight != setup.lineHeight) {
        for (int i = 0; i < piece.layout->lineCount(); ++i)
            piece.layout->lineAt(i).setPosition(QPointF(0, i * setup.lineHeight));
        piece.layoutLineHeight = setup.lineHeight;
    }
    piece.used = ++clock_;
    return piece.layout.get();
}

// The layouts used longest ago go, down to three quarters of the bound.
void LongParagraph::DropOldLayouts() {
    if (keptLayouts_ <= KeptLayouts) return;
    std::vector<quint64> uses;
    for (const Piece& piece : pieces_)
        if (piece.layout) uses.push_back(piece.used);
    keptLayouts_ = static_cast<int>(uses.size());
    if (keptLayouts_ <= KeptLayouts) return;
    const auto keep = static_cast<std::ptrdiff_t>(KeptLayouts * 3 / 4);
    std::nth_element(uses.begin(), uses.end() - keep, uses.end());
    const quint64 oldestKept = *(uses.end() - keep);
    for (Piece& piece : pieces_) {
        if (piece.layout && piece.used < oldestKept) {
            piece.layout.reset();
            --keptLayouts_;
        }
    }
}

void LongParagraph::DropLayouts() {
    for (Piece& piece : pieces_) piece.layout.reset();
    keptLayouts_ = 0;
}

LongParagraph::Line LongParagraph::LineOf(int place, const PieceSetup& setup) {
    place = std::clamp<int>(place, 0, text_.size());
    Piece& piece = pieces_[PieceOf(place)];
    const int inPiece = place - piece.start;
    QTextLayout* layout = LayoutOf(piece, setup);
    QTextLine line = layout->lineForTextPosition(inPiece);
    if (!line.isValid()) line = layout->lineAt(layout->lineCount() - 1);
    Line found;
    found.x = line.cursorToX(inPiece);
    if (setup.wraps) {
        found.number = piece.firstLine + line.lineNumber();
        found.start = piece.start + line.textStart();
        found.length = line.textLength();
    } else {
        found.length = text_.size();
        found.x += piece.x;
    }
    DropOldLayouts();
    return found;
}

int LongParagraph::PlaceAt(int line, qreal x, const PieceSetup& setup) {
    Piece& piece = pieces_[setup.wraps ? PieceOfLine(line) : PieceOfX(x)];
    QTextLayout* layout = LayoutOf(piece, setup);
    const int inPiece = setup.wraps ? std::clamp(line - piece.firstLine, 0, layout->lineCount() - 1)
                                    : 0;
    const int place = piece.start + layout->lineAt(inPiece).xToCursor(x - piece.x);
    DropOldLayouts();
    return place;
}

void LongParagraph::Draw(QPainter* painter, const QPointF& origin, const QRectF& clip,
                         const QList<QTextLayout::FormatRange>& selections, int caret,
                         int cursorWidth, const PieceSetup& setup) {
    const int count = static_cast<int>(pieces_.size());
    int k = setup.wraps ? PieceOfLine(static_cast<int>(
                              std::floor((clip.top() - origin.y()) / setup.lineHeight)))
                        : PieceOfX(clip.left() - origin.x());
    for (; k < count; ++k) {
        Piece& piece = pieces_[k];
        const QPointF at = setup.wraps ? QPointF(origin.x(), origin.y() + piece.firstLine * setup.lineHeight)
                                       : QPointF(origin.x() + piece.x, origin.y());
        if (setup.wraps ? at.y() > clip.bottom() : at.x() > clip.right()) break;
        QTextLayout* layout = LayoutOf(piece, setup);
        const bool last = k == count - 1;
        layout->draw(painter, at, Clipped(selections, piece.start, piece.end + (last ? 1 : 0)),
                     clip);
        if (caret >= piece.start && (caret < piece.end || (last && caret == piece.end)))
            layout->drawCursor(painter, at, caret - piece.start, cursorWidth);
    }
    DropOldLayouts();
}

}  // namespace editor
