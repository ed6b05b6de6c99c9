// SPDX-License-Identifier: GPL-3.0-or-later
// The displayed lines of a plain paragraph from the widths of its words.
#include "editor/quick_line_count.h"

#include <algorithm>
#include <cmath>

namespace editor {

namespace {

// Closer than this to the width, a decision is left to the layout: word widths add up with
// rounding.
constexpr qreal Doubt = 1.5;

// A word that Qt's line breaking leaves whole: Latin letters and digits, then at most
// closing signs (no break comes before them either).
bool IsWordCharacter(char16_t c, bool& closed) {
    const bool closing = c == u'.' || c == u',' || c == u';' || c == u':' || c == u'!' || c == u'?';
    if (closing) {
        closed = true;
        return true;
    }
    if (closed) return false;
    return (c >= u'0' && c <= u'9') || (c < 0x250 && QChar::isLetter(c));
}

}  // namespace

QuickLineCount::QuickLineCount(const QFont& font) : metrics_(font), words_(1024) {
    latin_.fill(-1);
    overhang_.fill(-1);
}

// How far the glyph reaches past its advance (0 when it does not): a word's last letter
// counts so in the layout's decision.
qreal QuickLineCount::Overhang(char16_t c) {
    if (overhang_[c] < 0) overhang_[c] = std::max<qreal>(0, -metrics_.rightBearing(QChar(c)));
    return overhang_[c];
}

qreal QuickLineCount::Advance(char16_t c) {
    if (c < latin_.size()) {
        if (latin_[c] < 0) latin_[c] = metrics_.horizontalAdvance(QChar(c));
        return latin_[c];
    }
    auto found = other_.find(c);
    if (found == other_.end()) found = other_.insert(c, metrics_.horizontalAdvance(QChar(c)));
    return *found;
}

qreal QuickLineCount::Width(QStringView text) {
    qreal width = 0;
    for (const QChar c : text) width += Advance(c.unicode());
    return width + Doubt + width / 50;
}

// A word's width with its kerning and ligatures, measured once: notes repeat their words.
qreal QuickLineCount::Measure(QStringView word, quint64 hash) {
    const std::size_t mask = words_.size() - 1;
    const auto* chars = reinterpret_cast<const char16_t*>(word.data());
    for (std::size_t slot = HomeOf(hash); words_[slot].at >= 0; slot = (slot + 1) & mask) {
        const Word& known = words_[slot];
        if (known.hash == hash && known.length == word.size() &&
            std::char_traits<char16_t>::compare(chars_.data() + known.at, chars, word.size()) == 0)
            return known.width;
    }
    MakeRoom();
    std::size_t slot = HomeOf(hash);
    while (words_[slot].at >= 0) slot = (slot + 1) & (words_.size() - 1);
    words_[slot] = {hash, static_cast<qsizetype>(chars_.size()), word.size(),
                    metrics_.horizontalAdvance(word.toString())};
    chars_.append(chars, static_cast<std::size_t>(word.size()));
    ++count_;
    return words_[slot].width;
}

// Room for one word more: twice the slots once a quarter of them is taken, the words moved
// over; at MaxWords the table starts empty again.
void QuickLineCount::MakeRoom() {
    if (count_ >= MaxWords) {
        std::fill(words_.begin(), words_.end(), Word{});
        chars_.clear();
        count_ = 0;
        return;
    }
    if (4 * (count_ + 1) <= static_cast<qsizetype>(words_.size())) return;
    std::vector<Word> old(2 * words_.size());
    old.swap(words_);
    for (const Word& known : old) {
        if (known.at < 0) continue;
        std::size_t slot = HomeOf(known.hash);
        while (words_[slot].at >= 0) slot = (slot + 1) & (words_.size() - 1);
        words_[slot] = known;
    }
}

int QuickLineCount::Lines(QStringView text, qreal width) {
    const qsizetype n = text.size();
    if (n > 0 && text[0] == u' ') return 0;
    const qreal space = Advance(u' ');
    int lines = 1;
    qreal line = 0;    // the line up to the end of its last word
    qreal blanks = 0;  // the blanks after it
    for (qsizetype i = 0; i < n;) {
        const qsizetype start = i;
        bool closed = false;
        quint64 hash = FirstHash;
        for (; i < n && text[i] != u' '; ++i) {
            if (!IsWordCharacter(text[i].unicode(), closed)) return 0;
            hash = NextHash(hash, text[i].unicode());
        }
        const qreal word = Measure(text.sliced(start, i - start), hash);
        const qreal overhang = Overhang(text[i - 1].unicode());
        if (word + overhang > width - Doubt) return 0;  // the layout breaks it inside
        const qreal reach = line + blanks + word;
        if (line > 0 && std::abs(reach + overhang - width) <= Doubt) return 0;
        if (line > 0 && reach + overhang > width) {
            ++lines;
            line = word;
        } else {
            line = reach;
        }
        blanks = 0;
        for (; i < n && text[i] == u' '; ++i) blanks += space;
    }
    return lines;
}

}  // namespace editor
