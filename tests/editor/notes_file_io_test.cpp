// Extensions, backup names and the safe replacement of a file, without a window.
#include "editor/notes_file_io.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <fstream>

#include "file_fixture.h"

using namespace editor;
using editor_test::FileFolder;

TEST(NotesFileNames, ExtensionsAndBackups) {
    struct Case {
        const char* name;
        const char* extension;
        bool rtf;
        const char* backup;
    };
    const Case cases[] = {
        {"PLAN.RTF", ".RTF", true, "PLAN.~RTF"},
        {"/a/NOTIZ.rtf", ".rtf", true, "/a/NOTIZ.~rtf"},
        {"x.Rtf", ".Rtf", true, "x.~Rtf"},
        {"brief.txt", ".txt", false, "brief.~txt"},
        {"/home/u/liste", "", false, "/home/u/liste.~"},
        {"/home/u.d/liste", "", false, "/home/u.d/liste.~"},
        {"a.b.RTF", ".RTF", true, "a.b.~RTF"},
        {"x.RTFX", ".RTFX", false, "x.~RTFX"},
        {"x.", ".", false, "x.~"},
        {"Unbekannt", "", false, "Unbekannt.~"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FileExtension(c.name), c.extension);
        EXPECT_EQ(IsRtfName(c.name), c.rtf);
        EXPECT_EQ(BackupName(c.name), c.backup);
    }
}

TEST(NotesFileWrite, ReplacesAndKeepsOneBackup) {
    FileFolder folder;
    const auto file = folder.Path("PLAN.RTF");
    WriteFileAtomically(file, "eins", true);  // a new file: no backup
    EXPECT_EQ(folder.Read("PLAN.RTF"), "eins");
    EXPECT_FALSE(std::filesystem::exists(folder.Path("PLAN.~RTF")));
    WriteFileAtomically(file, "zwei", true);
    WriteFileAtomically(file, "drei", true);
    EXPECT_EQ(folder.Read("PLAN.RTF"), "drei");
    EXPECT_EQ(folder.Read("PLAN.~RTF"), "zwei");
    WriteFileAtomically(file, "vier", false);
    EXPECT_EQ(folder.Read("PLAN.~RTF"), "zwei");
    EXPECT_EQ(folder.Names(), (std::set<std::string>{"PLAN.RTF", "PLAN.~RTF"}));
}

// A notes file that is a link (to a synchronised folder, say) stays a link, and the file
// it names gets the text and the backup; a link to a file not made yet makes it.
TEST(NotesFileWrite, LinksStayLinks) {
    FileFolder folder;
    std::filesystem::create_directory(folder.Path("sync"));
    std::ofstream(folder.Path("sync/PLAN.RTF")) << "alt";
    std::filesystem::create_symlink("sync/PLAN.RTF", folder.Path("PLAN.RTF"));
    std::filesystem::create_symlink(folder.Path("sync/neu.txt"), folder.Path("neu.txt"));
    WriteFileAtomically(folder.Path("PLAN.RTF"), "neu", true);
    WriteFileAtomically(folder.Path("neu.txt"), "erst", false);
    for (const char* link : {"PLAN.RTF", "neu.txt"})
        EXPECT_TRUE(std::filesystem::is_symlink(folder.Path(link))) << link;
    EXPECT_EQ(folder.Read("sync/PLAN.RTF"), "neu");
    EXPECT_EQ(folder.Read("sync/PLAN.~RTF"), "alt");
    EXPECT_EQ(folder.Read("sync/neu.txt"), "erst");
    EXPECT_EQ(folder.Names(), (std::set<std::string>{"PLAN.RTF", "neu.txt", "sync"}));
}

TEST(NotesFileWrite, KeepsTheFilesMode) {
    FileFolder folder;
    const auto file = folder.Path("a.txt");
    WriteFileAtomically(file, "x", false);
    std::filesystem::permissions(file, std::filesystem::perms(0640));
    WriteFileAtomically(file, "y", false);
    EXPECT_EQ(std::filesystem::status(file).permissions(), std::filesystem::perms(0640));
}

// A write that fails half way (the file size limit works for root too) leaves the old file.
TEST(NotesFileWrite, FailureLeavesTheOldFile) {
    FileFolder folder;
    const auto file = folder.Path("brief.txt");
    folder.Write("brief.txt", "alter Text\r\n");
    {
        editor_test::FileSizeLimit limit(4);
        EXPECT_THROW(WriteFileAtomically(file, std::string(100, 'x'), true), std::runtime_error);
    }
    EXPECT_EQ(folder.Read("brief.txt"), "alter Text\r\n");
    EXPECT_EQ(folder.Names(), (std::set<std::string>{"brief.txt"}));  // no temporary file left

    folder.MakeFolder("ordner.txt");  // a name that is a folder
    EXPECT_THROW(WriteFileAtomically(folder.Path("ordner.txt"), "x", true), std::runtime_error);
    EXPECT_TRUE(std::filesystem::is_directory(folder.Path("ordner.txt")));
    EXPECT_THROW(WriteFileAtomically(folder.Path("fehlt/a.txt"), "x", false), std::runtime_error);
}

TEST(NotesFileRead, WholeFileOrError) {
    FileFolder folder;
    std::string bytes(200'000, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
    folder.Write("daten", bytes);
    EXPECT_EQ(ReadWholeFile(folder.Path("daten")), bytes);
    folder.MakeFolder("ordner");
    EXPECT_THROW(ReadWholeFile(folder.Path("ordner")), std::runtime_error);
    EXPECT_THROW(ReadWholeFile(folder.Path("fehlt")), std::runtime_error);
}

// The backup takes the file's content while the file stays under its name; a missing file
// makes no backup and no error.
TEST(NotesFileWrite, BackupKeepsTheFileInPlace) {
    FileFolder folder;
    MakeBackup(folder.Path("fehlt.RTF"));
    EXPECT_TRUE(folder.Names().empty());
    folder.Write("NOTIZ.RTF", "Inhalt");
    folder.Write("NOTIZ.~RTF", "alt");
    MakeBackup(folder.Path("NOTIZ.RTF"));
    EXPECT_EQ(folder.Read("NOTIZ.RTF"), "Inhalt");
    EXPECT_EQ(folder.Read("NOTIZ.~RTF"), "Inhalt");
    // The next version replaces the name, not the backup's content.
    WriteFileAtomically(folder.Path("NOTIZ.RTF"), "neu", false);
    EXPECT_EQ(folder.Read("NOTIZ.~RTF"), "Inhalt");
}
