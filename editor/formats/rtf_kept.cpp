// SPDX-License-Identifier: GPL-3.0-or-later
// The look of hidden text and tracked changes, put on and taken off.
#include "editor/formats/rtf_kept.h"

#include <array>

namespace editor {

QColor AuthorColour(const QString& author) {
    // Dark enough to read on white, far enough apart to tell the authors apart.
    static constexpr std::array<QRgb, 8> kColours = {0xB00000, 0x0050B0, 0x008040, 0x8000A0,
                                                     0xB05000, 0x007080, 0xA00060, 0x506000};
    unsigned hash = 0;
    for (const QChar ch : author) hash = hash * 31 + ch.unicode();
    return QColor(kColours[hash % kColours.size()]);
}

void SetKeptLook(QTextCharFormat& format) {
    const bool deleted = format.hasProperty(kept::DeleteAuthor);
    const bool inserted = format.hasProperty(kept::InsertAuthor);
    const bool hidden = format.hasProperty(kept::Hidden);
    if (!deleted && !inserted && !hidden) return;
    if (!format.hasProperty(kept::OwnUnderline)) {
        if (format.hasProperty(QTextFormat::ForegroundBrush)) {
            format.setProperty(kept::OwnForeground, format.foreground());
        }
        format.setProperty(kept::OwnUnderline, static_cast<int>(format.underlineStyle()));
        format.setProperty(kept::OwnStrike, format.fontStrikeOut());
    }
    if (deleted || inserted) {
        format.setForeground(AuthorColour(
            format.stringProperty(deleted ? kept::DeleteAuthor : kept::InsertAuthor)));
        if (deleted) format.setFontStrikeOut(true);
        if (inserted) format.setUnderlineStyle(QTextCharFormat::SingleUnderline);
    }
    if (hidden) {
        if (!deleted && !inserted) format.setForeground(QColor(0x80, 0x80, 0x80));
        if (!inserted) format.setUnderlineStyle(QTextCharFormat::DotLine);
    }
}

QTextCharFormat OwnFormat(const QTextCharFormat& format) {
    if (!format.hasProperty(kept::OwnUnderline)) return format;
    QTextCharFormat own = format;
    own.setUnderlineStyle(
        static_cast<QTextCharFormat::UnderlineStyle>(format.intProperty(kept::OwnUnderline)));
    own.setFontStrikeOut(format.boolProperty(kept::OwnStrike));
    if (format.hasProperty(kept::OwnForeground)) {
        own.setForeground(format.brushProperty(kept::OwnForeground));
    } else {
        own.clearForeground();
    }
    return own;
}

bool HasKept(const QTextCharFormat& format) {
    return format.hasProperty(kept::Hidden) || format.hasProperty(kept::InsertAuthor) ||
           format.hasProperty(kept::DeleteAuthor) || format.hasProperty(kept::FieldBefore);
}

QTextCharFormat TypingFormat(const QTextCharFormat& format) {
    QTextCharFormat typing = OwnFormat(format);
    for (int property = kept::Hidden; property <= kept::OwnStrike; ++property) {
        typing.clearProperty(property);
    }
    return typing;
}

}  // namespace editor
