// SPDX-License-Identifier: GPL-3.0-or-later
// Extensions and backup names of notes files.
#include "editor/notes_file_names.h"

namespace editor {

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

}  // namespace editor
