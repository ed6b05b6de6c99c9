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

QuickLineCount::QuickLineCount(const QFont& font) : metrics_(font) {
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
qreal QuickLineCount::Measure(QStringView word) {
    const QString key = QString::fromRawData(word.data(), word.size());
    if (const auto found = words_.constFind(key); found != words_.cend()) return *found;
    if (words_.size() >= MaxWords) words_.clear();
    const QString copy(word.data(), word.size());
    return *words_.insert(copy, metrics_.horizontalAdvance(copy));
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
        for (; i < n && text[i] != u' '; ++i)
            if (!IsWordCharacter(text[i].unicode(), closed)) return 0;
        const qreal word = Measure(text.sliced(start, i - start));
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
