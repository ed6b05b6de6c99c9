// Opening and reading files that must be regular files: a FIFO, a device or a folder in a
// file's place neither blocks the program nor feeds it endless bytes.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace platform {

// Opens `path` read-only without waiting on a FIFO's writer; returns the descriptor, or -1
// with `err` set: errno of the open, EISDIR for a folder, ENODEV for any other file that is
// not a regular file (FIFO, device, socket).
int OpenRegularFile(const std::filesystem::path& path, int& err);

enum class ReadStatus {
    Ok,        // the whole file is in `bytes`
    Missing,   // no file of that name
    TooLong,   // a regular file of more than `maxBytes` bytes
    Unusable,  // not a regular file, or it could not be read
};

// Reads the whole regular file at `path` if it holds at most `maxBytes` bytes; memory stays
// within `maxBytes` whatever the file is.
ReadStatus ReadRegularFile(const std::filesystem::path& path, std::size_t maxBytes,
                           std::string& bytes);

}  // namespace platform
