// Opening with O_NONBLOCK, checking the kind with fstat and reading with a size bound.
#include "platform/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>

namespace platform {

int OpenRegularFile(const std::filesystem::path& path, int& err) {
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer for ever.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        err = errno;
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        err = S_ISDIR(st.st_mode) ? EISDIR : ENODEV;
        ::close(fd);
        return -1;
    }
    // Regular files never block, but the reads should behave as ordinary blocking reads.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

ReadStatus ReadRegularFile(const std::filesystem::path& path, std::size_t maxBytes,
                           std::string& bytes) {
    bytes.clear();
    int err = 0;
    const int fd = OpenRegularFile(path, err);
    if (fd < 0) return err == ENOENT ? ReadStatus::Missing : ReadStatus::Unusable;
    struct stat st {};
    ReadStatus status = ReadStatus::Ok;
    if (::fstat(fd, &st) != 0) {
        status = ReadStatus::Unusable;
    } else if (static_cast<std::uintmax_t>(st.st_size) > maxBytes) {
        status = ReadStatus::TooLong;
    } else {
        // Room for one byte more than fstat saw, so that a file that grew since is noticed;
        // it may grow up to one byte beyond the bound.
        bytes.resize(static_cast<std::size_t>(st.st_size) + 1);
        std::size_t have = 0;
        for (;;) {
            if (have == bytes.size()) {
                if (have > maxBytes) break;
                bytes.resize(std::min(2 * have, maxBytes + 1));
            }
            const ssize_t got = ::read(fd, bytes.data() + have, bytes.size() - have);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) status = ReadStatus::Unusable;
            if (got <= 0) break;
            have += static_cast<std::size_t>(got);
        }
        if (status == ReadStatus::Ok && have > maxBytes) status = ReadStatus::TooLong;
        bytes.resize(status == ReadStatus::Ok ? have : 0);
    }
    ::close(fd);
    return status;
}

}  // namespace platform
