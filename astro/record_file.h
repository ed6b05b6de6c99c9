// SPDX-License-Identifier: GPL-3.0-or-later
// A read-only file of fixed-size records, read sequentially through a buffer. Every open,
// positioning, read and close is checked and a failure raises InOutError.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <memory>

namespace astro {

class RecordFile {
public:
    // Opens the regular file `path` for reading; `bufferSize` bytes are read ahead at a time.
    RecordFile(const std::string& path, std::size_t recordSize, std::size_t bufferSize);
    ~RecordFile();
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    // Positions the file at record `record` (counting from 0).
    void Seek(std::int64_t record);
    // Reads the next `count` records into `out` (count × recordSize bytes); a file that
    // ends before them raises "Read beyond end of file".
    void Read(void* out, std::size_t count = 1);
    // Closes the file, reporting a failure; the destructor closes silently otherwise.
    void Close();

private:
    void Refill();

    int fd_ = -1;
    std::size_t recordSize_;
    std::size_t bufferSize_;
    std::unique_ptr<unsigned char[]> buffer_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
};

}  // namespace astro
