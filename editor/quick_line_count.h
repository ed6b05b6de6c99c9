// SPDX-License-Identifier: GPL-3.0-or-later
// The displayed lines of a plain paragraph from the widths of its characters, without
// shaping it: what lets a long text be counted in the background at some 0.3 µs a line.
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QStringView>
#include <array>
#include <string>
#include <vector>

namespace editor {

// Word wrap breaks a paragraph after its blanks: a word goes to the next line when it would
// reach past the width. Measured word by word with the advances of its characters, this
// gives the lines of Qt's own layout wherever no decision comes near the width (kerning and
// ligatures move a line's end by a pixel or two) and every break opportunity lies after a
// blank: words of letters and digits, closed by . , ; : ! ? at most. For anything else
// Lines() does not guess but says so, and the paragraph is laid out by Qt.
class QuickLineCount {
public:
    explicit QuickLineCount(const QFont& font);

    // The paragraph's lines at `width`, or 0 when only a layout can tell.
    int Lines(QStringView text, qreal width);
    // The paragraph's width on one line, a little more than its layout's (it makes room for
    // kerning): for the horizontal scroll bar of a text that does not wrap.
    qreal Width(QStringView text);

    // The hash of a word, a character at a time (FNV-1a), as the scan of a paragraph meets
    // them.
    static constexpr quint64 FirstHash = 0xCBF29CE484222325ULL;
    static quint64 NextHash(quint64 hash, char16_t c) { return (hash ^ c) * 0x100000001B3ULL; }

private:
    qreal Advance(char16_t c);
    qreal Overhang(char16_t c);
    qreal Measure(QStringView word, quint64 hash);
    std::size_t HomeOf(quint64 hash) const {
        return static_cast<std::size_t>((hash * 0x9E3779B97F4A7C15ULL) >> 32) & (words_.size() - 1);
    }
    void MakeRoom();

    static constexpr qsizetype MaxWords = 100'000;

    QFontMetricsF metrics_;
    // The advances of the Latin letters and signs, measured when first met (< 0: not yet).
    std::array<qreal, 0x250> latin_;
    std::array<qreal, 0x250> overhang_;
    QHash<char16_t, qreal> other_;
    // The widths of the words met, in an open table by the words' hashes (a quarter full at
    // most, its size a power of two); their characters lie one after the other in chars_. Notes repeat their words:
    // nearly every look-up finds its word, at the cost of the hash the scan computed anyway
    // and one comparison.
    struct Word {
        quint64 hash = 0;
        qsizetype at = -1;  // in chars_ (-1: a free slot)
        qsizetype length = 0;
        qreal width = 0;
    };
    std::vector<Word> words_;
    std::u16string chars_;
    qsizetype count_ = 0;
};

}  // namespace editor
