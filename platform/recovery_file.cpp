// SPDX-License-Identifier: GPL-3.0-or-later
// Recovery copies on disk: naming, the header and the safe replacement of platform/safe_file.
#include "platform/recovery_file.h"

#include <cstdio>
#include <stdexcept>
#include <system_error>

#include "platform/locations.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view Magic = "tolvane recovery copy 1\n";
// A copy holds at most what the window holds; beyond a notes file's bound, as a pasted text
// may be, but not without end.
constexpr std::size_t MaxCopyBytes = std::size_t{256} << 20;

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

// FNV-1a, 64 bits: enough to tell the paths of one user's notes files apart; the copy names
// its file in full as well, and a copy naming another file is not taken.
std::uint64_t Hash(std::string_view text) {
    std::uint64_t h = 14695981039346656037ULL;
    for (const unsigned char c : text) {
        h ^= c;
        h *= 1099511628211ULL;
    }
    return h;
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

}  // namespace

std::string FullNotesPath(const fs::path& notesFile) {
    std::error_code ec;
    const fs::path full = fs::absolute(notesFile, ec);
    return (ec ? notesFile : full).lexically_normal().string();
}

fs::path RecoveryPath(const fs::path& folder, const fs::path& notesFile) {
    const std::string full = FullNotesPath(notesFile);
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(Hash(full)));
    return folder / (Shortened(fs::path(full).filename().string(), 100) + "-" + hash +
                     ".recovery");
}

std::string EncodeRecovery(const RecoveryRecord& record) {
    std::string out(Magic);
    out += "file=" + Escape(record.notesFile) + "\n";
    out += std::string("mode=") + (record.plainText ? "plain" : "rtf") + "\n";
    out += "read=" + std::to_string(record.notesStamp.exists ? 1 : 0) + " " +
           std::to_string(record.notesStamp.size) + " " +
           std::to_string(record.notesStamp.modifiedNs) + "\n\n";
    out.reserve(out.size() + record.text.size());
    out += record.text;
    return out;
}

std::optional<RecoveryRecord> DecodeRecovery(std::string bytes) {
    if (!bytes.starts_with(Magic)) return std::nullopt;
    RecoveryRecord record;
    bool haveFile = false, haveMode = false, haveRead = false;
    std::size_t at = Magic.size();
    for (;;) {
        const std::size_t end = bytes.find('\n', at);
        if (end == std::string::npos) return std::nullopt;
        const std::string_view line(bytes.data() + at, end - at);
        at = end + 1;
        if (line.empty()) break;
        if (line.starts_with("file=")) {
            auto name = Unescape(line.substr(5));
            if (!name || name->empty()) return std::nullopt;
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
        }  // other keys: from a later version, not needed here
    }
    if (!haveFile || !haveMode || !haveRead) return std::nullopt;
    bytes.erase(0, at);
    record.text = std::move(bytes);
    return record;
}

bool WriteRecovery(const fs::path& folder, const RecoveryRecord& record, std::string& error) {
    const fs::path path = RecoveryPath(folder, record.notesFile);
    PrepareFolderOf(path);
    ReplaceOptions options;
    options.ownerOnly = true;
    const ReplaceStatus status = ReplaceFile(path, EncodeRecovery(record), options).status;
    if (status == ReplaceStatus::Ok) return true;
    std::error_code ec;
    const char* reason = !fs::is_directory(folder, ec)            ? "kein Ordner"
                         : !FolderWritable(folder.string())        ? "Ordner schreibgeschützt"
                         : status == ReplaceStatus::NotRegular     ? "keine Datei"
                         : status == ReplaceStatus::WriteProtected ? "schreibgeschützt"
                                                                   : "Schreibfehler";
    error = path.string() + ": Wiederherstellungskopie nicht geschrieben (" + reason + ")";
    return false;
}

std::optional<FoundRecovery> ReadRecovery(const fs::path& folder, const fs::path& notesFile) {
    std::string bytes;
    const FileRead read = ReadRegularFile(RecoveryPath(folder, notesFile), MaxCopyBytes, bytes);
    if (read.status != ReadStatus::Ok) return std::nullopt;
    std::optional<RecoveryRecord> record = DecodeRecovery(std::move(bytes));
    if (!record || record->notesFile != FullNotesPath(notesFile)) return std::nullopt;
    return FoundRecovery{std::move(*record), read.stamp.modifiedNs};
}

void RemoveRecovery(const fs::path& folder, const fs::path& notesFile) {
    std::error_code ec;
    fs::remove(RecoveryPath(folder, notesFile), ec);
}

bool NotesFileChanged(const RecoveryRecord& record) {
    const FileStamp now = StampOf(record.notesFile);
    if (now.exists != record.notesStamp.exists) return true;
    return now.exists &&
           (now.size != record.notesStamp.size || now.modifiedNs != record.notesStamp.modifiedNs);
}

}  // namespace platform
