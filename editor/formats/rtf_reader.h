// SPDX-License-Identifier: GPL-3.0-or-later
// Our RTF reader: turns the bytes of an RTF file into the text, character formats and
// paragraph alignment of a QTextDocument.
#pragma once

#include <QByteArray>
#include <QStringList>

class QTextDocument;

namespace editor {

// Replaces the document's content. Reads whatever it can: unknown control words are
// ignored, damaged files give the text read so far. Never throws for any input. Returns
// the kinds of content it skipped that the document showed (UnkeptKind), each once.
QStringList ReadRtf(const QByteArray& bytes, QTextDocument& document);

}  // namespace editor
