// SPDX-License-Identifier: GPL-3.0-or-later
// POSIX implementation of the buffered record reader.
#include "astro/record_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "astro/errors.h"
#include "platform/safe_file.h"

namespace astro {

RecordFile::RecordFile(const std::string& path, std::size_t recordSize, std::size_t bufferSize)
    : recordSize_(recordSize), bufferSize_(std::max(bufferSize, recordSize)),
      buffer_(std::make_unique_for_overwrite<unsigned char[]>(bufferSize_)) {
    // The term files are only read, so a write-protected installation works. A FIFO or a
    // device in a term file's place is no term file: "not found" rather than a hang.
    int err = 0;
    fd_ = platform::OpenRegularFile(path, err);
    if (fd_ < 0) throw InOutError::FromErrno(err == ENODEV ? ENOENT : err);
}

RecordFile::~RecordFile() {
    if (fd_ >= 0) ::close(fd_);
}

void RecordFile::Seek(std::int64_t record) {
    if (record < 0)
        throw RangeError("Range check error: record number " + std::to_string(record) +
                         " is negative");
    const off_t offset = static_cast<off_t>(record) * static_cast<off_t>(recordSize_);
    if (::lseek(fd_, offset, SEEK_SET) < 0) throw InOutError::FromErrno(errno);
    pos_ = end_ = 0;
}

void RecordFile::Read(void* out, std::size_t count) {
    unsigned char* const dest = static_cast<unsigned char*>(out);
    const std::size_t total = count * recordSize_;
    std::size_t copied = 0;
    while (copied < total) {
        if (pos_ == end_) Refill();
        const std::size_t n = std::min(total - copied, end_ - pos_);
        std::memcpy(dest + copied, buffer_.get() + pos_, n);
        pos_ += n;
        copied += n;
    }
}

void RecordFile::Refill() {
    ssize_t got;
    do {
        got = ::read(fd_, buffer_.get(), bufferSize_);
    } while (got < 0 && errno == EINTR);
    if (got < 0) throw InOutError::FromErrno(errno);
    if (got == 0) throw InOutError::ReadBeyondEnd();
    pos_ = 0;
    end_ = static_cast<std::size_t>(got);
}

void RecordFile::Close() {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) throw InOutError::FromErrno(errno);
}

}  // namespace astro
