// SPDX-License-Identifier: GPL-3.0-or-later
// Bounded reading of regular files and their replacement through a temporary file, with
// POSIX calls so that every failure (a short write, a full disk at fsync) is seen.
#include "platform/safe_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <thread>

namespace platform {

namespace fs = std::filesystem;

namespace {

fs::path FolderOf(const fs::path& file) {
    return file.has_parent_path() ? file.parent_path() : fs::path(".");
}

FileStamp StampFrom(const struct stat& st) {
    return {true, static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
            static_cast<std::int64_t>(st.st_size),
            static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec};
}

// Closes a descriptor on every way out.
struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
};

// An exclusive advisory lock (flock) on the folder that holds a file, so that programs that
// change files in it one after another by read, change and replace do not lose each other's
// changes. A folder that cannot be opened is not locked (the replacement then fails anyway);
// a lock that another program holds for more than a few seconds is not waited for.
class FolderLock {
public:
    explicit FolderLock(const fs::path& fileInFolder) {
        dir_.fd = ::open(FolderOf(fileInFolder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir_.fd < 0) return;
        for (int attempt = 0; attempt < 5000; ++attempt) {
            if (::flock(dir_.fd, LOCK_EX | LOCK_NB) == 0) return;
            if (errno != EWOULDBLOCK && errno != EINTR) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        timedOut_ = true;
    }
    bool TimedOut() const { return timedOut_; }
    // The folder, to sync after a rename; -1 when it could not be opened.
    int Folder() const { return dir_.fd; }

private:
    Descriptor dir_;  // closing it releases the lock
    bool timedOut_ = false;
};

// Temporary files are "NAME.~PID.N" beside the file NAME: the process id tells a stale one
// (its process is gone) from one being written.
std::string TemporaryPrefix(const fs::path& target) { return target.filename().string() + ".~"; }

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

void RemoveStaleTemporaries(const fs::path& target) {
    const std::string prefix = TemporaryPrefix(target);
    std::error_code ec;
    fs::directory_iterator it(FolderOf(target), ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const fs::directory_entry& entry = *it;
        const std::string name = entry.path().filename().string();
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
        const pid_t owner = TemporaryOwner(std::string_view(name).substr(prefix.size()));
        std::error_code kindError;
        if (owner <= 0 || owner == ::getpid() || !entry.is_regular_file(kindError)) continue;
        if (ProcessIsGone(owner)) fs::remove(entry.path(), kindError);
    }
}

// A new, empty file beside `target` under a name no other writer uses, readable by its
// owner alone until it is complete; -1 on failure.
int CreateTempBeside(const fs::path& target, std::string& tempName) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempName = (FolderOf(target) / TemporaryPrefix(target)).string() +
                   std::to_string(::getpid()) + "." + std::to_string(counter++);
        const int fd = ::open(tempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// The permissions a new file gets: 0666 less the process's umask, read from the kernel's
// report rather than set and reset (which would race with any other thread creating a file).
// Without that report, owner-only permissions, which lose no privacy.
mode_t NewFileMode() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (!line.starts_with("Umask:")) continue;
        try {
            return 0666 & ~static_cast<mode_t>(std::stoul(line.substr(6), nullptr, 8));
        } catch (const std::logic_error&) {
            break;
        }
    }
    return 0600;
}

// Removes the temporary file unless it has been renamed into place.
struct TemporaryFile {
    std::string name;
    bool placed = false;
    ~TemporaryFile() {
        if (!name.empty() && !placed) ::unlink(name.c_str());
    }
};

// The file is still the one `expected` describes: the same identity, size and time, and,
// where the hash is known, the same content.
bool Unchanged(const fs::path& target, const struct stat& now, const FileStamp& expected) {
    FileStamp seen = StampFrom(now);
    if (!expected.exists || seen.device != expected.device || seen.inode != expected.inode ||
        seen.size != expected.size || seen.modifiedNs != expected.modifiedNs)
        return false;
    if (!expected.contentHash) return true;
    std::string bytes;
    const FileRead read = ReadRegularFile(target, static_cast<std::size_t>(now.st_size), bytes);
    return read.status == ReadStatus::Ok && read.stamp.contentHash == expected.contentHash;
}

ReplaceStatus Check(const fs::path& target, struct stat& old, bool& existed) {
    existed = ::stat(target.c_str(), &old) == 0;
    if (!existed) return errno == ENOENT ? ReplaceStatus::Ok : ReplaceStatus::Failed;
    if (!S_ISREG(old.st_mode)) return ReplaceStatus::NotRegular;
    // rename() would replace a write-protected file; Windows refuses, and so do we, also for
    // root, for whom a file without any write permission is what a read-only file is.
    if ((old.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0)
        return ReplaceStatus::WriteProtected;
    return ReplaceStatus::Ok;
}

}  // namespace

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t put = ::write(fd, bytes.data(), bytes.size());
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(put));
    }
    return true;
}

// 64-bit words mixed by multiplication: some GB/s, so that the hash of a 64 MiB file costs
// little beside reading it.
std::uint64_t ContentHash(std::string_view bytes) {
    std::uint64_t h = 0x9E3779B97F4A7C15ULL ^ bytes.size();
    const auto mix = [&h](std::uint64_t word) {
        h ^= word;
        h *= 0xBF58476D1CE4E5B9ULL;
        h ^= h >> 31;
    };
    std::size_t at = 0;
    for (; at + 8 <= bytes.size(); at += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + at, 8);
        mix(word);
    }
    std::uint64_t tail = 0;
    if (at < bytes.size()) std::memcpy(&tail, bytes.data() + at, bytes.size() - at);
    mix(tail);
    return h;
}

int OpenRegularFile(const fs::path& path, int& err) {
    // Look before opening: opening a device may already do something (rewind a tape).
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        err = S_ISDIR(st.st_mode) ? EISDIR : ENODEV;
        return -1;
    }
    // O_NONBLOCK: opening a FIFO that took the file's place since would otherwise wait for a
    // writer for ever.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        err = errno;
        return -1;
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        err = S_ISDIR(st.st_mode) ? EISDIR : ENODEV;
        ::close(fd);
        return -1;
    }
    // Regular files never block, but the reads should behave as ordinary blocking reads.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

FileStamp StampOf(const fs::path& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? StampFrom(st) : FileStamp{};
}

FileRead ReadRegularFile(const fs::path& path, std::size_t maxBytes, std::string& bytes) {
    bytes.clear();
    FileRead result;
    Descriptor in;
    in.fd = OpenRegularFile(path, result.error);
    if (in.fd < 0) {
        struct stat st {};
        const bool there = ::stat(path.c_str(), &st) == 0;
        result.status = result.error == ENOENT    ? ReadStatus::Missing
                        : there && S_ISDIR(st.st_mode)  ? ReadStatus::Folder
                        : there && S_ISFIFO(st.st_mode) ? ReadStatus::Fifo
                        : result.error == ENODEV        ? ReadStatus::Device
                                                        : ReadStatus::Unusable;
        return result;
    }
    struct stat st {};
    if (::fstat(in.fd, &st) != 0) return {ReadStatus::Unusable, errno, {}};
    if (static_cast<std::uintmax_t>(st.st_size) > maxBytes) return {ReadStatus::TooLong, 0, {}};
    // Room for one byte more than fstat saw, so that a file that grew since is noticed; it
    // may grow up to one byte beyond the bound.
    bytes.resize(static_cast<std::size_t>(st.st_size) + 1);
    std::size_t have = 0;
    for (;;) {
        if (have == bytes.size()) {
            if (have > maxBytes) break;
            bytes.resize(std::min(2 * have, maxBytes + 1));
        }
        const ssize_t got = ::read(in.fd, bytes.data() + have, bytes.size() - have);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            const int error = errno;
            bytes.clear();
            return {ReadStatus::Unusable, error, {}};
        }
        if (got == 0) break;
        have += static_cast<std::size_t>(got);
    }
    if (have > maxBytes) {
        bytes.clear();
        return {ReadStatus::TooLong, 0, {}};
    }
    bytes.resize(have);
    // The stamp after the read: a file changed while it was read counts as changed.
    if (::fstat(in.fd, &st) != 0) return {ReadStatus::Unusable, errno, {}};
    FileStamp stamp = StampFrom(st);
    stamp.contentHash = ContentHash(bytes);
    return {ReadStatus::Ok, 0, stamp};
}

std::optional<fs::path> ResolveLinks(const fs::path& path) {
    fs::path current = path;
    for (int hop = 0; hop <= 40; ++hop) {
        std::error_code ec;
        if (!fs::is_symlink(current, ec)) return current;
        const fs::path target = fs::read_symlink(current, ec);
        if (ec) return std::nullopt;
        current = target.is_absolute() ? target : FolderOf(current) / target;
    }
    return std::nullopt;
}

void MakeBackup(const fs::path& file, const fs::path& backup) {
    std::error_code ec;
    if (!fs::is_regular_file(file, ec)) return;
    fs::remove(backup, ec);
    // A second name for the same content leaves the file where it is; where the file
    // system has no hard links, a copy does the same.
    fs::create_hard_link(file, backup, ec);
    if (ec) fs::copy_file(file, backup, fs::copy_options::overwrite_existing, ec);
}

ReplaceResult ReplaceFile(const fs::path& name, const ContentMaker& make,
                          const ReplaceOptions& options) {
    // The real file at the end of a link chain is replaced; the links stay as they are.
    const std::optional<fs::path> target = ResolveLinks(name);
    if (!target) return {ReplaceStatus::NotRegular, {}};
    // Another program saving in this folder at the same time waits here, so neither loses
    // the other's change.
    const FolderLock lock(*target);
    if (lock.TimedOut()) return {ReplaceStatus::Failed, {}};
    RemoveStaleTemporaries(*target);
    struct stat old {};
    bool existed = false;
    if (const ReplaceStatus checked = Check(*target, old, existed); checked != ReplaceStatus::Ok)
        return {checked, {}};
    std::string bytes;
    if (!make(*target, bytes)) return {ReplaceStatus::Refused, {}};

    TemporaryFile temp;
    Descriptor out;
    out.fd = CreateTempBeside(*target, temp.name);
    if (out.fd < 0) {
        temp.name.clear();
        return {ReplaceStatus::Failed, {}};
    }
    bool ok = WriteAll(out.fd, bytes) && ::fsync(out.fd) == 0;
    // Root saving someone else's file leaves it theirs; chown first, as it clears set-id bits.
    // Ownership that cannot be kept (a file system without owners) is no reason to fail.
    if (ok && existed && ::geteuid() == 0 && ::fchown(out.fd, old.st_uid, old.st_gid) != 0) {
    }
    const mode_t mode = options.ownerOnly ? 0600 : existed ? old.st_mode & 07777 : NewFileMode();
    ok = ok && ::fchmod(out.fd, mode) == 0;
    struct stat written {};
    ok = ok && ::fstat(out.fd, &written) == 0;
    const int fd = out.fd;
    out.fd = -1;
    ok = ::close(fd) == 0 && ok;
    if (!ok) return {ReplaceStatus::Failed, {}};
    // Another program's change while the content was made and written is not overwritten.
    // (A file that is gone counts as unchanged: nothing of it can be lost.)
    if (options.expected) {
        struct stat now {};
        const bool there = ::stat(target->c_str(), &now) == 0;
        if (there && !Unchanged(*target, now, *options.expected)) return {ReplaceStatus::Changed, {}};
        if (!there && errno != ENOENT) return {ReplaceStatus::Failed, {}};
        if (there) old = now;
        existed = there;
    }
    // The old content takes the backup name while the file keeps its own: the name holds
    // the old or the new file at every moment.
    if (existed && options.backupName) MakeBackup(*target, options.backupName(*target));
    if (::rename(temp.name.c_str(), target->c_str()) != 0) return {ReplaceStatus::Failed, {}};
    temp.placed = true;
    // The rename itself reaches the disk with the folder.
    if (lock.Folder() >= 0) ::fsync(lock.Folder());
    FileStamp stamp = StampFrom(written);
    stamp.contentHash = ContentHash(bytes);
    return {ReplaceStatus::Ok, stamp};
}

ReplaceResult ReplaceFile(const fs::path& name, std::string_view bytes,
                          const ReplaceOptions& options) {
    return ReplaceFile(
        name,
        [bytes](const fs::path&, std::string& out) {
            out.assign(bytes);
            return true;
        },
        options);
}

}  // namespace platform
