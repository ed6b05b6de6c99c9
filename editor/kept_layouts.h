// SPDX-License-Identifier: GPL-3.0-or-later
// The layouts that a plain text's paragraphs keep once they were shown or asked for.
#pragma once

#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>
#include <deque>

namespace editor {

class LongParagraph;

// Qt keeps a paragraph's QTextLayout for as long as the paragraph lives, and a long
// paragraph keeps the glyphs of its pieces: paging through 10 MB of notes kept 58 MB of
// layouts in short paragraphs and 350 MB in paragraphs of 12,000 characters. Here only the
// paragraphs laid out last keep theirs. The others' are dropped once the event loop runs
// (when no caller of Qt's holds a layout), except those on the screen painted last and one
// that holds the text an input method is composing; they are laid out again when shown.
//
// The paragraphs are known by their numbers, which edits that add or take paragraphs move
// along. A number that came to name another paragraph only makes that one be laid out
// again.
class KeptLayouts {
public:
    explicit KeptLayouts(const QTextDocument* document);

    // Paragraphs whose QTextLayout is kept, and long paragraphs whose pieces' layouts are.
    static constexpr std::size_t Paragraphs = 4096;
    static constexpr std::size_t LongParagraphs = 16;

    // The paragraph was laid out.
    void Laid(const QTextBlock& block);
    // The long paragraph may lay out its pieces from now on.
    void MayLayOut(const QTextBlock& block, LongParagraph& paragraph);
    // The paragraphs from `first` to `last` were painted.
    void Shown(int first, int last);
    // The document's paragraphs may have changed in number, all after the paragraph `first`.
    void Counted(int first);

private:
    void DropOld();
    bool Shown(int number) const;

    const QTextDocument* document_;
    std::deque<int> laid_;       // oldest first
    std::deque<int> longLaid_;   // oldest first
    int blocks_;
    int shownFirst_ = 0;
    int shownLast_ = -1;
    QTimer drop_;
};

}  // namespace editor
