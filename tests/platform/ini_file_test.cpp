// SPDX-License-Identifier: GPL-3.0-or-later
// Tests of the settings file: reading by the Windows rules, edits that keep every other line,
// the Windows-1252 encoding and failed writes that leave the file as it was.
#include "platform/ini_file.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>

#include "support/temp_folder.h"
#include "support/unprivileged.h"

namespace fs = std::filesystem;
using platform::IniFile;
using platform::IniWriteError;

namespace {

class IniFileTest : public ::testing::Test {
protected:
    const testing_support::TempFolder folder_;

    void WriteRaw(const std::string& bytes) const {
        std::ofstream(path_, std::ios::binary) << bytes;
    }
    std::string ReadRaw() const {
        std::ifstream in(path_, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::size_t FilesInDir() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
    }

    const fs::path dir_ = folder_.Path();
    const fs::path path_ = dir_ / "tolvane.ini";
};

TEST_F(IniFileTest, MissingFileOrFolderGivesDefaults) {
    for (const fs::path& p : {path_, dir_ / "no" / "such.ini"}) {
        const IniFile ini(p);
        EXPECT_EQ(ini.ReadString("Main", "Name", "Vorgabe"), "Vorgabe");
        EXPECT_EQ(ini.ReadInteger("Main", "Count", -7), -7);
        EXPECT_TRUE(ini.ReadBool("Main", "Flag", true));
        EXPECT_FALSE(ini.ReadBool("Main", "Flag", false));
    }
    // A folder where the file should be reads as empty too.
    fs::create_directory(path_);
    EXPECT_EQ(IniFile(path_).ReadString("Main", "Name", "d"), "d");
}

// One file exercising the reading rules; every line is meant for one of the cases below.
const char* const kSample =
    "; comment=ignored\n"
    "orphan=before any section\n"
    "[Main]\n"
    "  Name =  Anna  \n"
    "name=second\n"
    "Quoted=\"  spaced  \"\n"
    "Single='x'\n"
    "Mixed=\"x'\n"
    "Lone=\"\n"
    "Twice=\"\"a\"\"\n"
    "Empty=\n"
    "Eq=a=b\n"
    ";Hidden=1\n"
    "NoEquals\n"
    "\tTabbed\t=\tt\t\n"
    "  [ Other ]  \n"
    "Hex1=0x1F\n"
    "Hex2=$1f\n"
    "Bad=12a\n"
    "Neg= -5 \n"
    "Big=2147483648\n"
    "QuotedNum=\"42\"\n"
    "Flag=0\n"
    "Flag2=7\n"
    "[Trailer] ignored text\n"
    "After=yes\n"
    "[main]\n"
    "Late=not seen\n";

std::string WithCrLf(const std::string& lf) {
    std::string out;
    for (const char c : lf) out += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return out;
}

TEST_F(IniFileTest, ReadsStringsByWindowsRules) {
    const struct {
        const char* section;
        const char* key;
        const char* expected;
    } cases[] = {
        {"Main", "Name", "Anna"},      {"MAIN", "nAmE", "Anna"},    {" main ", " name ", "Anna"},
        {"Main", "Quoted", "  spaced  "}, {"Main", "Single", "x"},  {"Main", "Mixed", "\"x'"},
        {"Main", "Lone", "\""},        {"Main", "Twice", "\"a\""},  {"Main", "Empty", ""},
        {"Main", "Eq", "a=b"},         {"Main", "Tabbed", "t"},     {"other", "HEX1", "0x1F"},
        {"Trailer", "After", "yes"},
        // Not found: default.
        {"Main", "Hidden", "<def>"},   {"Main", ";Hidden", "<def>"}, {"Main", "NoEquals", "<def>"},
        {"Main", "orphan", "<def>"},   {"", "orphan", "<def>"},     {"Main", "Late", "<def>"},
        {"Main", "Hex1", "<def>"},     {"Nowhere", "Name", "<def>"},
    };
    for (const std::string& bytes : {std::string(kSample), WithCrLf(kSample)}) {
        WriteRaw(bytes);
        const IniFile ini(path_);
        for (const auto& c : cases) {
            EXPECT_EQ(ini.ReadString(c.section, c.key, "<def>"), c.expected)
                << c.section << "/" << c.key;
        }
    }
}

TEST_F(IniFileTest, ReadsIntegersAndBools) {
    WriteRaw(kSample);
    const IniFile ini(path_);
    const struct {
        const char* key;
        std::int32_t expected;
    } ints[] = {
        {"Hex1", 31}, {"Hex2", 31}, {"Bad", 99}, {"Neg", -5}, {"Big", 99},
        {"QuotedNum", 42}, {"Flag", 0}, {"Flag2", 7}, {"Missing", 99},
    };
    for (const auto& c : ints) EXPECT_EQ(ini.ReadInteger("Other", c.key, 99), c.expected) << c.key;
    EXPECT_FALSE(ini.ReadBool("Other", "Flag", true));
    EXPECT_TRUE(ini.ReadBool("Other", "Flag2", false));
    EXPECT_TRUE(ini.ReadBool("Other", "Bad", true));
    EXPECT_FALSE(ini.ReadBool("Other", "Bad", false));
    EXPECT_TRUE(ini.ReadBool("Other", "Missing", true));
    // A snapshot answers the same as the file.
    const platform::IniDocument doc = ini.Load();
    EXPECT_EQ(doc.ReadInteger("Other", "Hex2", 0), 31);
    EXPECT_EQ(doc.ReadString("Main", "Name", ""), "Anna");
}

TEST_F(IniFileTest, LongValuesAreCutTo2047Characters) {
    const std::string ascii(3000, 'a');
    const std::string umlauts(2100, '\xE4');  // "ä" in the file: one byte, two in UTF-8
    std::string omegas;  // a value in UTF-8: two bytes each
    for (int i = 0; i < 2100; ++i) omegas += "Ω";
    WriteRaw("[S]\r\nA=" + ascii + "\r\nQ=\"" + ascii + "\"\r\nU=" + umlauts +
             "\r\nExact=" + ascii.substr(0, 2047) + "\r\nO=" + omegas + "\r\n");
    const IniFile ini(path_);
    EXPECT_EQ(ini.ReadString("S", "A", ""), ascii.substr(0, 2047));
    EXPECT_EQ(ini.ReadString("S", "Q", ""), ascii.substr(0, 2047));
    std::string expected;
    for (int i = 0; i < 2047; ++i) expected += "ä";
    EXPECT_EQ(ini.ReadString("S", "U", ""), expected);
    EXPECT_EQ(ini.ReadString("S", "Exact", "").size(), 2047u);
    EXPECT_EQ(ini.ReadString("S", "O", ""), omegas.substr(0, 2 * 2047));
}

TEST_F(IniFileTest, WindowsBytesReadAsUtf8AndAreWrittenBack) {
    WriteRaw("[Gr\xF6\xDF" "en]\r\nL\xE4nge=Gr\xF6\xDF" "e \x80\r\n");
    IniFile ini(path_);
    EXPECT_EQ(ini.ReadString("Größen", "Länge", ""), "Größe €");
    ini.WriteString("Größen", "Breite", "ungültig");
    // What Windows-1252 cannot hold, or what would read back as UTF-8, is kept in UTF-8.
    ini.WriteString("Neu", "Text", "甲子 Ä");
    ini.WriteString("Neu", "Look", "Ã¤");
    EXPECT_EQ(ReadRaw(),
              "[Gr\xF6\xDF" "en]\r\nL\xE4nge=Gr\xF6\xDF" "e \x80\r\nBreite=ung\xFCltig\r\n"
              "[Neu]\r\nText=甲子 Ä\r\nLook=Ã¤\r\n");
    EXPECT_EQ(ini.ReadString("Neu", "Text", ""), "甲子 Ä");
    EXPECT_EQ(ini.ReadString("Neu", "Look", ""), "Ã¤");
}

TEST_F(IniFileTest, WritesEditOnlyTheirLine) {
    const std::string preamble = "; tolvane settings  \n\x01junk line\n";
    const std::string original = preamble +
                                 "[Main]\n"
                                 "; keep me\n"
                                 "  Color = 3 \n"
                                 "other line without equals\n"
                                 "\n"
                                 "\n"
                                 "[Empty]\n"
                                 "[Last]\n"
                                 "Z=1";  // no final line end
    const struct {
        const char* section;
        const char* key;
        const char* value;
        const char* expected;
    } cases[] = {
        // Replaced where it stands, with the key spelt as in the call.
        {"main", "COLOR", "7",
         "[Main]\n; keep me\nCOLOR=7\nother line without equals\n\n\n[Empty]\n[Last]\nZ=1\n"},
        // Appended after the section's last non-blank line, before the separating blanks.
        {"Main", "Width", " 5 ",
         "[Main]\n; keep me\n  Color = 3 \nother line without equals\nWidth= 5 \n\n\n[Empty]\n"
         "[Last]\nZ=1\n"},
        {"EMPTY", "K", "v",
         "[Main]\n; keep me\n  Color = 3 \nother line without equals\n\n\n[Empty]\nK=v\n"
         "[Last]\nZ=1\n"},
        {"Last", "Y", "2",
         "[Main]\n; keep me\n  Color = 3 \nother line without equals\n\n\n[Empty]\n[Last]\nZ=1\n"
         "Y=2\n"},
        // A new section goes at the end, without a blank line before it.
        {"Fenster", "Links", "10",
         "[Main]\n; keep me\n  Color = 3 \nother line without equals\n\n\n[Empty]\n[Last]\nZ=1\n"
         "[Fenster]\nLinks=10\n"},
    };
    for (const auto& c : cases) {
        WriteRaw(original);
        IniFile(path_).WriteString(c.section, c.key, c.value);
        EXPECT_EQ(ReadRaw(), WithCrLf(preamble + c.expected)) << c.section << "/" << c.key;
        EXPECT_EQ(FilesInDir(), 1u);
    }
}

TEST_F(IniFileTest, CreatesMissingFileAndWritesNumbers) {
    IniFile ini(path_);
    ini.WriteString("S", "Name", "Anna");
    ini.WriteInteger("S", "Count", -2147483647 - 1);
    ini.WriteBool("S", "On", true);
    ini.WriteBool("S", "Off", false);
    ini.WriteString("S", "Name", "Berta");
    EXPECT_EQ(ReadRaw(), "[S]\r\nName=Berta\r\nCount=-2147483648\r\nOn=1\r\nOff=0\r\n");
    EXPECT_EQ(ini.ReadInteger("S", "Count", 0), -2147483647 - 1);
    EXPECT_TRUE(ini.ReadBool("S", "On", false));
    EXPECT_FALSE(ini.ReadBool("S", "Off", true));
}

TEST_F(IniFileTest, BatchWriteAppliesEveryEntryInOrder) {
    WriteRaw("[Main]\r\nKeep=1\r\nK3=old\r\n");
    std::vector<platform::IniEntry> entries;
    for (int i = 0; i < 18; ++i) {
        entries.push_back({i < 9 ? "Main" : "Second", "K" + std::to_string(i), std::to_string(i)});
    }
    entries.push_back({"second", "k9", "again"});  // a later entry overrides an earlier one
    IniFile ini(path_);
    ini.WriteStrings(entries);
    std::string expected = "[Main]\r\nKeep=1\r\nK3=3\r\n";
    for (int i = 0; i < 9; ++i) {
        if (i != 3) expected += "K" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
    }
    expected += "[Second]\r\nk9=again\r\n";
    for (int i = 10; i < 18; ++i) {
        expected += "K" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
    }
    EXPECT_EQ(ReadRaw(), expected);
    EXPECT_EQ(FilesInDir(), 1u);
    // A line break would split the line and corrupt the file; nothing is written.
    EXPECT_THROW(ini.WriteStrings({{"Main", "A", "1"}, {"Main", "B", "x\ny"}}),
                 std::invalid_argument);
    EXPECT_EQ(ReadRaw(), expected);
}

TEST_F(IniFileTest, KeepsPermissionsAndFollowsSymlinks) {
    WriteRaw("[S]\r\nA=1\r\n");
    fs::permissions(path_, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const fs::path link = dir_ / "link.ini";
    fs::create_symlink(path_.filename(), link);
    IniFile(link).WriteString("S", "A", "2");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadRaw(), "[S]\r\nA=2\r\n");
    EXPECT_EQ(fs::status(path_).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(IniFileTest, UnwritablePlacesRaiseTheUsersMessage) {
    const fs::path regular = dir_ / "plain";
    std::ofstream(regular) << "x";
    fs::create_directory(dir_ / "isdir.ini");
    const fs::path targets[] = {regular / "tolvane.ini", dir_ / "missing" / "tolvane.ini",
                                dir_ / "isdir.ini"};
    for (const fs::path& target : targets) {
        IniFile ini(target);
        try {
            ini.WriteString("S", "K", "V");
            ADD_FAILURE() << "no error for " << target;
        } catch (const IniWriteError& e) {
            EXPECT_EQ(std::string(e.what()), "Unable to write to " + target.string());
        }
        EXPECT_THROW(ini.WriteStrings({{"S", "K", "V"}}), IniWriteError);
    }
    EXPECT_EQ(FilesInDir(), 2u);  // nothing but the two obstacles
}

// A file size limit makes the temporary file's write fail even for root, so this checks the
// cleanup path: the old file stays and no temporary file remains.
TEST_F(IniFileTest, FailedWriteLeavesTheOldFile) {
    const std::string original = "[S]\r\nK=old\r\n";
    WriteRaw(original);
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 64;
    const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    bool raised = false;
    try {
        IniFile(path_).WriteString("S", "K", std::string(1000, 'n'));
    } catch (const IniWriteError& e) {
        raised = std::string(e.what()) == "Unable to write to " + path_.string();
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::signal(SIGXFSZ, oldHandler);
    EXPECT_TRUE(raised);
    EXPECT_EQ(ReadRaw(), original);
    EXPECT_EQ(FilesInDir(), 1u);
}

// As root the checks run in a child process that has given up root's powers.
TEST_F(IniFileTest, ReadOnlyFileOrFolderIsNotReplaced) {
    const std::string original = "[S]\r\nK=old\r\n";
    WriteRaw(original);
    const std::string failure = testing_support::AsUnprivilegedUser(dir_, [&]() -> std::string {
        fs::permissions(path_, fs::perms::owner_read);
        try {
            IniFile(path_).WriteString("S", "K", "new");
            return "a read-only file was replaced";
        } catch (const IniWriteError&) {
        }
        fs::permissions(path_, fs::perms::owner_read | fs::perms::owner_write);
        fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
        try {
            IniFile(path_).WriteString("S", "K", "new");
            return "a file in a read-only folder was replaced";
        } catch (const IniWriteError&) {
        }
        return "";
    });
    EXPECT_EQ(failure, "");
    EXPECT_EQ(ReadRaw(), original);
    EXPECT_EQ(FilesInDir(), 1u);
}

namespace robustness {

namespace fs = std::filesystem;
using platform::IniFile;
using platform::IniWriteError;

using IniFileRobustness = IniFileTest;

// Anything but a regular file of sane size is no settings file: reading gives the defaults
// at once (no hang on a FIFO, no endless read of /dev/zero) and a save leaves it alone.
TEST_F(IniFileRobustness, UnusableFilesGiveDefaultsAndAreNotOverwritten) {
    struct Case {
        const char* name;
        std::function<void(const fs::path&)> make;
    };
    const std::string tooLong(IniFile::MaxFileSize - 8, '\n');
    const Case cases[] = {
        {"FIFO", [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }},
        {"link to /dev/zero", [](const fs::path& p) { fs::create_symlink("/dev/zero", p); }},
        {"folder", [](const fs::path& p) { fs::create_directory(p); }},
        {"over 1 MB of blank lines",
         [&](const fs::path& p) { std::ofstream(p, std::ios::binary) << "[S]\r\nK=v\r\n" << tooLong; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path file = dir_ / ("case" + std::to_string(&c - cases) + ".ini");
        c.make(file);
        const auto before = fs::symlink_status(file).type();
        const auto sizeBefore = fs::is_regular_file(file) ? fs::file_size(file) : 0;
        const IniFile ini(file);
        EXPECT_EQ(ini.ReadString("S", "K", "default"), "default");
        EXPECT_THROW(IniFile(file).WriteString("S", "K", "new"), IniWriteError);
        EXPECT_EQ(fs::symlink_status(file).type(), before);
        if (fs::is_regular_file(file)) {
            EXPECT_EQ(fs::file_size(file), sizeBefore);
        }
    }
    // Up to the bound a file reads and writes as usual, but no save makes it longer.
    std::string full = "[S]\r\nK=v\r\n";
    while (full.size() < IniFile::MaxFileSize) full += "\r\n";
    WriteRaw(full);
    EXPECT_EQ(IniFile(path_).ReadString("S", "K", "default"), "v");
    IniFile(path_).WriteString("S", "K", "w");
    EXPECT_EQ(IniFile(path_).ReadString("S", "K", "default"), "w");
    EXPECT_THROW(IniFile(path_).WriteString("S", "K", "longer"), IniWriteError);
    EXPECT_EQ(IniFile(path_).ReadString("S", "K", "default"), "w");
}

TEST_F(IniFileRobustness, LinkChainsLeadToTheRealFile) {
    WriteRaw("[S]\r\nA=1\r\n");
    fs::create_directory(dir_ / "sub");
    fs::create_symlink("../tolvane.ini", dir_ / "sub" / "inner.ini");
    fs::create_symlink("sub/inner.ini", dir_ / "outer.ini");
    IniFile(dir_ / "outer.ini").WriteString("S", "A", "2");
    EXPECT_EQ(ReadRaw(), "[S]\r\nA=2\r\n");
    EXPECT_TRUE(fs::is_symlink(dir_ / "outer.ini"));
    EXPECT_TRUE(fs::is_symlink(dir_ / "sub" / "inner.ini"));

    // A loop of links has no end to write to.
    fs::create_symlink("loop2.ini", dir_ / "loop1.ini");
    fs::create_symlink("loop1.ini", dir_ / "loop2.ini");
    EXPECT_EQ(IniFile(dir_ / "loop1.ini").ReadString("S", "A", "d"), "d");
    EXPECT_THROW(IniFile(dir_ / "loop1.ini").WriteString("S", "A", "3"), IniWriteError);
}

// Two processes saving different keys at the same time: the lock makes them take turns.
TEST_F(IniFileRobustness, ConcurrentSaversKeepEveryKey) {
    constexpr int Writers = 2;
    constexpr int KeysEach = 150;
    pid_t children[Writers];
    for (int w = 0; w < Writers; ++w) {
        children[w] = ::fork();
        ASSERT_GE(children[w], 0);
        if (children[w] == 0) {
            int failures = 0;
            for (int k = 0; k < KeysEach; ++k) {
                try {
                    IniFile(path_).WriteInteger("S", "W" + std::to_string(w) + "K" +
                                                std::to_string(k), k);
                } catch (const std::exception&) {
                    ++failures;
                }
            }
            ::_exit(failures == 0 ? 0 : 1);
        }
    }
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const platform::IniDocument doc = IniFile(path_).Load();
    int found = 0;
    for (int w = 0; w < Writers; ++w)
        for (int k = 0; k < KeysEach; ++k)
            found += doc.ReadInteger("S", "W" + std::to_string(w) + "K" + std::to_string(k), -1) == k;
    EXPECT_EQ(found, Writers * KeysEach);
}

// A save killed by a file size limit of 0 leaves its temporary file; the next save removes
// it, but not the temporary file of a process that still runs, nor names that are not ours.
TEST_F(IniFileRobustness, NextSaveRemovesStaleTemporaryFiles) {
    WriteRaw("[S]\r\nK=old\r\n");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const rlimit none{0, 0};
        ::setrlimit(RLIMIT_FSIZE, &none);
        IniFile(path_).WriteString("S", "K", "new");
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the save was not killed";
    EXPECT_EQ(ReadRaw(), "[S]\r\nK=old\r\n");
    fs::path stale;
    for (const auto& entry : fs::directory_iterator(dir_)) {
        if (entry.path().filename().string().starts_with("tolvane.ini.~" + std::to_string(child)))
            stale = entry.path();
    }
    ASSERT_FALSE(stale.empty()) << "the killed save left no temporary file";
    const fs::path living = dir_ / ("tolvane.ini.~" + std::to_string(::getppid()) + ".3");
    const fs::path foreign = dir_ / "tolvane.ini.~backup";
    std::ofstream(living) << "x";
    std::ofstream(foreign) << "x";

    IniFile(path_).WriteString("S", "K", "new");
    EXPECT_EQ(ReadRaw(), "[S]\r\nK=new\r\n");
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(living));
    EXPECT_TRUE(fs::exists(foreign));
}

TEST_F(IniFileRobustness, ByteOrderMarkIsSkippedAndKept) {
    WriteRaw("\xEF\xBB\xBF[Main]\r\nName=Anna\r\n");
    EXPECT_EQ(IniFile(path_).ReadString("Main", "Name", "d"), "Anna");
    IniFile(path_).WriteString("Main", "Age", "7");
    EXPECT_EQ(ReadRaw(), "\xEF\xBB\xBF[Main]\r\nName=Anna\r\nAge=7\r\n");
}

}  // namespace robustness

}  // namespace
