// SPDX-License-Identifier: GPL-3.0-or-later
// Field instructions (\fldinst): the target of a HYPERLINK field, and what a field without
// result shows and keeps.
#pragma once

#include <QString>

#include "editor/formats/rtf_kept.h"

namespace editor {

// `HYPERLINK "https://…"`, `HYPERLINK \l "Marke"` (a place in the document: "#Marke") and
// the unquoted forms; empty for any other field.
QString HyperlinkTarget(const QString& instruction);

// The instruction of a HYPERLINK field to `target`, with the field syntax's escapes ("\\" and
// "\"" inside the quotes), as text before RTF's own escapes.
QString HyperlinkInstruction(const QString& target);

// A field whose result is empty, from its instruction. Ruby as LibreOffice and Word write it
// (EQ … \o(\s\up N(reading),base), \o\al and \o\ac alike) shows its base text, kept between
// the instruction's other parts; any other field shows nothing and keeps its instruction
// whole. `shown` is empty for a field that shows nothing.
struct EmptyField {
    RtfField field;
    QString shown;
};
EmptyField ReadEmptyField(const QString& instruction);

}  // namespace editor
