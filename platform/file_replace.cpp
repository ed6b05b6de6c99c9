// Link resolution, folder locks, stale temporary files and the atomic replacement of a file.
#include "platform/file_replace.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>

namespace platform {

namespace {

std::filesystem::path FolderOf(const std::filesystem::path& file) {
    return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t put = ::write(fd, bytes.data(), bytes.size());
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(put));
    }
    return true;
}

std::string TemporaryPrefix(const std::filesystem::path& target) {
    return target.filename().string() + ".~";
}

// A new, empty file beside `target` under a name no other writer uses; -1 on failure. Its
// permissions follow the umask like those of any new file.
int CreateTempBeside(const std::filesystem::path& target, std::string& tempName) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempName = (FolderOf(target) / TemporaryPrefix(target)).string() +
                   std::to_string(::getpid()) + "." + std::to_string(counter++);
        const int fd = ::open(tempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// The process id in a temporary file's name "PID.N" (after the prefix), or 0.
pid_t TemporaryOwner(std::string_view rest) {
    const std::size_t dot = rest.find('.');
    if (dot == 0 || dot == std::string_view::npos || dot > 9 || dot + 1 == rest.size()) return 0;
    if (rest.find_first_not_of("0123456789.") != std::string_view::npos) return 0;
    if (rest.find('.', dot + 1) != std::string_view::npos) return 0;
    pid_t pid = 0;
    for (const char c : rest.substr(0, dot)) pid = pid * 10 + (c - '0');
    return pid;
}

bool ProcessIsGone(pid_t pid) { return ::kill(pid, 0) != 0 && errno == ESRCH; }

}  // namespace

std::optional<std::filesystem::path> ResolveLinks(const std::filesystem::path& path) {
    std::filesystem::path current = path;
    for (int hop = 0; hop <= 40; ++hop) {
        std::error_code ec;
        if (!std::filesystem::is_symlink(current, ec)) return current;
        const std::filesystem::path target = std::filesystem::read_symlink(current, ec);
        if (ec) return std::nullopt;
        current = target.is_absolute() ? target : FolderOf(current) / target;
    }
    return std::nullopt;
}

FolderLock::FolderLock(const std::filesystem::path& fileInFolder) {
    fd_ = ::open(FolderOf(fileInFolder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0) return;
    while (::flock(fd_, LOCK_EX) != 0) {
        if (errno != EINTR) {
            ::close(fd_);
            fd_ = -1;
            return;
        }
    }
}

FolderLock::~FolderLock() {
    // Closing the descriptor releases the lock.
    if (fd_ >= 0) ::close(fd_);
}

void RemoveStaleTemporaries(const std::filesystem::path& target) {
    const std::string prefix = TemporaryPrefix(target);
    std::error_code ec;
    std::filesystem::directory_iterator it(FolderOf(target), ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        const std::filesystem::directory_entry& entry = *it;
        const std::string name = entry.path().filename().string();
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
        const pid_t owner = TemporaryOwner(std::string_view(name).substr(prefix.size()));
        std::error_code kindError;
        if (owner <= 0 || owner == ::getpid() || !entry.is_regular_file(kindError)) continue;
        if (ProcessIsGone(owner)) std::filesystem::remove(entry.path(), kindError);
    }
}

bool ReplaceFile(const std::filesystem::path& target, std::string_view bytes) {
    struct stat old {};
    const bool existed = ::stat(target.c_str(), &old) == 0;
    // rename() would replace a write-protected file; Windows refuses, and so do we.
    if (existed && ::access(target.c_str(), W_OK) != 0) return false;
    std::string tempName;
    const int fd = CreateTempBeside(target, tempName);
    if (fd < 0) return false;
    bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    if (ok && existed) ok = ::fchmod(fd, old.st_mode & 07777) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(tempName.c_str(), target.c_str()) == 0;
    if (!ok) ::unlink(tempName.c_str());
    return ok;
}

}  // namespace platform
