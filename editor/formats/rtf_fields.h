// SPDX-License-Identifier: GPL-3.0-or-later
// Field instructions (\fldinst): the target of a HYPERLINK field.
#pragma once

#include <QString>

namespace editor {

// `HYPERLINK "https://…"`, `HYPERLINK \l "Marke"` (a place in the document: "#Marke") and
// the unquoted forms; empty for any other field.
QString HyperlinkTarget(const QString& instruction);

// The instruction of a HYPERLINK field to `target`, with the field syntax's escapes ("\\" and
// "\"" inside the quotes), as text before RTF's own escapes.
QString HyperlinkInstruction(const QString& target);

}  // namespace editor
