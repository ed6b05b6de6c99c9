// Tests of the settings file: reading by the Windows rules, edits that keep every other line,
// the Windows-1252 encoding and failed writes that leave the file as it was.
#include "platform/ini_file.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>

namespace fs = std::filesystem;
using platform::IniFile;
using platform::IniWriteError;

namespace {

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("tolvane_ini_" + std::to_string(::getpid()) + "_" + std::to_string(Rand()));
        fs::create_directories(dir_);
        path_ = dir_ / "tolvane.ini";
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(dir_, ec);
    }
    static unsigned Rand() { return std::random_device{}(); }

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

    fs::path dir_;
    fs::path path_;
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
    WriteRaw("[S]\r\nA=" + ascii + "\r\nQ=\"" + ascii + "\"\r\nU=" + umlauts +
             "\r\nExact=" + ascii.substr(0, 2047) + "\r\n");
    const IniFile ini(path_);
    EXPECT_EQ(ini.ReadString("S", "A", ""), ascii.substr(0, 2047));
    EXPECT_EQ(ini.ReadString("S", "Q", ""), ascii.substr(0, 2047));
    std::string expected;
    for (int i = 0; i < 2047; ++i) expected += "ä";
    EXPECT_EQ(ini.ReadString("S", "U", ""), expected);
    EXPECT_EQ(ini.ReadString("S", "Exact", "").size(), 2047u);
}

TEST_F(IniFileTest, WindowsBytesReadAsUtf8AndAreWrittenBack) {
    WriteRaw("[Gr\xF6\xDF" "en]\r\nL\xE4nge=Gr\xF6\xDF" "e \x80\r\n");
    IniFile ini(path_);
    EXPECT_EQ(ini.ReadString("Größen", "Länge", ""), "Größe €");
    ini.WriteString("Größen", "Breite", "ungültig");
    ini.WriteString("Neu", "Text", "甲子 Ä");
    EXPECT_EQ(ReadRaw(),
              "[Gr\xF6\xDF" "en]\r\nL\xE4nge=Gr\xF6\xDF" "e \x80\r\nBreite=ung\xFCltig\r\n"
              "[Neu]\r\nText=?? \xC4\r\n");
    EXPECT_EQ(ini.ReadString("Neu", "Text", ""), "?? Ä");
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

TEST_F(IniFileTest, ReadOnlyFileOrFolderIsNotReplaced) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes through file permissions";
    const std::string original = "[S]\r\nK=old\r\n";
    WriteRaw(original);
    fs::permissions(path_, fs::perms::owner_read);
    EXPECT_THROW(IniFile(path_).WriteString("S", "K", "new"), IniWriteError);
    EXPECT_EQ(ReadRaw(), original);
    fs::permissions(path_, fs::perms::owner_read | fs::perms::owner_write);
    fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_THROW(IniFile(path_).WriteString("S", "K", "new"), IniWriteError);
    EXPECT_EQ(ReadRaw(), original);
    EXPECT_EQ(FilesInDir(), 1u);
}

}  // namespace
