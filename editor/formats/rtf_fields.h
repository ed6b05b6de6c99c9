// SPDX-License-Identifier: GPL-3.0-or-later
// Fields that show nothing of their own (\field without \fldrslt text): what they show in
// the editor and what they keep for the writer.
#pragma once

#include <QString>

#include "editor/formats/rtf_kept.h"

namespace editor {

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
