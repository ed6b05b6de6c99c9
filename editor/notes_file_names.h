// SPDX-License-Identifier: GPL-3.0-or-later
// The names of notes files: extensions (which decide plain text or RTF) and backup names.
// No Qt; the files themselves are read and replaced through platform/safe_file.
#pragma once

#include <string>
#include <string_view>

namespace editor {

// The part of `name` from the last "." after the last "/" (empty when there is none).
std::string_view FileExtension(std::string_view name);

// True when the extension is ".RTF" in any case of the letters a–z.
bool IsRtfName(std::string_view name);

// NOTIZ.RTF → NOTIZ.~RTF, brief.txt → brief.~txt, a name without extension gets ".~".
std::string BackupName(std::string_view name);

}  // namespace editor
