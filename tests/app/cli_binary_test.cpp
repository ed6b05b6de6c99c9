// SPDX-License-Identifier: GPL-3.0-or-later
// The real tolvane-cli binary: the acceptance sample, and the files it finds (or misses)
// beside itself.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>

#include <nlohmann/json.hpp>

#include "cli_test_support.h"
#include "cycle/names.h"

using clitest::RunProcess;
using clitest::RunResult;
using clitest::TempFolder;
namespace fs = std::filesystem;

namespace {

const std::string Cli = TOLVANE_CLI_PATH;

// The line with its solsticeJD number cut out into `jd`; the rest must match exactly.
std::string WithoutSolsticeJD(const std::string& line, double& jd) {
    static const std::regex number(R"re("solsticeJD":([-+0-9.eE]+),)re");
    std::smatch m;
    if (!std::regex_search(line, m, number)) return line;
    jd = std::stod(m[1].str());
    return m.prefix().str() + R"("solsticeJD":"X",)" + m.suffix().str();
}

// The line without the characters beside the stem and branch indices, each checked against
// the glyph letter of its field in "texts" on the way.
std::string WithoutCharacters(const std::string& line) {
    const auto object = nlohmann::json::parse(line);
    const auto& texts = object["texts"];
    const std::pair<const char*, char> rows[] = {{"hour", 'S'}, {"day", 'T'}, {"month", 'M'},
                                                 {"year", 'J'}};
    for (const auto& [key, row] : rows) {
        const auto& pillar = object[key];
        const std::string branch = texts["Branch" + std::string(1, row) + "Edit"];
        EXPECT_EQ(pillar["branchChar"], cycle::CharacterOfLetter(branch)) << key;
        if (row != 'S') {
            const std::string stem = texts["Stem" + std::string(1, row) + "Edit"];
            EXPECT_EQ(pillar["stemChar"], cycle::CharacterOfLetter(stem)) << key;
        }
    }
    static const std::regex characters(R"re(,"(stem|branch)Char":"[^"]+")re");
    return std::regex_replace(line, characters, "");
}

// A folder holding a copy of tolvane-cli and, if asked, of the term files.
void CopyProgram(const TempFolder& folder, bool withTermFiles) {
    const fs::path bin = fs::path(Cli).parent_path();
    fs::copy_file(Cli, folder.Path() / "tolvane-cli");
    if (!withTermFiles) return;
    fs::copy_file(bin / "PLANETS.NDX", folder.Path() / "PLANETS.NDX");
    fs::copy_file(bin / "PLANETS.DAT", folder.Path() / "PLANETS.DAT");
}

}  // namespace

TEST(CliBinary, AcceptanceSample) {
    std::ifstream sample(CLI_SAMPLE_PATH);
    ASSERT_TRUE(sample) << CLI_SAMPLE_PATH;
    int cases = 0;
    for (std::string line; std::getline(sample, line);) {
        if (line.empty()) continue;
        const auto c = nlohmann::ordered_json::parse(line);
        const auto args = c["args"].get<std::vector<std::string>>();
        SCOPED_TRACE(args.at(0) + " " + args.at(1));
        ++cases;
        const std::string speed = std::to_string(c["moonspeed"].get<int>());
        const RunResult r = RunProcess(Cli, {"--moonspeed", speed, "--json", args[0], args[1]});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, "");
        // Key order, compactness, integers and texts: the whole line but one number.
        auto expected = c["expected"];
        const double expectedJD = expected["solsticeJD"].get<double>();
        expected["solsticeJD"] = "X";
        double jd = 0.0;
        // The characters are all that the JSON gained since the sample was taken.
        EXPECT_EQ(WithoutSolsticeJD(WithoutCharacters(r.out), jd), expected.dump() + "\n");
        EXPECT_NEAR(jd, expectedJD, 1e-9);
    }
    EXPECT_EQ(cases, 16);
}

TEST(CliBinary, MissingTermFiles) {
    const TempFolder folder;
    CopyProgram(folder, false);
    const RunResult r = RunProcess((folder.Path() / "tolvane-cli").string(), {"24031998", "14"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, folder.Folder() + "PLANETS.NDX und .DAT nicht gefunden !\n");
    EXPECT_EQ(r.out, "");
}

TEST(CliBinary, MoonSpeedFromTheSettingsFile) {
    // In 1996 MoonSpeed 20 finds the year start a month earlier than 14 does.
    const std::vector<std::string> date = {"--json", "01031996", "12"};
    auto withSpeed = [&](const std::string& speed) {
        std::vector<std::string> args = {"--moonspeed", speed};
        args.insert(args.end(), date.begin(), date.end());
        return clitest::RunInProcess(args).out;
    };
    const std::string speed14 = withSpeed("14"), speed20 = withSpeed("20");
    ASSERT_NE(speed14, speed20);

    const TempFolder folder;
    CopyProgram(folder, true);
    const std::string program = (folder.Path() / "tolvane-cli").string();
    struct Case {
        std::string ini;  // empty: no settings file
        std::string expected;
    };
    const Case cases[] = {
        {"", speed14},
        {"[Parameter]\r\nMoonSpeed=20\r\n", speed20},
        {"[Parameter]\r\nMoonSpeed=300\r\n", speed14},  // out of range reads as the default
        {"[Parameter]\r\nMoonSpeed=-1\r\n", speed14},
        {"[Parameter]\r\nMoonSpeed=0\r\n", speed14},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ini);
        fs::remove(folder.Path() / "tolvane.INI");
        if (!c.ini.empty()) folder.Write("tolvane.INI", c.ini);
        const RunResult r = RunProcess(program, date);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, c.expected);
    }
    // An explicit --moonspeed wins over the file.
    folder.Write("tolvane.INI", "[Parameter]\r\nMoonSpeed=20\r\n");
    std::vector<std::string> args = {"--moonspeed", "14"};
    args.insert(args.end(), date.begin(), date.end());
    EXPECT_EQ(RunProcess(program, args).out, speed14);
}

// Output that cannot be written is reported with status 1; a reader that stops reading
// ends the program quietly through SIGPIPE, even when the caller ignored SIGPIPE.
TEST(CliBinary, LostOutputIsReportedAndAStoppedReaderIsQuiet) {
    const TempFolder folder;
    const std::string cli = "'" + Cli + "'";
    const std::string errFile = (folder.Path() / "stderr").string();
    const std::string outFile = (folder.Path() / "out").string();
    const std::string range = " --from 01012000 --to 31122029";
    struct Case {
        const char* name;
        std::string command;  // stdout is its own; stderr goes to errFile
        std::string status;   // of tolvane-cli
        std::string message;  // on stderr; "" for none
    };
    const std::string lost = "Die Ausgabe ließ sich nicht schreiben: ";
    const Case cases[] = {
        {"full disk", cli + " 24031998 14 >/dev/full", "1", lost + "No space left on device\n"},
        {"full disk, help", cli + " --help >/dev/full", "1", lost + "No space left on device\n"},
        {"closed output", cli + " 24031998 14 >&-", "1", lost + "Bad file descriptor\n"},
        {"size limit mid-range", "ulimit -f 1; " + cli + range + " >'" + outFile + "'", "1",
         lost + "File too large\n"},
        {"head", cli + range + " | head -n 2 >/dev/null", "141", ""},
        {"head, SIGPIPE ignored", "trap '' PIPE; " + cli + range + " | head -n 2 >/dev/null",
         "141", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string script =
            "exec 2>'" + errFile + "'; " + c.command + "; echo ${PIPESTATUS[0]}";
        const RunResult r = RunProcess("/bin/bash", {"-c", script});
        EXPECT_EQ(r.out, c.status + "\n");
        EXPECT_EQ(clitest::ReadAll(errFile), c.message);
    }
    // The size limit stopped the range where the limit lies (1024 bytes), mid-line.
    EXPECT_EQ(fs::file_size(outFile), 1024u);
}

// What lies beside the program under the names it reads may be anything: the program
// neither hangs nor reads without end, and says what is wrong.
TEST(CliBinary, OddFilesBesideTheProgram) {
    const std::string date = "24031998";
    const RunResult normal = clitest::RunInProcess({date, "14"});
    ASSERT_EQ(normal.status, 0);
    struct Case {
        const char* name;
        const char* file;
        std::function<void(const fs::path&)> make;
        int status;
        std::string err;  // after the program folder, where it starts with "/"
    };
    const auto fifo = [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); };
    const auto zero = [](const fs::path& p) { fs::create_symlink("/dev/zero", p); };
    const auto folder = [](const fs::path& p) { fs::create_directory(p); };
    const auto bom = [](const fs::path& p) {
        std::ofstream(p, std::ios::binary) << "\xEF\xBB\xBF[Parameter]\r\nMoonSpeed=14\r\n";
    };
    const Case cases[] = {
        {"settings file is a FIFO", "tolvane.INI", fifo, 0, ""},
        {"settings file is /dev/zero", "tolvane.INI", zero, 0, ""},
        {"settings file with a byte order mark", "tolvane.INI", bom, 0, ""},
        {"index file is a FIFO", "PLANETS.NDX", fifo, 1, "/PLANETS.NDX und .DAT nicht gefunden !\n"},
        {"term file is /dev/zero", "PLANETS.DAT", zero, 1, "/PLANETS.NDX und .DAT nicht gefunden !\n"},
        {"term file is a folder", "PLANETS.DAT", folder, 1, "File is a folder\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TempFolder dir;
        CopyProgram(dir, true);
        fs::remove(dir.Path() / c.file);
        c.make(dir.Path() / c.file);
        // A hang would end after 60 s with the status of timeout, 124.
        const RunResult r =
            RunProcess("timeout", {"60", (dir.Path() / "tolvane-cli").string(), date, "14"});
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.err, c.err.starts_with("/") ? dir.Path().string() + c.err : c.err);
        if (c.status == 0) {
            EXPECT_EQ(r.out, normal.out);
        }
    }
}
