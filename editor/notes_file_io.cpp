// Reading and safely replacing notes files with POSIX calls, so that every failure (a short
// write, a full disk at fsync, a rename onto a folder) is seen.
#include "editor/notes_file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <system_error>

namespace editor {

namespace fs = std::filesystem;

std::string_view FileExtension(std::string_view name) {
    const std::size_t slash = name.rfind('/');
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return {};
    return name.substr(dot);
}

bool IsRtfName(std::string_view name) {
    std::string ext(FileExtension(name));
    for (char& c : ext)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return ext == ".RTF";
}

std::string BackupName(std::string_view name) {
    const std::string_view ext = FileExtension(name);
    std::string backup(name.substr(0, name.size() - ext.size()));
    backup += ".~";
    if (!ext.empty()) backup.append(ext.substr(1));
    return backup;
}

void MakeBackup(const fs::path& file) noexcept {
    std::error_code ec;
    if (!fs::is_regular_file(file, ec)) return;
    const fs::path backup = BackupName(file.string());
    fs::remove(backup, ec);
    // A second name for the same content leaves the file where it is; where the file
    // system has no hard links, a copy does the same.
    fs::create_hard_link(file, backup, ec);
    if (ec) fs::copy_file(file, backup, fs::copy_options::overwrite_existing, ec);
}

namespace {

[[noreturn]] void Fail(const fs::path& file, const char* what, int error) {
    throw std::runtime_error(file.string() + ": " + what + " (" + std::strerror(error) + ")");
}

// Closes a descriptor on every way out.
struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
};

// Mode of the new file: that of the file it replaces, else what the umask gives a new file.
mode_t NewFileMode(const fs::path& file) {
    struct stat old {};
    if (::stat(file.c_str(), &old) == 0 && S_ISREG(old.st_mode)) return old.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

void WriteAll(int fd, std::string_view bytes, const fs::path& temp) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) Fail(temp, "Schreibfehler", n < 0 ? errno : ENOSPC);
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

}  // namespace

std::string ReadWholeFile(const fs::path& file) {
    Descriptor in{::open(file.c_str(), O_RDONLY | O_CLOEXEC)};
    if (in.fd < 0) Fail(file, "Lesefehler", errno);
    std::string bytes;
    struct stat st {};
    if (::fstat(in.fd, &st) == 0 && st.st_size > 0) bytes.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(in.fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) Fail(file, "Lesefehler", errno);
        if (n == 0) break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return bytes;
}

// The file a name stands for: a link is followed (through at most 40 links, as the system
// does) to the file it names, whether that exists yet or not.
fs::path RealFile(const fs::path& name) {
    fs::path file = name;
    std::error_code ec;
    for (int links = 0; links < 40 && fs::is_symlink(fs::symlink_status(file, ec)); ++links) {
        const fs::path target = fs::read_symlink(file, ec);
        if (ec) break;
        file = target.is_absolute() ? target : file.parent_path() / target;
    }
    return file;
}

// A name that is a link stays a link: the file it names is replaced, in its own folder,
// and backed up there.
void WriteFileAtomically(const fs::path& name, std::string_view bytes, bool backup) {
    const fs::path file = RealFile(name);
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    std::string hidden(".");
    hidden.append(file.filename().string()).append(".XXXXXX");
    std::string temp = (folder / hidden).string();
    Descriptor out{::mkstemp(temp.data())};
    if (out.fd < 0) Fail(file, "Schreibfehler", errno);
    try {
        WriteAll(out.fd, bytes, file);
        if (::fchmod(out.fd, NewFileMode(file)) != 0) Fail(file, "Schreibfehler", errno);
        if (::fsync(out.fd) != 0) Fail(file, "Schreibfehler", errno);
        const int fd = out.fd;
        out.fd = -1;
        if (::close(fd) != 0) Fail(file, "Schreibfehler", errno);
        if (backup) MakeBackup(file);
        if (::rename(temp.c_str(), file.c_str()) != 0) Fail(file, "Schreibfehler", errno);
    } catch (...) {
        ::unlink(temp.c_str());
        throw;
    }
    // The rename itself reaches the disk with the folder.
    Descriptor dir{::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    if (dir.fd >= 0) ::fsync(dir.fd);
}

}  // namespace editor
