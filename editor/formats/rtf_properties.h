// SPDX-License-Identifier: GPL-3.0-or-later
// The properties our RTF reader puts into a document's formats beside Qt's own, so that the
// writer gives back what Qt cannot show the way the file said it. One list, so that no two
// of them share a number.
#pragma once

#include <QTextFormat>

namespace editor::rtf_property {

// Block formats: the leaders of the tab stops, one character each (" .-_t=m": none, dots, hyphens, underline, thick, equals, middle dots).
constexpr int kTabLeaders = QTextFormat::UserProperty + 0x5201;

// Character formats: the underline word where Qt shows another kind ("uldb", "ulth", "ulw"
// ...), double strike-through, and the raise or drop of \up and \dn in half-points
// (positive: up).
constexpr int kUnderlineWord = QTextFormat::UserProperty + 0x5210;
constexpr int kDoubleStrike = QTextFormat::UserProperty + 0x5211;
constexpr int kRaise = QTextFormat::UserProperty + 0x5212;
// The \fcharset the file declared for the font, where it is not Windows-1252's.
constexpr int kFontCharset = QTextFormat::UserProperty + 0x5213;

}  // namespace editor::rtf_property
