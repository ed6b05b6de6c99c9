// SPDX-License-Identifier: GPL-3.0-or-later
// Reading what may not be a regular file, and replacing a file so that every failure leaves
// the old one byte for byte: the shared way of the settings file and the notes files.
#include "platform/safe_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <set>

#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using namespace platform;

// The backup beside a file.
fs::path Bak(const fs::path& file) { return file.string() + ".bak"; }

class SafeFile : public testing::Test {
protected:
    fs::path Path(const std::string& name) const { return folder_.File(name); }
    std::set<std::string> Names() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_.Path()))
            names.insert(entry.path().filename());
        return names;
    }

    const testing_support::TempFolder folder_;
};

// Folders, FIFOs, devices and huge files: the notes window's tests read them through here.
TEST_F(SafeFile, ReaderByKindOfFile) {
    struct Case {
        const char* name;
        std::function<void(const fs::path&)> make;
        ReadStatus status;
        std::string bytes;
    };
    std::string binary(300'000, '\0');  // as long as the bound allows
    for (std::size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>(i * 7);
    const auto write = [](std::string bytes) {
        return [bytes](const fs::path& p) { std::ofstream(p, std::ios::binary) << bytes; };
    };
    const Case cases[] = {
        {"binary, at the bound", write(binary), ReadStatus::Ok, binary},
        {"empty", write(""), ReadStatus::Ok, ""},
        {"missing", [](const fs::path&) {}, ReadStatus::Missing, ""},
        {"dangling link", [](const fs::path& p) { fs::create_symlink("nirgends", p); },
         ReadStatus::Missing, ""},
        {"one byte over the bound", write(std::string(300'001, 'a')), ReadStatus::TooLong, ""},
        {"loop of links", [](const fs::path& p) { fs::create_symlink(p.filename(), p); },
         ReadStatus::Unusable, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path file = Path("case" + std::to_string(&c - cases));
        c.make(file);
        std::string bytes = "alt";
        const FileRead read = ReadRegularFile(file, 300'000, bytes);
        EXPECT_EQ(read.status, c.status);
        EXPECT_EQ(bytes, c.bytes);
        EXPECT_EQ(read.stamp.exists, c.status == ReadStatus::Ok);
        if (c.status == ReadStatus::Ok) {
            EXPECT_EQ(read.stamp, StampOf(file));
        }
    }
}

// Every failure leaves the old bytes and no temporary file; each row makes its obstacle.
TEST_F(SafeFile, WriterFailuresLeaveTheOldFile) {
    struct Case {
        const char* name;
        std::function<void(const fs::path&)> obstruct;  // after the stamp was taken
        ReplaceStatus status;
    };
    const auto rewrite = [](const char* bytes) {
        return [bytes](const fs::path& p) { std::ofstream(p, std::ios::binary) << bytes; };
    };
    const Case cases[] = {
        {"write-protected (also for root)", [](const fs::path& p) { fs::permissions(p, fs::perms(0444)); },
         ReplaceStatus::WriteProtected},
        {"changed, same size", rewrite("neu\n"), ReplaceStatus::Changed},
        {"changed, same size and time",
         [](const fs::path& p) {
             struct stat old {};
             ::stat(p.c_str(), &old);
             std::ofstream(p, std::ios::binary) << "neu\n";
             const struct timespec times[2] = {old.st_atim, old.st_mtim};
             ::utimensat(AT_FDCWD, p.c_str(), times, 0);
         },
         ReplaceStatus::Changed},
        {"made a FIFO", [](const fs::path& p) { fs::remove(p), ::mkfifo(p.c_str(), 0600); },
         ReplaceStatus::NotRegular},
        {"made a loop of links",
         [](const fs::path& p) { fs::remove(p), fs::create_symlink(p.filename(), p); },
         ReplaceStatus::NotRegular},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string name = std::to_string(&c - cases) + ".txt";
        folder_.Write(name, "alt\n");
        std::string read;  // the stamp as the notes window keeps it, with the content's hash
        const FileStamp stamp = ReadRegularFile(Path(name), 100, read).stamp;
        // Equal stamps that a coarse clock would give cannot hide the change.
        ::usleep(10'000);
        c.obstruct(Path(name));
        const auto before = fs::symlink_status(Path(name)).type();
        std::error_code ec;
        const std::string old = fs::is_regular_file(Path(name), ec) ? folder_.Read(name) : "";
        EXPECT_EQ(ReplaceFile(Path(name), "neu", {stamp, Bak}).status, c.status);
        EXPECT_EQ(fs::symlink_status(Path(name)).type(), before);
        if (fs::is_regular_file(Path(name), ec)) {
            EXPECT_EQ(folder_.Read(name), old);
        }
        EXPECT_EQ(Names(), std::set<std::string>{name});  // no temporary file, no backup
        fs::remove_all(Path(name));
    }
}

// What the name held, the backup, a new file's permissions and the stamp after each save
// (the settings tests keep an old file's mode and a link a link).
TEST_F(SafeFile, WriterKeepsModeLinksAndOneBackup) {
    const mode_t oldMask = ::umask(027);
    ReplaceResult made = ReplaceFile(Path("PLAN.RTF"), "eins", {{}, Bak});
    ::umask(oldMask);
    ASSERT_EQ(made.status, ReplaceStatus::Ok);
    EXPECT_EQ(fs::status(Path("PLAN.RTF")).permissions(), fs::perms(0640));  // new: by umask
    EXPECT_EQ(made.stamp, StampOf(Path("PLAN.RTF")));
    EXPECT_FALSE(fs::exists(Path("PLAN.RTF.bak")));  // a new file has no backup
    // Our own save is what the next one expects; a file that has gone since counts as
    // unchanged, and one that did not exist as changed once it appears.
    for (const char* text : {"zwei", "drei"}) {
        made = ReplaceFile(Path("PLAN.RTF"), text, {made.stamp, Bak});
        ASSERT_EQ(made.status, ReplaceStatus::Ok);
    }
    EXPECT_EQ(folder_.Read("PLAN.RTF"), "drei");
    EXPECT_EQ(folder_.Read("PLAN.RTF.bak"), "zwei");
    fs::remove(Path("PLAN.RTF"));
    EXPECT_EQ(ReplaceFile(Path("PLAN.RTF"), "vier", {made.stamp, {}}).status, ReplaceStatus::Ok);
    EXPECT_EQ(ReplaceFile(Path("PLAN.RTF"), "fünf", {FileStamp{}, {}}).status,
              ReplaceStatus::Changed);
    EXPECT_EQ(folder_.Read("PLAN.RTF"), "vier");

    // Through a link, the backup lies beside the file it names.
    fs::create_directory(Path("sync"));
    folder_.Write("sync/notiz.txt", "alt");
    fs::create_symlink("sync/notiz.txt", Path("notiz.txt"));
    EXPECT_EQ(ReplaceFile(Path("notiz.txt"), "neu", {{}, Bak}).status, ReplaceStatus::Ok);
    EXPECT_EQ(folder_.Read("sync/notiz.txt.bak"), "alt");
    EXPECT_EQ(Names(), (std::set<std::string>{"PLAN.RTF", "PLAN.RTF.bak", "notiz.txt", "sync"}));
}

// Another program's save while the new content is made and written is seen right before
// the rename, and kept.
TEST_F(SafeFile, WriterChecksAgainRightBeforeTheRename) {
    folder_.Write("a.txt", "alt\n");
    std::string read;
    const FileStamp stamp = ReadRegularFile(Path("a.txt"), 100, read).stamp;
    const ContentMaker slowMaker = [&](const fs::path& file, std::string& out) {
        std::ofstream(file, std::ios::binary | std::ios::app) << "vom anderen Programm\n";
        out = "neu\n";
        return true;
    };
    EXPECT_EQ(ReplaceFile(Path("a.txt"), slowMaker, {stamp, {}}).status, ReplaceStatus::Changed);
    EXPECT_EQ(folder_.Read("a.txt"), "alt\nvom anderen Programm\n");
    EXPECT_EQ(Names(), std::set<std::string>{"a.txt"});
}

}  // namespace
