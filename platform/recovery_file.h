// SPDX-License-Identifier: GPL-3.0-or-later
// Recovery copies of notes texts on disk. A copy belongs to the running text that wrote it,
// not to a file name: each is made new under a name nobody can guess and stays locked
// (flock) while its program holds it, so only the copies of programs that are gone are ever
// offered, and two programs on one file never touch each other's copy. The folder is used
// only when it is a real folder of this user that nobody else may enter (0700), and nothing
// in it is reached through a link.
//
// A copy holds a short header (the notes file, the mode, the file's size and time when the
// text was read, the writing text's id and the copy's number, the text's length) followed by
// the text in the notes file's own format.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/safe_file.h"

namespace platform {

// The largest notes text read or kept as a copy.
inline constexpr std::size_t MaxNotesBytes = std::size_t{64} << 20;

struct RecoveryRecord {
    std::string notesFile;  // the notes file's full path; empty: a text without a name
    bool plainText = true;  // its mode: plain text or RTF
    // The notes file when the text was read (exists false: there was none); of the stamp
    // only exists, size and modifiedNs are kept.
    FileStamp notesStamp;
    std::string text;  // the bytes the notes file would hold
    std::uint64_t writer = 0;    // the running text that wrote it
    std::uint64_t sequence = 0;  // its copies in the order written
};

// The notes file's absolute path, as the copy is keyed by.
std::string FullNotesPath(const std::filesystem::path& notesFile);

std::string EncodeRecovery(const RecoveryRecord& record);
// Nothing when the bytes are no recovery copy; `cutOff` tells a copy whose text ends before
// the length its header gives.
std::optional<RecoveryRecord> DecodeRecovery(std::string bytes, bool* cutOff = nullptr);

// A copy another program left behind, locked by this one while it holds this object.
struct FoundRecovery {
    FoundRecovery() = default;
    FoundRecovery(FoundRecovery&& other) noexcept;
    FoundRecovery& operator=(FoundRecovery&& other) noexcept;
    ~FoundRecovery();

    RecoveryRecord record;
    std::int64_t writtenNs = 0;  // when the copy was written, ns since 1970
    bool cutOff = false;         // its text is not whole
    int fd = -1;                 // open and locked
    std::string name;            // its name in the folder
};

// One running text's copies in one folder. Not thread-safe: one thread at a time.
class RecoveryStore {
public:
    RecoveryStore() = default;
    ~RecoveryStore();  // the copy stays on disk, no longer held
    RecoveryStore(const RecoveryStore&) = delete;
    RecoveryStore& operator=(const RecoveryStore&) = delete;

    // The folder: made (0700) when missing on the first write; empty: no copies.
    void SetFolder(std::filesystem::path folder);
    const std::filesystem::path& Folder() const { return folder_; }

    // Writes a new copy and then removes the one written before; false with `error` set to
    // the line to report (the folder unusable, the text beyond the bound, the disk).
    bool Write(RecoveryRecord record, std::string& error);
    // Removes this text's copy.
    void Remove();
    // Makes a found copy this text's own: it is replaced by the next write and removed by
    // the next removal.
    void Adopt(FoundRecovery copy);

    // The copies for `notesFile` (empty: texts without a name) that no running program
    // holds, newest first, each locked until dropped or adopted; of the copies one text
    // left, only the last whole one (older ones are removed).
    std::vector<FoundRecovery> Unheld(const std::string& notesFile);
    // Deletes a found copy (also while another thread writes this text's copy).
    void Delete(FoundRecovery copy);

private:
    bool OpenFolder(bool create, std::string& error);

    std::filesystem::path folder_;
    int dir_ = -1;
    std::uint64_t writer_ = 0;  // this text's id, random
    std::uint64_t sequence_ = 0;
    FoundRecovery current_;  // the copy this text holds now (fd -1: none)
};

// True when the notes file is no longer as it was when the copy's text was read.
bool NotesFileChanged(const RecoveryRecord& record);

}  // namespace platform
