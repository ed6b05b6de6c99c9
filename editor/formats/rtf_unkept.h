// SPDX-License-Identifier: GPL-3.0-or-later
// The destinations our reader skips although they carry content of the document, named as
// the notes window tells the user before a save would drop them.
#pragma once

#include <QString>

#include <string_view>

namespace editor {

// The kind of content a skipped destination carries ("Zeichnungen"), or an empty string for
// one that holds nothing the document shows (styles, metadata, list tables).
QString UnkeptKind(std::string_view destination);

}  // namespace editor
