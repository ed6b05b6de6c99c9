// SPDX-License-Identifier: GPL-3.0-or-later
// The recovery copy of a notes text on disk, one per notes file: its name, made from the
// notes file's full path, and its content, a short header (the notes file, the mode, the
// file's size and time when the text was read) followed by the text in the notes file's
// own format.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/safe_file.h"

namespace platform {

struct RecoveryRecord {
    std::string notesFile;  // the notes file's full path
    bool plainText = true;  // its mode: plain text or RTF
    // The notes file when the text was read (exists false: there was none); of the stamp
    // only exists, size and modifiedNs are kept.
    FileStamp notesStamp;
    std::string text;  // the bytes the notes file would hold
};

// The notes file's absolute path, as the copy is named and keyed by.
std::string FullNotesPath(const std::filesystem::path& notesFile);

// The copy of `notesFile` in `folder`: its file name followed by a hash of its full path.
std::filesystem::path RecoveryPath(const std::filesystem::path& folder,
                                   const std::filesystem::path& notesFile);

std::string EncodeRecovery(const RecoveryRecord& record);
// Nothing when the bytes are no recovery copy.
std::optional<RecoveryRecord> DecodeRecovery(std::string bytes);

// Writes the copy through a temporary file and a rename, readable by its owner alone; the
// folder is made (mode 0700) when missing. False with `error` set to the line to report.
bool WriteRecovery(const std::filesystem::path& folder, const RecoveryRecord& record,
                   std::string& error);

struct FoundRecovery {
    RecoveryRecord record;
    std::int64_t writtenNs = 0;  // when the copy was written, ns since 1970
};
// The copy of `notesFile`, if there is a readable one that names it.
std::optional<FoundRecovery> ReadRecovery(const std::filesystem::path& folder,
                                          const std::filesystem::path& notesFile);

void RemoveRecovery(const std::filesystem::path& folder, const std::filesystem::path& notesFile);

// True when the notes file is no longer as it was when the copy's text was read.
bool NotesFileChanged(const RecoveryRecord& record);

}  // namespace platform
