// SPDX-License-Identifier: GPL-3.0-or-later
// The layout of an RTF paragraph: alignment, indents, spacing, tab stops, direction and the
// list it belongs to; read from its control words, shown as a QTextBlockFormat and written
// back from one.
#pragma once

#include <QByteArray>
#include <QTextBlockFormat>

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace editor {

// A tab stop in twips with its kind and leader, as RTF names them.
struct RtfTab {
    enum Kind : std::uint8_t { Left, Right, Centre, Decimal };
    // The leaders Qt cannot draw; they are kept and written back.
    enum Leader : std::uint8_t { None, Dots, Hyphens, Underline, Thick, Equals, MiddleDots };
    int twips = 0;
    Kind kind = Left;
    Leader leader = None;
    bool operator==(const RtfTab&) const = default;
};

struct RtfParagraphFormat {
    static constexpr std::size_t kMaxTabs = 32;  // more in one paragraph are dropped

    Qt::Alignment alignment = Qt::AlignLeft;
    int left = 0, right = 0, firstLine = 0;  // \li \ri \fi, twips
    int before = 0, after = 0;               // \sb \sa, twips
    bool rightToLeft = false;                // \rtlpar
    int list = 0;                            // \ls: the list override, 0 for none
    int listLevel = 0;                       // \ilvl
    std::array<RtfTab, kMaxTabs> tabs{};
    std::uint8_t tabCount = 0;
    RtfTab nextTab;  // the kind and leader that the next \tx takes

    bool operator==(const RtfParagraphFormat&) const = default;
};

// A table row is read as one paragraph, its cells separated by tabs. Each cell keeps its own
// alignment through the tab stop before it: at its left edge, its middle or its right edge
// (\cellx). The first cell stands at the row's start.
class RtfTableRow {
public:
    void define() { bounds_.clear(); }  // \trowd: the cells' right edges follow
    void cellBoundary(int twips) { bounds_.push_back(twips); }
    void cellEnds(Qt::Alignment alignment) { alignments_.push_back(alignment); }
    // A paragraph ended inside the row (a cell of several): the row's tabs do not fit it.
    void split() { split_ = true; }
    void ends() {
        alignments_.clear();
        split_ = false;
    }

    // The layout of the row's paragraph: `last` (the layout in force at \row) where the row
    // does not fit its definition, else left aligned with a stop for each cell after the first.
    RtfParagraphFormat format(const RtfParagraphFormat& last) const;

private:
    std::vector<int> bounds_;
    std::vector<Qt::Alignment> alignments_;
    bool split_ = false;
};

// Applies a paragraph word (\li, \tx, \rtlpar ...); false when `name` is none. \pard is the
// caller's: it starts from a default RtfParagraphFormat.
bool ApplyParagraphWord(std::string_view name, bool hasParameter, int parameter,
                        RtfParagraphFormat& format);

// The block format that shows the paragraph (twips become pixels at 96 dpi).
QTextBlockFormat ToBlockFormat(const RtfParagraphFormat& format);

// Appends the words after \pard for a block: alignment, indents, spacing, tab stops and
// direction, each only where it differs from the default; ends with a blank.
void AppendParagraphWords(const QTextBlockFormat& block, QByteArray& out);

}  // namespace editor
