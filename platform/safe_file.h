// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and replacing the files the user keeps (the settings file, the notes): only
// regular files are read, without blocking and within a size bound; a file is replaced
// through a temporary file and a rename under a folder lock, so that its name holds the old
// or the new content at every moment and nobody else's change is overwritten unseen.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Opens `path` read-only without waiting on a FIFO's writer; returns the descriptor, or -1
// with `err` set: errno of the open, EISDIR for a folder, ENODEV for any other file that is
// not a regular file (FIFO, device, socket). Nothing but a regular file is ever opened.
int OpenRegularFile(const std::filesystem::path& path, int& err);

// What a file was when it was read or written: enough to notice that another program has
// changed or replaced it since, also by a rewrite of the same size within the file system's
// time granularity (the content's hash, where the file was read or written whole).
struct FileStamp {
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::optional<std::uint64_t> contentHash;  // unknown for a file only looked at
    // The same file; the contents compared where both hashes are known.
    bool operator==(const FileStamp& o) const {
        return exists == o.exists && device == o.device && inode == o.inode && size == o.size &&
               modifiedNs == o.modifiedNs &&
               (!contentHash || !o.contentHash || contentHash == o.contentHash);
    }
};

// Writes all of `bytes` to `fd`, again after a signal or a short write; false at the first
// failure (errno tells which), also when the device takes nothing more.
bool WriteAll(int fd, std::string_view bytes);

// A quick hash of a file's content, to tell two contents of the same size apart.
std::uint64_t ContentHash(std::string_view bytes);

// The stamp of the file `path` names now (links followed); exists false when there is none.
FileStamp StampOf(const std::filesystem::path& path);

enum class ReadStatus {
    Ok,        // the whole file is in `bytes`
    Missing,   // no file of that name
    TooLong,   // a regular file of more than `maxBytes` bytes
    Folder,    // a folder in the file's place
    Fifo,      // a named pipe in the file's place
    Device,    // a device or a socket in the file's place
    Unusable,  // it could not be opened or read: permissions, an I/O error, a loop of links
};

struct FileRead {
    ReadStatus status = ReadStatus::Missing;
    int error = 0;    // errno of the failure with Unusable
    FileStamp stamp;  // with Ok: the file read
};

// Reads the whole regular file at `path` if it holds at most `maxBytes` bytes; memory stays
// within `maxBytes` whatever the file is.
FileRead ReadRegularFile(const std::filesystem::path& path, std::size_t maxBytes,
                         std::string& bytes);

// The file a link chain ends in (the path itself when it is no link); a chain with a loop
// or more than 40 links gives nothing. The end need not exist.
std::optional<std::filesystem::path> ResolveLinks(const std::filesystem::path& path);

// Makes `backup` a copy of the regular file `file`: the old backup is deleted and the file's
// content gets the backup's name as well, while `file` stays in place. Failures of the file
// system are ignored (there is no file yet, the folder refuses, ...).
void MakeBackup(const std::filesystem::path& file, const std::filesystem::path& backup);

enum class ReplaceStatus {
    Ok,
    Changed,         // the file is no longer the one `expected` describes; nothing written
    WriteProtected,  // the file has no write permission (as for Windows' read-only files)
    NotRegular,      // a folder, FIFO or device in the file's place, or a loop of links
    Refused,         // the content maker declined
    Failed,          // the temporary file could not be written or renamed; nothing changed
};

struct ReplaceOptions {
    // The file as it was read or last written. When the file there now differs, nothing is
    // written and the answer is Changed; a file that is gone counts as unchanged (nothing of
    // it can be lost). Unset: not checked.
    std::optional<FileStamp> expected;
    // Given the real file, the name its old content keeps as a backup, made just before the
    // new file takes the name. Unset: no backup.
    std::function<std::filesystem::path(const std::filesystem::path&)> backupName;
    // The file written is readable and writable by its owner alone, whatever the old file's
    // permissions or the umask (recovery copies of private notes).
    bool ownerOnly = false;
};

struct ReplaceResult {
    ReplaceStatus status = ReplaceStatus::Failed;
    FileStamp stamp;  // with Ok: the file written
};

// Produces the new content from the real file (which it may read) while the folder is
// locked; false: nothing is written (Refused).
using ContentMaker = std::function<bool(const std::filesystem::path& realFile, std::string& out)>;

// Replaces the file `name` names (links are followed and stay links): under an advisory
// lock on its folder, stale temporary files of dead processes are removed, the checks made,
// the content written to a temporary file beside it, synced and given the old file's
// permissions; right before it is renamed over the file, the file is compared with
// `expected` once more (another program may have changed it while the content was written);
// the folder is synced after the rename. On any failure
// the file is as it was and no temporary file remains.
ReplaceResult ReplaceFile(const std::filesystem::path& name, const ContentMaker& make,
                          const ReplaceOptions& options = {});
ReplaceResult ReplaceFile(const std::filesystem::path& name, std::string_view bytes,
                          const ReplaceOptions& options = {});

}  // namespace platform
