// SPDX-License-Identifier: GPL-3.0-or-later
// Our RTF writer: a QTextDocument as ANSI RTF (Windows-1252 with \uN for everything else).
#pragma once

#include <QByteArray>

class QTextDocument;

namespace editor {

// Fonts, sizes, bold, italic, underline, strike-through, text and highlight colours and
// paragraph alignment; one \par and CR LF per paragraph.
QByteArray WriteRtf(const QTextDocument& document);

}  // namespace editor
