// SPDX-License-Identifier: GPL-3.0-or-later
// The data folder of a portable copy or an installation, the user's XDG folders, and the
// choice between the program folder and those for the settings and notes files.
#include "platform/locations.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>
#include <vector>

#include "platform/program_folder.h"

// Where the installation puts the data files, seen from the folder of the executables; the
// build passes the path that follows from its install folders.
#ifndef TOLVANE_DATA_FROM_BIN
#define TOLVANE_DATA_FROM_BIN "../share/tolvane"
#endif

namespace platform {

namespace fs = std::filesystem;

namespace {

std::string WithSeparator(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

bool Exists(const fs::path& path) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

// $HOME as Qt takes it; without it, the home folder the password database gives.
std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* entry = ::getpwuid(::geteuid()); entry && entry->pw_dir)
        return entry->pw_dir;
    return "/";
}

// A relative path in an XDG variable would move the files with the working folder; the
// XDG rules say to ignore it.
std::string XdgHome(const char* variable, const char* fallback) {
    if (const char* value = std::getenv(variable); value && value[0] == '/')
        return fs::path(value).lexically_normal().string();
    return (fs::path(HomeFolder()) / fallback).lexically_normal().string();
}

// `programFile`'s name with `extension`: beside a portable copy, else in `userHome`/tolvane/.
fs::path BesideOrInUserFolder(const std::string& programFile, const char* extension,
                              const std::string& userHome) {
    const fs::path program(programFile);
    const fs::path name = program.filename().replace_extension(extension);
    const fs::path folder = program.parent_path();
    if (PortableCopy(folder.string())) return folder / name;
    return fs::path(userHome) / AppFolderName / name;
}

}  // namespace

bool FolderWritable(const std::string& folder) {
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) return false;
    // The effective user decides, as it does for the save itself; a read-only file
    // system answers EROFS even for root.
    return ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

std::string DataFolder(const std::string& programFolder) {
    const std::string beside = WithSeparator(programFolder);
    for (const char* name : {"PLANETS.NDX", "PLANETS.DAT", "Vivar01.TTF"}) {
        if (Exists(fs::path(beside) / name)) return beside;
    }
    const fs::path shared = (fs::path(beside) / TOLVANE_DATA_FROM_BIN).lexically_normal();
    std::error_code ec;
    if (fs::is_directory(shared, ec)) return WithSeparator(shared.string());
    return beside;
}

std::string DataFolder() { return DataFolder(ProgramFolder()); }

bool PortableCopy(const std::string& programFolder) {
    // An installation stays clean even for a user who may write its folders (root): the
    // package owns what lies there, and nothing else should.
    return FolderWritable(programFolder) &&
           DataFolder(programFolder) == WithSeparator(programFolder);
}

std::string ConfigHome() { return XdgHome("XDG_CONFIG_HOME", ".config"); }

std::string DataHome() { return XdgHome("XDG_DATA_HOME", ".local/share"); }

std::string StateHome() { return XdgHome("XDG_STATE_HOME", ".local/state"); }

fs::path RecoveryFolder(const std::string& programFile) {
    const fs::path program(programFile);
    const fs::path folder = program.parent_path();
    if (PortableCopy(folder.string()))
        return folder / program.filename().replace_extension(".recovery");
    return fs::path(StateHome()) / AppFolderName;
}

fs::path SettingsFile(const std::string& programFile) {
    return BesideOrInUserFolder(programFile, ".INI", ConfigHome());
}

fs::path DefaultNotesFile(const std::string& programFile) {
    return BesideOrInUserFolder(programFile, ".RTF", DataHome());
}

void PrepareFolderOf(const fs::path& file) {
    std::vector<fs::path> missing;
    for (fs::path folder = file.parent_path(); !folder.empty() && !Exists(folder);
         folder = folder.parent_path()) {
        missing.push_back(folder);
        if (folder == folder.root_path()) break;
    }
    // Outermost first; a folder that cannot be made leaves the rest to fail at the save.
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        if (::mkdir(it->c_str(), 0700) != 0 && errno != EEXIST) return;
    }
}

}  // namespace platform
