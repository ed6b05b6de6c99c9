// SPDX-License-Identifier: GPL-3.0-or-later
// The installation as a user meets it: cmake --install into a staging folder (DESTDIR), the
// installed bin/ made read-only, and the installed programs run from there by a user who
// cannot write it, with an empty home folder. tolvane-cli must calculate as the build's copy
// does; tolvane must save its settings through the end command into the user's
// configuration folder and write nothing beside itself.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/ini_file.h"
#include "support/temp_folder.h"
#include "support/unprivileged.h"

extern char** environ;

namespace fs = std::filesystem;
using testing_support::AsUnprivilegedUser;
using testing_support::TempFolder;

namespace {

const std::string AppId = TOLVANE_APP_ID;
const std::string Version = TOLVANE_VERSION;
// A date on which MoonSpeed 14 and 20 give different results.
const std::vector<std::string> DateArgs = {"--json", "01031996", "12"};

struct RunResult {
    std::string status;  // the exit status as a number, or what else happened
    std::string out, err;
};

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs `program` with `args` and exactly the environment `env`. Standard output, standard
// error and the exit status go to the files NAME.out, NAME.err and NAME.status in `scratch`,
// so that a run in the unprivileged child process can be read back by the test. A program
// still running after a minute is killed.
void Spawn(const std::string& name, const std::string& program,
           const std::vector<std::string>& args, const std::vector<std::string>& env,
           const fs::path& scratch) {
    const fs::path outFile = scratch / (name + ".out"), errFile = scratch / (name + ".err");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const std::string& e : env) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    pid_t child = 0;
    std::string status = "cannot start " + program;
    if (::posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), envp.data()) == 0) {
        int raw = 0;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
        status.clear();
        while (::waitpid(child, &raw, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                ::kill(child, SIGKILL);
                ::waitpid(child, &raw, 0);
                status = "timed out";
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        if (status.empty())
            status = WIFEXITED(raw) ? std::to_string(WEXITSTATUS(raw)) : "ended by a signal";
    }
    posix_spawn_file_actions_destroy(&actions);
    std::ofstream(scratch / (name + ".status")) << status;
}

// A run of Spawn, read back.
RunResult Result(const std::string& name, const fs::path& scratch) {
    RunResult r;
    r.status = ReadFile(scratch / (name + ".status"));
    r.out = ReadFile(scratch / (name + ".out"));
    r.err = ReadFile(scratch / (name + ".err"));
    return r;
}

// The variables a test run needs from its surroundings: sanitizer settings, so that a
// sanitizer build reports from the installed programs too.
std::vector<std::string> PassedThrough() {
    std::vector<std::string> env = {"PATH=/usr/bin:/bin", "LANG=C.UTF-8"};
    for (const char* name : {"UBSAN_OPTIONS", "LSAN_OPTIONS"}) {
        if (const char* v = std::getenv(name)) env.push_back(std::string(name) + "=" + v);
    }
    // The preloaded helper comes before the sanitizer runtime in the list of libraries.
    const char* asan = std::getenv("ASAN_OPTIONS");
    env.push_back(std::string("ASAN_OPTIONS=") + (asan ? std::string(asan) + ":" : "") +
                  "verify_asan_link_order=0");
    return env;
}

// Every file and folder under `root`, relative to it.
std::set<std::string> Tree(const fs::path& root) {
    std::set<std::string> names;
    for (const auto& e : fs::recursive_directory_iterator(root))
        names.insert(fs::relative(e.path(), root).string());
    return names;
}

}  // namespace

class StagingInstall : public ::testing::Test {
protected:
    void SetUp() override {
        std::vector<std::string> env = PassedThrough();
        env.push_back("DESTDIR=" + staging_.Path().string());
        scratch_ = staging_.Path() / "scratch";
        fs::create_directory(scratch_);
        Spawn("install", TOLVANE_CMAKE, {"--install", TOLVANE_BUILD_DIR, "--prefix", "/usr"}, env,
              scratch_);
        const RunResult r = Result("install", scratch_);
        ASSERT_EQ(r.status, "0") << r.out << r.err;
    }

    fs::path Usr(const std::string& relative) const { return staging_.Path() / "usr" / relative; }

    TempFolder staging_;
    fs::path scratch_;
};

TEST_F(StagingInstall, PutsEveryFileInItsPlace) {
    const std::set<std::string> expected = {
        "bin",
        "bin/tolvane",
        "bin/tolvane-cli",
        "share",
        "share/applications",
        "share/applications/" + AppId + ".desktop",
        "share/doc",
        "share/doc/tolvane",
        "share/doc/tolvane/Vivar01.LICENSE.txt",
        "share/doc/tolvane/changelog.gz",
        "share/doc/tolvane/copyright",
        "share/icons",
        "share/icons/hicolor",
        "share/icons/hicolor/scalable",
        "share/icons/hicolor/scalable/apps",
        "share/icons/hicolor/scalable/apps/tolvane.svg",
        "share/man",
        "share/man/man1",
        "share/man/man1/tolvane-cli.1.gz",
        "share/man/man1/tolvane.1.gz",
        "share/metainfo",
        "share/metainfo/" + AppId + ".metainfo.xml",
        "share/tolvane",
        "share/tolvane/PLANETS.DAT",
        "share/tolvane/PLANETS.NDX",
        "share/tolvane/Vivar01.TTF",
    };
    // Nothing more: no test program, tool or benchmark lands in the installation.
    EXPECT_EQ(Tree(Usr("")), expected);
    // The installed data files are the ones the build made.
    for (const char* name : {"PLANETS.NDX", "PLANETS.DAT", "Vivar01.TTF"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(ReadFile(Usr(std::string("share/tolvane/") + name)),
                  ReadFile(fs::path(TOLVANE_BIN_DIR) / name));
    }
    const auto perms = fs::status(Usr("bin/tolvane")).permissions();
    EXPECT_NE(perms & fs::perms::others_exec, fs::perms::none);
}

TEST_F(StagingInstall, InstalledProgramsRunFromAReadOnlyFolderWithUserSettings) {
    const std::string cli = Usr("bin/tolvane-cli").string(), gui = Usr("bin/tolvane").string();
    Spawn("reference", TOLVANE_BIN_DIR "/tolvane-cli", DateArgs, PassedThrough(), scratch_);
    const RunResult reference = Result("reference", scratch_);
    ASSERT_EQ(reference.status, "0") << reference.err;
    std::vector<std::string> speed20 = {"--moonspeed", "20"};
    speed20.insert(speed20.end(), DateArgs.begin(), DateArgs.end());
    Spawn("reference20", TOLVANE_BIN_DIR "/tolvane-cli", speed20, PassedThrough(), scratch_);
    const RunResult reference20 = Result("reference20", scratch_);
    ASSERT_NE(reference.out, reference20.out);

    // The helper that chooses the end command, where the unprivileged user can read it.
    const fs::path preload = staging_.Path() / "preload" / "end_command_preload.so";
    fs::create_directory(preload.parent_path());
    fs::copy_file(END_COMMAND_PRELOAD, preload);
    const fs::path home = staging_.Path() / "home", run = staging_.Path() / "run";
    fs::create_directory(home);
    fs::create_directory(run);
    fs::permissions(run, fs::perms::owner_all);
    const fs::path config = home / "config", data = home / "data";
    fs::permissions(Usr("bin"), fs::perms::owner_read | fs::perms::owner_exec |
                                    fs::perms::group_read | fs::perms::group_exec |
                                    fs::perms::others_read | fs::perms::others_exec);
    const std::set<std::string> installed = Tree(Usr(""));

    std::vector<std::string> env = PassedThrough();
    env.insert(env.end(), {"HOME=" + home.string(), "XDG_CONFIG_HOME=" + config.string(),
                           "XDG_DATA_HOME=" + data.string(), "XDG_RUNTIME_DIR=" + run.string(),
                           "QT_QPA_PLATFORM=offscreen"});
    std::vector<std::string> guiEnv = env;
    guiEnv.push_back("LD_PRELOAD=" + preload.string());

    const std::string failure = AsUnprivilegedUser(staging_.Path(), [&]() -> std::string {
        if (::access(Usr("bin").c_str(), W_OK) == 0) return "bin/ is writable";
        Spawn("cli", cli, DateArgs, env, scratch_);
        Spawn("cliVersion", cli, {"--version"}, env, scratch_);
        Spawn("guiVersion", gui, {"--version"}, env, scratch_);
        Spawn("gui", gui, {"01031996", "12"}, guiEnv, scratch_);
        // The command-line program reads the settings file the window saved.
        platform::IniFile settings(config / "tolvane" / "tolvane.INI");
        try {
            settings.WriteInteger("Parameter", "MoonSpeed", 20);
        } catch (const std::exception& e) {
            return e.what();
        }
        Spawn("cliAfterSave", cli, DateArgs, env, scratch_);
        return "";
    });
    ASSERT_EQ(failure, "");
    const RunResult cliRun = Result("cli", scratch_), guiRun = Result("gui", scratch_);
    const RunResult cliAfterSave = Result("cliAfterSave", scratch_);

    EXPECT_EQ(cliRun.status, "0") << cliRun.err;
    EXPECT_EQ(cliRun.out, reference.out);
    EXPECT_EQ(Result("cliVersion", scratch_).out, "tolvane-cli " + Version + "\n");
    EXPECT_EQ(Result("guiVersion", scratch_).out, "tolvane " + Version + "\n");
    EXPECT_EQ(guiRun.status, "0") << guiRun.err;

    // Saved where the user's configuration lives, with the values of a first run whose
    // first activation took place (the clock interval of the settings, not the design's).
    const platform::IniFile saved(config / "tolvane" / "tolvane.INI");
    ASSERT_TRUE(fs::exists(saved.Path())) << guiRun.err;
    EXPECT_EQ(saved.ReadString("Parameter", "TimerInterval", ""), "60000");
    EXPECT_EQ(saved.ReadString("Main", "Left", ""), "0");
    EXPECT_EQ(cliAfterSave.out, reference20.out) << cliAfterSave.err;
    // The notes go to the user's data folder, which is ready for them.
    EXPECT_TRUE(fs::is_directory(data / "tolvane"));
    // Nothing beside the programs, nothing anywhere in the installation.
    EXPECT_EQ(Tree(Usr("")), installed);
}
