// SPDX-License-Identifier: GPL-3.0-or-later
// INI parsing and editing on the file's own bytes, and the locked read, change and atomic
// replacement of the file.
#include "platform/ini_file.h"

#include <algorithm>

#include "platform/cp1252.h"
#include "platform/int_text.h"
#include "platform/safe_file.h"

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

// A value's bytes in the file: Windows-1252, but UTF-8 where that is what reads back (a
// file name like "Ωmega.txt" that Windows-1252 cannot hold would otherwise come back as
// "?mega.txt" and name another file).
bool IsAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Well-formed UTF-8 with a byte above 0x7F is taken as UTF-8 (a Windows-1252 text hardly
// ever is); anything else as Windows-1252.
std::string DecodeValue(std::string_view bytes) {
    if (!IsAscii(bytes) && IsWellFormedUtf8(bytes)) return std::string(bytes);
    return Cp1252ToUtf8(bytes);
}

std::string EncodeValue(std::string_view text) {
    std::string bytes = Utf8ToCp1252(text);
    if (DecodeValue(bytes) != text && IsWellFormedUtf8(text)) return std::string(text);
    return bytes;
}

// The first `count` characters of a UTF-8 text.
std::string FirstCharacters(std::string text, std::size_t count) {
    std::size_t seen = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
        if (seen++ == count) {
            text.resize(i);
            break;
        }
    }
    return text;
}

// The query names are UTF-8; the file's names are Windows-1252.
std::string FileName(std::string_view name) { return Utf8ToCp1252(TrimBlanks(name)); }

void RejectLineBreaks(std::string_view text) {
    if (text.find_first_of("\r\n") != std::string_view::npos) {
        throw std::invalid_argument("Line break in a setting: " + std::string(text));
    }
}

}  // namespace

IniDocument IniDocument::Parse(std::string_view bytes) {
    IniDocument doc;
    // An editor may put a UTF-8 byte order mark before the first section; it is no part of
    // that section's name, and a write keeps it.
    constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
    if (bytes.starts_with(ByteOrderMark)) {
        bytes.remove_prefix(ByteOrderMark.size());
        doc.byteOrderMark_ = true;
    }
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
    return FirstCharacters(DecodeValue(value), MaxValueLength);
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
    const std::string keyLine = FileName(key) + "=" + EncodeValue(value);
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
    std::string out = byteOrderMark_ ? "\xEF\xBB\xBF" : "";
    for (const std::string& line : lines_) {
        out += line;
        out += "\r\n";
    }
    return out;
}

IniFile::IniFile(std::filesystem::path path) : path_(std::move(path)) {}

IniDocument IniFile::Load() const {
    std::string bytes;
    // Like Windows, a file that cannot be read yields the defaults; so does anything that
    // is no regular file or is far larger than any settings file.
    if (ReadRegularFile(path_, MaxFileSize, bytes).status != ReadStatus::Ok) bytes.clear();
    return IniDocument::Parse(bytes);
}

void IniFile::Modify(const std::function<void(IniDocument&)>& change) {
    // The file is read and replaced under the folder lock, so that another program saving
    // at the same time waits and neither loses the other's keys.
    const ReplaceResult result = ReplaceFile(path_, [&](const std::filesystem::path& real,
                                                        std::string& out) {
        std::string bytes;
        const ReadStatus read = ReadRegularFile(real, MaxFileSize, bytes).status;
        // Writing over a file we could not read would lose its other settings.
        if (read != ReadStatus::Ok && read != ReadStatus::Missing) return false;
        IniDocument doc = IniDocument::Parse(bytes);
        change(doc);
        out = doc.Serialize();
        // A file beyond the bound would read as no settings at all next time.
        return out.size() <= MaxFileSize;
    });
    if (result.status != ReplaceStatus::Ok) throw IniWriteError(path_);
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
    Modify([&](IniDocument& doc) { doc.Set(section, key, value); });
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, std::int32_t value) {
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

void IniFile::WriteStrings(const std::vector<IniEntry>& entries) {
    Modify([&](IniDocument& doc) {
        for (const IniEntry& e : entries) doc.Set(e.Section, e.Key, e.Value);
    });
}

}  // namespace platform
