// SPDX-License-Identifier: GPL-3.0-or-later
// Where the program's files live. A portable copy (the build folder, a copy in a folder the
// user may write) keeps everything beside the executable; an installed program, or one in
// a folder the user cannot write, reads its data files from the installation's shared data
// folder and keeps settings and notes in the user's XDG folders, named as Qt's
// QStandardPaths names them for the application "tolvane".
#pragma once

#include <filesystem>
#include <string>

namespace platform {

// The folder name inside the user's configuration and data folders; the window program
// gives Qt the same application name.
inline constexpr const char* AppFolderName = "tolvane";

// True when the running process may create and replace files in `folder`.
bool FolderWritable(const std::string& folder);

// The folder that holds PLANETS.NDX, PLANETS.DAT and Vivar01.TTF, with a final "/": the
// program folder when any of them lies there, else the installation's data folder
// (`../share/tolvane/` from the program folder) when that exists, else the program folder,
// so that a message about missing files names the folder the program was started from.
std::string DataFolder(const std::string& programFolder);
// The same for the running executable.
std::string DataFolder();

// True when the program in `programFolder` keeps its settings and notes beside itself: the
// folder is writable and no installation's data folder serves it.
bool PortableCopy(const std::string& programFolder);

// $XDG_CONFIG_HOME, or ~/.config when it is unset, empty or not an absolute path.
std::string ConfigHome();
// $XDG_DATA_HOME, or ~/.local/share when it is unset, empty or not an absolute path.
std::string DataHome();

// $XDG_STATE_HOME, or ~/.local/state when it is unset, empty or not an absolute path.
std::string StateHome();

// The settings file of the program at `programFile`: the program file's name with its
// extension replaced by ".INI", beside a portable copy, else in ConfigHome()/tolvane/.
std::filesystem::path SettingsFile(const std::string& programFile);
// The default notes file: the program file's name with ".RTF", beside a portable copy,
// else in DataHome()/tolvane/.
std::filesystem::path DefaultNotesFile(const std::string& programFile);

// The folder of the notes' recovery copies: beside the settings file of a portable copy (the
// program file's name with ".recovery"), else StateHome()/tolvane/.
std::filesystem::path RecoveryFolder(const std::string& programFile);

// Creates the folder that is to hold `file` when it is missing, as the XDG rules ask (mode
// 0700), so that the first save there can succeed. A failure is left to that save to report.
void PrepareFolderOf(const std::filesystem::path& file);

}  // namespace platform
