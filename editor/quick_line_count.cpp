// SPDX-License-Identifier: GPL-3.0-or-later
// The displayed lines of a plain paragraph from the widths of its words.
#include "editor/quick_line_count.h"

namespace editor {

namespace {

// Closer than this to the width, a decision is left to the layout: a glyph may reach a
// little past its advance, and the layout counts that.
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

QuickLineCount::QuickLineCount(const QFont& font) : metrics_(font) { latin_.fill(-1); }

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
        if (word > width - Doubt) return 0;  // the layout breaks it inside
        const qreal reach = line + blanks + word;
        if (line > 0 && reach > width - Doubt && reach <= width + Doubt) return 0;
        if (line > 0 && reach > width) {
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
