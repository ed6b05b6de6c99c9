// SPDX-License-Identifier: GPL-3.0-or-later
// The displayed lines of a plain paragraph from the widths of its characters, without
// shaping it: what lets a long text be counted in the background at some 0.3 µs a line.
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QStringView>
#include <array>

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

private:
    qreal Advance(char16_t c);
    qreal Overhang(char16_t c);
    qreal Measure(QStringView word);

    static constexpr qsizetype MaxWords = 100'000;

    QFontMetricsF metrics_;
    // The advances of the Latin letters and signs, measured when first met (< 0: not yet).
    std::array<qreal, 0x250> latin_;
    std::array<qreal, 0x250> overhang_;
    QHash<char16_t, qreal> other_;
    QHash<QString, qreal> words_;
};

}  // namespace editor
