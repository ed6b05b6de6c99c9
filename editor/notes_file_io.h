// The notes files on disk: extensions, backup names, reading a whole file and replacing a
// file safely (a temporary file renamed over the old one). No Qt.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace editor {

// The part of `name` from the last "." after the last "/" (empty when there is none).
std::string_view FileExtension(std::string_view name);

// True when the extension is ".RTF" in any case of the letters a–z.
bool IsRtfName(std::string_view name);

// NOTIZ.RTF → NOTIZ.~RTF, brief.txt → brief.~txt, a name without extension gets ".~".
std::string BackupName(std::string_view name);

// Makes the backup of `file`: the old backup is deleted and the file's present content
// becomes the backup, while `file` itself stays in place until the new version replaces it.
// Failures are ignored (there is no file yet, the folder refuses, ...).
void MakeBackup(const std::filesystem::path& file) noexcept;

// The whole content of `file`; throws std::runtime_error naming the file when it cannot
// be read (a folder, no permission, an I/O error).
std::string ReadWholeFile(const std::filesystem::path& file);

// Replaces `file` by `bytes`: writes a temporary file in the same folder, flushes it to the
// disk and renames it over the old one, so that the name holds either the old or the new
// content at every moment. With `backup` the old content becomes the backup (MakeBackup)
// just before the rename. A link stays a link: the file it names is replaced. On failure
// the old file is untouched, the temporary file removed, and std::runtime_error is thrown.
void WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes, bool backup);

}  // namespace editor
