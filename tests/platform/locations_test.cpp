// SPDX-License-Identifier: GPL-3.0-or-later
// Where the programs find their data files and keep settings and notes: beside a portable
// copy, or in the installation's data folder and the user's XDG folders.
#include "platform/locations.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "support/environment.h"
#include "support/temp_folder.h"
#include "support/unprivileged.h"

namespace fs = std::filesystem;
using testing_support::AsUnprivilegedUser;
using testing_support::ScopedEnv;
using testing_support::TempFolder;

namespace {

void Touch(const fs::path& file) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << "x";
}

}  // namespace

// The folder layout of a portable copy, an installation and broken copies of either.
TEST(Locations, DataFolderBesideTheProgramOrInTheInstallation) {
    struct Case {
        const char* name;
        std::vector<const char*> files;  // relative to the prefix; the program is in bin/
        const char* expected;            // relative to the prefix
    };
    const Case cases[] = {
        {"portable copy", {"bin/PLANETS.NDX", "bin/PLANETS.DAT", "bin/Vivar01.TTF"}, "bin/"},
        {"installed", {"share/tolvane/PLANETS.NDX", "share/tolvane/PLANETS.DAT"},
         "share/tolvane/"},
        // One data file beside the program makes it a portable copy, so that the message
        // about the missing term files names the folder the user put it in.
        {"portable without term files", {"bin/Vivar01.TTF", "share/tolvane/PLANETS.NDX"},
         "bin/"},
        {"portable, half the term files", {"bin/PLANETS.NDX", "share/tolvane/PLANETS.DAT"},
         "bin/"},
        {"installed, data folder empty", {"share/tolvane/"}, "share/tolvane/"},
        {"nothing anywhere", {}, "bin/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TempFolder prefix;
        fs::create_directories(prefix.Path() / "bin");
        for (const char* f : c.files) {
            const fs::path p = prefix.Path() / f;
            if (std::string(f).back() == '/') fs::create_directories(p);
            else Touch(p);
        }
        EXPECT_EQ(platform::DataFolder(prefix.Folder() + "bin/"), prefix.Folder() + c.expected);
        // The folder may be given without its final separator.
        EXPECT_EQ(platform::DataFolder(prefix.Folder() + "bin"), prefix.Folder() + c.expected);
    }
}

// The XDG rules: the variable when it holds an absolute path, else the folder under HOME.
TEST(Locations, UserFoldersFollowTheXdgRules) {
    struct Case {
        std::optional<std::string> config, data;
        std::string expectedConfig, expectedData;
    };
    const Case cases[] = {
        {std::nullopt, std::nullopt, "/home/anna/.config", "/home/anna/.local/share"},
        {"/srv/cfg", "/srv/data", "/srv/cfg", "/srv/data"},
        {"/srv/cfg/", "/srv//data/", "/srv/cfg/", "/srv/data/"},
        {"", "", "/home/anna/.config", "/home/anna/.local/share"},
        // A relative path would move the files with the working folder.
        {"cfg", "./data", "/home/anna/.config", "/home/anna/.local/share"},
    };
    const ScopedEnv home("HOME", "/home/anna");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.config.value_or("(unset)") + " " + c.data.value_or("(unset)"));
        const ScopedEnv config("XDG_CONFIG_HOME", c.config);
        const ScopedEnv data("XDG_DATA_HOME", c.data);
        EXPECT_EQ(platform::ConfigHome(), c.expectedConfig);
        EXPECT_EQ(platform::DataHome(), c.expectedData);
    }
    const ScopedEnv state("XDG_STATE_HOME", std::nullopt);
    EXPECT_EQ(platform::StateHome(), "/home/anna/.local/state");
}

// Without HOME the password database knows the user's home folder.
TEST(Locations, UserFoldersWithoutHome) {
    const passwd* entry = ::getpwuid(::geteuid());
    ASSERT_NE(entry, nullptr);
    const ScopedEnv home("HOME", std::nullopt);
    const ScopedEnv config("XDG_CONFIG_HOME", std::nullopt);
    EXPECT_EQ(platform::ConfigHome(), (fs::path(entry->pw_dir) / ".config").string());
}

// A program in a folder it may write keeps its files beside itself, as it always did.
TEST(Locations, WritableProgramFolderKeepsSettingsAndNotesBesideTheProgram) {
    const TempFolder folder;
    const ScopedEnv config("XDG_CONFIG_HOME", "/nowhere/config");
    const std::string program = (folder.Path() / "tolvane").string();
    EXPECT_EQ(platform::SettingsFile(program), folder.Path() / "tolvane.INI");
    EXPECT_EQ(platform::DefaultNotesFile(program), folder.Path() / "tolvane.RTF");
    EXPECT_EQ(platform::RecoveryFolder(program), folder.Path() / "tolvane.recovery");
    // The program file's own name decides, its extension replaced.
    EXPECT_EQ(platform::SettingsFile((folder.Path() / "rechner.bin").string()),
              folder.Path() / "rechner.INI");
    EXPECT_EQ(platform::DefaultNotesFile((folder.Path() / "a.b.c").string()),
              folder.Path() / "a.b.RTF");
}

// A program folder the user cannot write (an installation) sends settings and notes to the
// user's folders. Root writes through permissions, so this runs as an unprivileged user.
TEST(Locations, ReadOnlyProgramFolderSendsSettingsAndNotesToTheUsersFolders) {
    const TempFolder root;
    const fs::path bin = root.Path() / "bin";
    fs::create_directories(bin);
    fs::permissions(bin, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                             fs::perms::group_exec | fs::perms::others_read |
                             fs::perms::others_exec);
    const ScopedEnv config("XDG_CONFIG_HOME", "/u/config");
    const ScopedEnv data("XDG_DATA_HOME", "/u/data");
    const std::string program = (bin / "tolvane").string();
    const std::string failure = AsUnprivilegedUser(root.Path(), [&]() -> std::string {
        if (platform::FolderWritable(bin.string())) return "bin/ counts as writable";
        if (!platform::FolderWritable(root.Folder())) return "the writable folder does not count";
        if (platform::SettingsFile(program) != "/u/config/tolvane/tolvane.INI")
            return "settings: " + platform::SettingsFile(program).string();
        if (platform::DefaultNotesFile(program) != "/u/data/tolvane/tolvane.RTF")
            return "notes: " + platform::DefaultNotesFile(program).string();
        return "";
    });
    EXPECT_EQ(failure, "");
}

// An installation stays clean even for a user who may write its folders, such as root: the
// settings of such a run go to that user's folders too.
TEST(Locations, InstalledProgramInAWritableFolderUsesTheUsersFolders) {
    const TempFolder prefix;
    fs::create_directories(prefix.Path() / "bin");
    Touch(prefix.Path() / "share" / "tolvane" / "PLANETS.NDX");
    const ScopedEnv config("XDG_CONFIG_HOME", "/u/config");
    const ScopedEnv data("XDG_DATA_HOME", "/u/data");
    const ScopedEnv state("XDG_STATE_HOME", "/u/state");
    const std::string program = (prefix.Path() / "bin" / "tolvane").string();
    ASSERT_TRUE(platform::FolderWritable(prefix.Folder() + "bin"));
    EXPECT_FALSE(platform::PortableCopy(prefix.Folder() + "bin"));
    EXPECT_EQ(platform::SettingsFile(program), "/u/config/tolvane/tolvane.INI");
    EXPECT_EQ(platform::DefaultNotesFile(program), "/u/data/tolvane/tolvane.RTF");
    EXPECT_EQ(platform::RecoveryFolder(program), "/u/state/tolvane");
    // A data file beside the program makes it a portable copy again.
    Touch(prefix.Path() / "bin" / "PLANETS.NDX");
    EXPECT_TRUE(platform::PortableCopy(prefix.Folder() + "bin"));
    EXPECT_EQ(platform::SettingsFile(program), prefix.Path() / "bin" / "tolvane.INI");
}

TEST(Locations, FolderWritableOnlyForFolders) {
    const TempFolder folder;
    folder.Write("file", "x");
    EXPECT_TRUE(platform::FolderWritable(folder.Folder()));
    EXPECT_FALSE(platform::FolderWritable((folder.Path() / "file").string()));
    EXPECT_FALSE(platform::FolderWritable((folder.Path() / "missing").string()));
}

// The user's folders are made on the way to the first save, private to the user; folders
// that exist keep their permissions.
TEST(Locations, PrepareFolderOfMakesMissingFoldersPrivate) {
    const TempFolder folder;
    const fs::path existing = folder.Path() / "home";
    fs::create_directory(existing);
    fs::permissions(existing, fs::perms::owner_all | fs::perms::group_read |
                                  fs::perms::group_exec);
    const fs::path file = existing / ".config" / "tolvane" / "tolvane.INI";
    platform::PrepareFolderOf(file);
    for (const fs::path& made : {existing / ".config", existing / ".config" / "tolvane"}) {
        SCOPED_TRACE(made.string());
        ASSERT_TRUE(fs::is_directory(made));
        EXPECT_EQ(fs::status(made).permissions() & fs::perms::all, fs::perms::owner_all);
    }
    EXPECT_EQ(fs::status(existing).permissions() & fs::perms::all,
              fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
    EXPECT_FALSE(fs::exists(file));
    platform::PrepareFolderOf(file);  // a second time changes nothing
    EXPECT_TRUE(fs::is_directory(file.parent_path()));
}
