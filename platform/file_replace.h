// Replacing a file safely: follow its chain of links to the real file, hold an advisory lock
// while reading, changing and replacing it, and write through a temporary file and rename.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace platform {

// The file a link chain ends in (the path itself when it is no link); a chain with a loop
// or more than 40 links gives nothing. The end need not exist.
std::optional<std::filesystem::path> ResolveLinks(const std::filesystem::path& path);

// An exclusive advisory lock (flock) on the folder that holds a file, so that programs that
// change files in it one after another by read, change and replace do not lose each other's
// changes. A folder that cannot be opened is not locked: the replacement then fails anyway.
class FolderLock {
public:
    explicit FolderLock(const std::filesystem::path& fileInFolder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int fd_ = -1;
};

// Removes the temporary files ReplaceFile leaves beside `target` when a process dies in the
// middle of a replacement ("NAME.~PID.N" of a process that no longer runs).
void RemoveStaleTemporaries(const std::filesystem::path& target);

// Writes `bytes` to a temporary file beside `target` and renames it over `target`, keeping
// the old file's permissions. Returns false, with the temporary file removed, if any step
// fails; `target` is then unchanged.
bool ReplaceFile(const std::filesystem::path& target, std::string_view bytes);

}  // namespace platform
