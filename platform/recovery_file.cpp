// SPDX-License-Identifier: GPL-3.0-or-later
// Recovery copies on disk: the header, the folder's checks, and copies made new, locked
// and removed only by the program that holds them.
#include "platform/recovery_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <dirent.h>

#include <algorithm>
#include <tuple>
#include <utility>
#include <cerrno>
#include <cstdio>
#include <map>
#include <stdexcept>
#include <system_error>

namespace platform {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view Magic = "tolvane recovery copy 1\n";
// A header holds a path (at most 4096 bytes, escaped three times as long) and a few numbers.
constexpr std::size_t MaxHeaderBytes = 64 * 1024;

// Header values are one line each: '%', CR and LF are written as %25, %0D, %0A.
std::string Escape(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '%' || c == '\n' || c == '\r') {
            static constexpr char hex[] = "0123456789ABCDEF";
            out += '%';
            out += hex[static_cast<unsigned char>(c) >> 4];
            out += hex[static_cast<unsigned char>(c) & 15];
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<std::string> Unescape(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size()) return std::nullopt;
        const std::string hex(text.substr(i + 1, 2));
        if (hex.find_first_not_of("0123456789ABCDEF") != std::string::npos)
            return std::nullopt;
        out += static_cast<char>(std::stoi(hex, nullptr, 16));
        i += 2;
    }
    return out;
}

// The start of a file name, at most `max` bytes, not cut inside a UTF-8 sequence.
std::string Shortened(std::string name, std::size_t max) {
    if (name.size() <= max) return name;
    std::size_t end = max;
    while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) --end;
    name.resize(end);
    return name;
}

bool ReadNumber(std::string_view text, std::int64_t& value) {
    if (text.empty()) return false;
    std::size_t used = 0;
    try {
        value = std::stoll(std::string(text), &used);
    } catch (const std::logic_error&) {
        return false;
    }
    return used == text.size();
}


std::uint64_t RandomId() {
    std::uint64_t id = 0;
    while (id == 0) {
        if (::getrandom(&id, sizeof id, 0) != static_cast<ssize_t>(sizeof id)) {
            // No randomness: the clock and the process id still tell writers apart, and the
            // name is still made with O_EXCL.
            struct timespec now {};
            ::clock_gettime(CLOCK_REALTIME, &now);
            id = (static_cast<std::uint64_t>(now.tv_nsec) << 20) ^
                 static_cast<std::uint64_t>(now.tv_sec) ^
                 (static_cast<std::uint64_t>(::getpid()) << 40);
        }
    }
    return id;
}

std::string Hex(std::uint64_t value) {
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(value));
    return hex;
}

bool ReadUnsigned(std::string_view text, std::uint64_t& value, int base = 10) {
    if (text.empty() || text.size() > 20) return false;
    try {
        std::size_t used = 0;
        value = std::stoull(std::string(text), &used, base);
        return used == text.size() && text[0] != '-' && text[0] != '+';
    } catch (const std::logic_error&) {
        return false;
    }
}

// Reads up to `max` bytes from the start of `fd`.
bool ReadUpTo(int fd, std::size_t max, std::string& bytes) {
    bytes.resize(max);
    std::size_t have = 0;
    while (have < max) {
        const ssize_t got = ::pread(fd, bytes.data() + have, max - have, static_cast<off_t>(have));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) break;
        have += static_cast<std::size_t>(got);
    }
    bytes.resize(have);
    return true;
}

// The name `name` in the folder still is the file `fd` holds (nobody put another in its
// place).
bool StillThere(int dir, const std::string& name, int fd) {
    struct stat named {}, held {};
    return ::fstatat(dir, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
           ::fstat(fd, &held) == 0 && named.st_dev == held.st_dev && named.st_ino == held.st_ino;
}

}  // namespace

std::string FullNotesPath(const fs::path& notesFile) {
    if (notesFile.empty()) return {};
    std::error_code ec;
    const fs::path full = fs::absolute(notesFile, ec);
    return (ec ? notesFile : full).lexically_normal().string();
}

std::string EncodeRecovery(const RecoveryRecord& record) {
    std::string out(Magic);
    out += "file=" + Escape(record.notesFile) + "\n";
    out += std::string("mode=") + (record.plainText ? "plain" : "rtf") + "\n";
    out += "read=" + std::to_string(record.notesStamp.exists ? 1 : 0) + " " +
           std::to_string(record.notesStamp.size) + " " +
           std::to_string(record.notesStamp.modifiedNs) + "\n";
    out += "writer=" + Hex(record.writer) + " " + std::to_string(record.sequence) + "\n";
    out += "length=" + std::to_string(record.text.size()) + "\n\n";
    out.reserve(out.size() + record.text.size());
    out += record.text;
    return out;
}

std::optional<RecoveryRecord> DecodeRecovery(std::string bytes, bool* cutOff) {
    if (!bytes.starts_with(Magic)) return std::nullopt;
    RecoveryRecord record;
    bool haveFile = false, haveMode = false, haveRead = false;
    std::optional<std::uint64_t> length;
    std::size_t at = Magic.size();
    for (;;) {
        const std::size_t end = bytes.find('\n', at);
        if (end == std::string::npos) return std::nullopt;
        const std::string_view line(bytes.data() + at, end - at);
        at = end + 1;
        if (line.empty()) break;
        if (line.starts_with("file=")) {
            auto name = Unescape(line.substr(5));
            if (!name) return std::nullopt;
            record.notesFile = std::move(*name);
            haveFile = true;
        } else if (line == "mode=plain" || line == "mode=rtf") {
            record.plainText = line == "mode=plain";
            haveMode = true;
        } else if (line.starts_with("read=")) {
            const std::string_view v = line.substr(5);
            const std::size_t a = v.find(' '), b = v.find(' ', a + 1);
            std::int64_t exists = 0;
            if (a == std::string_view::npos || b == std::string_view::npos ||
                !ReadNumber(v.substr(0, a), exists) || (exists != 0 && exists != 1) ||
                !ReadNumber(v.substr(a + 1, b - a - 1), record.notesStamp.size) ||
                !ReadNumber(v.substr(b + 1), record.notesStamp.modifiedNs))
                return std::nullopt;
            record.notesStamp.exists = exists == 1;
            haveRead = true;
        } else if (line.starts_with("writer=")) {
            const std::string_view v = line.substr(7);
            const std::size_t a = v.find(' ');
            if (a == std::string_view::npos || !ReadUnsigned(v.substr(0, a), record.writer, 16) ||
                !ReadUnsigned(v.substr(a + 1), record.sequence))
                return std::nullopt;
        } else if (line.starts_with("length=")) {
            std::uint64_t n = 0;
            if (!ReadUnsigned(line.substr(7), n)) return std::nullopt;
            length = n;
        }  // other keys: from a later version, not needed here
    }
    if (!haveFile || !haveMode || !haveRead) return std::nullopt;
    bytes.erase(0, at);
    record.text = std::move(bytes);
    if (cutOff) *cutOff = length && record.text.size() < *length;
    return record;
}

FoundRecovery::FoundRecovery(FoundRecovery&& other) noexcept { *this = std::move(other); }

FoundRecovery& FoundRecovery::operator=(FoundRecovery&& other) noexcept {
    if (this == &other) return *this;
    if (fd >= 0) ::close(fd);
    record = std::move(other.record);
    writtenNs = other.writtenNs;
    cutOff = other.cutOff;
    fd = std::exchange(other.fd, -1);
    name = std::move(other.name);
    return *this;
}

// Closing the file releases its lock.
FoundRecovery::~FoundRecovery() {
    if (fd >= 0) ::close(fd);
}

RecoveryStore::~RecoveryStore() {
    current_ = {};
    if (dir_ >= 0) ::close(dir_);
}

void RecoveryStore::SetFolder(fs::path folder) {
    current_ = {};
    if (dir_ >= 0) ::close(dir_);
    dir_ = -1;
    folder_ = std::move(folder);
}

// The folder, opened without following a link, when it is a folder of this user that
// nobody else may enter; made so when missing and `create`.
bool RecoveryStore::OpenFolder(bool create, std::string& error) {
    if (dir_ >= 0) return true;
    if (folder_.empty()) return false;
    const auto refuse = [&](const char* reason) {
        error = folder_.string() + ": Wiederherstellungskopie nicht geschrieben (" + reason + ")";
        return false;
    };
    struct stat st {};
    const bool there = ::lstat(folder_.c_str(), &st) == 0;
    if (there && S_ISLNK(st.st_mode)) return refuse("ein Verweis, kein Ordner");
    if (!there) {
        if (errno != ENOENT || !create) return refuse("kein Ordner");
        // The folders above it as for any file of the user's; the folder itself private.
        std::error_code ec;
        fs::create_directories(folder_.parent_path(), ec);
        if (::mkdir(folder_.c_str(), 0700) != 0 && errno != EEXIST)
            return refuse(errno == EACCES || errno == EROFS ? "Ordner schreibgeschützt"
                                                            : "kein Ordner");
    }
    const int dir = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (dir < 0)
        return refuse(errno == ELOOP ? "ein Verweis, kein Ordner" : "kein Ordner");
    if (::fstat(dir, &st) != 0 || st.st_uid != ::geteuid() || (st.st_mode & 07777) != 0700) {
        ::close(dir);
        return refuse(st.st_uid != ::geteuid() ? "Ordner eines anderen Benutzers"
                                               : "Ordner nicht nur für den Besitzer (0700)");
    }
    dir_ = dir;
    if (writer_ == 0) writer_ = RandomId();
    return true;
}

bool RecoveryStore::Write(RecoveryRecord record, std::string& error) {
    if (!OpenFolder(true, error)) return false;
    std::string base;
    const auto fail = [&](const char* reason) {
        error = (folder_ / (base + "-….recovery")).string() +
                ": Wiederherstellungskopie nicht geschrieben (" +
                reason + ")";
        return false;
    };
    base =
        Shortened(record.notesFile.empty() ? std::string("Unbekannt")
                                           : fs::path(record.notesFile).filename().string(),
                  100);
    if (record.text.size() > MaxNotesBytes) return fail("größer als 64 MiB");
    record.writer = writer_;
    record.sequence = ++sequence_;
    FoundRecovery copy;
    for (int attempt = 0; attempt < 10 && copy.fd < 0; ++attempt) {
        copy.name = base + "-" + Hex(RandomId()) + ".recovery";
        copy.fd = ::openat(dir_, copy.name.c_str(),
                           O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (copy.fd < 0 && errno != EEXIST)
            return fail(errno == EACCES || errno == EROFS ? "Ordner schreibgeschützt"
                                                                     : "Schreibfehler");
    }
    if (copy.fd < 0) return fail("Schreibfehler");
    // Held from its first byte: nobody offers or removes it while this text lives.
    while (::flock(copy.fd, LOCK_EX) != 0 && errno == EINTR) {
    }
    if (!WriteAll(copy.fd, EncodeRecovery(record)) || ::fsync(copy.fd) != 0) {
        ::unlinkat(dir_, copy.name.c_str(), 0);
        return fail("Schreibfehler");
    }
    ::fsync(dir_);
    // The copy before goes only once this one is whole.
    Remove();
    current_ = std::move(copy);
    return true;
}

void RecoveryStore::Remove() {
    if (current_.fd >= 0 && dir_ >= 0 && StillThere(dir_, current_.name, current_.fd))
        ::unlinkat(dir_, current_.name.c_str(), 0);
    current_ = {};
}

void RecoveryStore::Adopt(FoundRecovery copy) {
    Remove();
    current_ = std::move(copy);
}

void RecoveryStore::Delete(FoundRecovery copy) {
    if (copy.fd >= 0 && dir_ >= 0 && StillThere(dir_, copy.name, copy.fd))
        ::unlinkat(dir_, copy.name.c_str(), 0);
}

std::vector<FoundRecovery> RecoveryStore::Unheld(const std::string& notesFile) {
    std::vector<FoundRecovery> found;
    std::string ignored;
    if (!OpenFolder(false, ignored)) return found;
    // Another descriptor of the folder, so that the listing does not move the store's.
    const int listing = ::openat(dir_, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listing < 0) return found;
    DIR* dir = ::fdopendir(listing);
    if (!dir) {
        ::close(listing);
        return found;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (!name.ends_with(".recovery")) continue;
        FoundRecovery copy;
        copy.name = name;
        copy.fd = ::openat(dir_, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (copy.fd < 0) continue;
        struct stat st {};
        if (::fstat(copy.fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid())
            continue;
        // Held by a running program (this one among them): not ours to offer.
        if (::flock(copy.fd, LOCK_EX | LOCK_NB) != 0) continue;
        if (static_cast<std::uintmax_t>(st.st_size) > MaxNotesBytes + MaxHeaderBytes) continue;
        std::string bytes;
        // The header first: most copies belong to other files.
        if (!ReadUpTo(copy.fd, MaxHeaderBytes, bytes)) continue;
        const std::size_t end = bytes.find("\n\n");
        if (end == std::string::npos) continue;
        bytes.resize(end + 2);
        const auto header = DecodeRecovery(bytes);
        if (!header || header->notesFile != notesFile) continue;
        if (!ReadUpTo(copy.fd, MaxNotesBytes + MaxHeaderBytes, bytes)) continue;
        auto record = DecodeRecovery(std::move(bytes), &copy.cutOff);
        if (!record) continue;
        copy.record = std::move(*record);
        copy.writtenNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 +
                         st.st_mtim.tv_nsec;
        found.push_back(std::move(copy));
    }
    ::closedir(dir);
    // Of one text's copies (a program killed between writing a copy and removing the one
    // before) the last whole one counts.
    std::map<std::uint64_t, std::size_t> best;
    for (std::size_t i = 0; i < found.size(); ++i) {
        const RecoveryRecord& r = found[i].record;
        if (r.writer == 0) continue;  // from a program that wrote no id
        const auto [it, first] = best.try_emplace(r.writer, i);
        if (first) continue;
        const FoundRecovery& other = found[it->second];
        if (std::make_tuple(!found[i].cutOff, r.sequence) >
            std::make_tuple(!other.cutOff, other.record.sequence))
            it->second = i;
    }
    std::vector<FoundRecovery> kept;
    for (std::size_t i = 0; i < found.size(); ++i) {
        const auto it = best.find(found[i].record.writer);
        if (it == best.end() || it->second == i)
            kept.push_back(std::move(found[i]));
        else
            Delete(std::move(found[i]));
    }
    std::sort(kept.begin(), kept.end(), [](const FoundRecovery& a, const FoundRecovery& b) {
        return a.writtenNs > b.writtenNs;
    });
    return kept;
}

bool NotesFileChanged(const RecoveryRecord& record) {
    const FileStamp now = StampOf(record.notesFile);
    if (now.exists != record.notesStamp.exists) return true;
    return now.exists &&
           (now.size != record.notesStamp.size || now.modifiedNs != record.notesStamp.modifiedNs);
}

}  // namespace platform
