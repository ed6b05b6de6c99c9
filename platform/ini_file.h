// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file: a Windows-style INI file read and written with the rules of the Windows
// private-profile routines, so files written by either side read the same.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// A write that could not replace the file; the text is what the window shows.
class IniWriteError : public std::runtime_error {
public:
    explicit IniWriteError(const std::filesystem::path& path)
        : std::runtime_error("Unable to write to " + path.string()) {}
};

// One key of a batch write.
struct IniEntry {
    std::string Section;
    std::string Key;
    std::string Value;
};

// The lines of an INI file as they stand in it (Windows-1252, line ends removed). Names and
// values cross the interface in UTF-8. A value Windows-1252 cannot hold is written in UTF-8,
// and a value that is well-formed UTF-8 with a byte above 0x7F reads as UTF-8, so every
// value written reads back as it was. Lines it does not change are kept byte for byte.
class IniDocument {
public:
    // The longest value a read returns; longer ones are cut, as Windows does.
    static constexpr std::size_t MaxValueLength = 2047;

    IniDocument() = default;
    // Splits file bytes at LF and at CR LF, after a UTF-8 byte order mark if there is one.
    static IniDocument Parse(std::string_view bytes);

    // The value of the first matching key in the first matching section: blanks around it
    // trimmed, one pair of enclosing quotes removed, cut to MaxValueLength characters.
    std::optional<std::string> Find(std::string_view section, std::string_view key) const;

    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view def) const;
    // The value converted by TryStrToInt; `def` when missing or not a number.
    std::int32_t ReadInteger(std::string_view section, std::string_view key,
                             std::int32_t def) const;
    // Non-zero is true.
    bool ReadBool(std::string_view section, std::string_view key, bool def) const;

    // Replaces the key's line in place, or adds "key=value" after the section's last
    // non-blank line, or adds the section with the key at the end. Raises
    // std::invalid_argument for a line break in a name or value.
    void Set(std::string_view section, std::string_view key, std::string_view value);

    // The file bytes, every line ended by CR LF, with the byte order mark the file had.
    std::string Serialize() const;

    const std::vector<std::string>& Lines() const { return lines_; }

private:
    std::vector<std::string> lines_;
    bool byteOrderMark_ = false;

    std::optional<std::size_t> FindSection(std::string_view name) const;
    std::size_t SectionEnd(std::size_t header) const;
    std::optional<std::size_t> FindKey(std::size_t header, std::string_view name) const;
};

// The settings file at one path. Every read loads the file afresh, so changes by another
// instance are seen; Load() gives a snapshot for a batch of reads. Every write loads the
// file, changes it and replaces it in one atomic step, under a lock that makes concurrent
// writers take turns. A file that is missing or cannot be read reads as empty; so does
// anything that is not a regular file or is longer than MaxFileSize, and writes leave such
// a file alone; nor does a write make a file longer than that.
class IniFile {
public:
    // No real settings file comes near this; reading stops here.
    static constexpr std::size_t MaxFileSize = 1 << 20;

    explicit IniFile(std::filesystem::path path);

    const std::filesystem::path& Path() const { return path_; }
    IniDocument Load() const;

    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view def) const;
    std::int32_t ReadInteger(std::string_view section, std::string_view key,
                             std::int32_t def) const;
    bool ReadBool(std::string_view section, std::string_view key, bool def) const;

    // Each raises IniWriteError when the file cannot be replaced; the file is then unchanged.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, std::int32_t value);
    void WriteBool(std::string_view section, std::string_view key, bool value);
    // All entries in order, in one replacement of the file.
    void WriteStrings(const std::vector<IniEntry>& entries);

private:
    std::filesystem::path path_;

    // Reads the file, applies `change` and replaces the file, all under the folder lock.
    void Modify(const std::function<void(IniDocument&)>& change);
};

}  // namespace platform
