// INI parsing and editing on the file's own bytes, and the atomic replacement of the file
// through a temporary file in the same folder.
#include "platform/ini_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "platform/cp1252.h"
#include "platform/int_text.h"

namespace platform {

namespace {

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    }
    return true;
}

// The name of a section line "[name]"; like Windows, text after the "]" is ignored.
std::optional<std::string_view> SectionName(std::string_view line) {
    const std::string_view t = TrimBlanks(line);
    if (t.empty() || t.front() != '[') return std::nullopt;
    const std::size_t close = t.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return TrimBlanks(t.substr(1, close - 1));
}

struct KeyLine {
    std::string_view Key;
    std::string_view Value;
};

// A "key=value" line; comments, section lines and lines without "=" are not keys.
std::optional<KeyLine> ParseKeyLine(std::string_view line) {
    const std::string_view t = TrimBlanks(line);
    if (t.empty() || t.front() == ';' || SectionName(t)) return std::nullopt;
    const std::size_t eq = t.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    return KeyLine{TrimBlanks(t.substr(0, eq)), TrimBlanks(t.substr(eq + 1))};
}

std::string_view Unquote(std::string_view v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
        return v.substr(1, v.size() - 2);
    }
    return v;
}

// The query names are UTF-8; the file's names are Windows-1252.
std::string FileName(std::string_view name) { return Utf8ToCp1252(TrimBlanks(name)); }

void RejectLineBreaks(std::string_view text) {
    if (text.find_first_of("\r\n") != std::string_view::npos) {
        throw std::invalid_argument("Line break in a setting: " + std::string(text));
    }
}

// Reads the whole file. A missing file reads as empty; any other failure returns false.
bool ReadFileBytes(const std::filesystem::path& path, std::string& bytes) {
    bytes.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT;
    char buffer[8192];
    ssize_t got;
    while ((got = ::read(fd, buffer, sizeof buffer)) != 0) {
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) break;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return got == 0;
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

// The file a write replaces: a symbolic link is followed so that the link stays in place.
std::filesystem::path WriteTarget(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::is_symlink(path, ec)) return path;
    const std::filesystem::path target = std::filesystem::read_symlink(path, ec);
    if (ec) return path;
    return target.is_absolute() ? target : path.parent_path() / target;
}

// A new, empty file beside `target` under a name no other writer uses; -1 on failure. Its
// permissions follow the umask like those of any new file.
int CreateTempBeside(const std::filesystem::path& target, std::string& tempName) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempName = target.string() + ".~" + std::to_string(::getpid()) + "." +
                   std::to_string(counter++);
        const int fd = ::open(tempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// Writes `bytes` to a temporary file and renames it over `target`, keeping the old file's
// permissions. Returns false, with the temporary file removed, if any step fails.
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

}  // namespace

IniDocument IniDocument::Parse(std::string_view bytes) {
    IniDocument doc;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) end = bytes.size();
        std::string_view line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        doc.lines_.emplace_back(line);
        start = end + 1;
    }
    return doc;
}

std::optional<std::size_t> IniDocument::FindSection(std::string_view name) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const auto found = SectionName(lines_[i]);
        if (found && SameName(*found, name)) return i;
    }
    return std::nullopt;
}

std::size_t IniDocument::SectionEnd(std::size_t header) const {
    std::size_t i = header + 1;
    while (i < lines_.size() && !SectionName(lines_[i])) ++i;
    return i;
}

std::optional<std::size_t> IniDocument::FindKey(std::size_t header, std::string_view name) const {
    const std::size_t end = SectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i) {
        const auto kv = ParseKeyLine(lines_[i]);
        if (kv && SameName(kv->Key, name)) return i;
    }
    return std::nullopt;
}

std::optional<std::string> IniDocument::Find(std::string_view section,
                                             std::string_view key) const {
    const auto header = FindSection(FileName(section));
    if (!header) return std::nullopt;
    const auto line = FindKey(*header, FileName(key));
    if (!line) return std::nullopt;
    const std::string_view value = Unquote(ParseKeyLine(lines_[*line])->Value);
    return Cp1252ToUtf8(value.substr(0, MaxValueLength));
}

std::string IniDocument::ReadString(std::string_view section, std::string_view key,
                                    std::string_view def) const {
    const auto value = Find(section, key);
    return value ? *value : std::string(def);
}

std::int32_t IniDocument::ReadInteger(std::string_view section, std::string_view key,
                                      std::int32_t def) const {
    const auto value = Find(section, key);
    std::int32_t result = def;
    if (value) TryStrToInt(*value, result);
    return result;
}

bool IniDocument::ReadBool(std::string_view section, std::string_view key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    RejectLineBreaks(section);
    RejectLineBreaks(key);
    RejectLineBreaks(value);
    const std::string sectionName = FileName(section);
    const std::string keyLine = FileName(key) + "=" + Utf8ToCp1252(value);
    const auto header = FindSection(sectionName);
    if (!header) {
        lines_.push_back("[" + sectionName + "]");
        lines_.push_back(keyLine);
        return;
    }
    if (const auto line = FindKey(*header, FileName(key))) {
        lines_[*line] = keyLine;
        return;
    }
    // After the section's last non-blank line, so blank lines before the next section stay
    // where they are.
    std::size_t insertAt = SectionEnd(*header);
    while (insertAt > *header + 1 && TrimBlanks(lines_[insertAt - 1]).empty()) --insertAt;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), keyLine);
}

std::string IniDocument::Serialize() const {
    std::string out;
    for (const std::string& line : lines_) {
        out += line;
        out += "\r\n";
    }
    return out;
}

IniFile::IniFile(std::filesystem::path path) : path_(std::move(path)) {}

IniDocument IniFile::Load() const {
    std::string bytes;
    // Like Windows, a file that cannot be read yields the defaults.
    if (!ReadFileBytes(path_, bytes)) bytes.clear();
    return IniDocument::Parse(bytes);
}

IniDocument IniFile::LoadForWrite() const {
    std::string bytes;
    // Writing over a file we could not read would lose its other settings.
    if (!ReadFileBytes(path_, bytes)) throw IniWriteError(path_);
    return IniDocument::Parse(bytes);
}

void IniFile::Replace(const IniDocument& doc) const {
    if (!ReplaceFile(WriteTarget(path_), doc.Serialize())) throw IniWriteError(path_);
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view def) const {
    return Load().ReadString(section, key, def);
}

std::int32_t IniFile::ReadInteger(std::string_view section, std::string_view key,
                                  std::int32_t def) const {
    return Load().ReadInteger(section, key, def);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool def) const {
    return Load().ReadBool(section, key, def);
}

void IniFile::WriteString(std::string_view section, std::string_view key,
                          std::string_view value) {
    IniDocument doc = LoadForWrite();
    doc.Set(section, key, value);
    Replace(doc);
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, std::int32_t value) {
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

void IniFile::WriteStrings(const std::vector<IniEntry>& entries) {
    IniDocument doc = LoadForWrite();
    for (const IniEntry& e : entries) doc.Set(e.Section, e.Key, e.Value);
    Replace(doc);
}

}  // namespace platform
