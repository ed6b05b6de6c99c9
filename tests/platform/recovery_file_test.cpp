// SPDX-License-Identifier: GPL-3.0-or-later
// Recovery copies on disk: their header read back as written, and their names never
// reached through a link that someone put there.
#include "platform/recovery_file.h"

#include <gtest/gtest.h>
#include <sys/random.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstring>
#include <deque>
#include <set>
#include <tuple>

#include "support/temp_folder.h"

// The random numbers the copies' names are made of, chosen by a test where it must know a
// name before the copy is made; otherwise the kernel's.
namespace {
std::deque<std::uint64_t> scriptedRandom;
}

extern "C" ssize_t getrandom(void* buffer, size_t length, unsigned int flags) {
    if (scriptedRandom.empty() || length != sizeof(std::uint64_t))
        return ::syscall(SYS_getrandom, buffer, length, flags);
    const std::uint64_t value = scriptedRandom.front();
    scriptedRandom.pop_front();
    std::memcpy(buffer, &value, sizeof value);
    return sizeof value;
}

namespace {

// Any notes file name (none for a text without a name) survives the header; a copy whose
// text ends early is told apart.
TEST(RecoveryFile, HeaderOfAnyNotesFile) {
    const std::string names[] = {"/home/anna/tolvane.RTF", "/home/anna/notiz%0A.txt",
                                 "/home/anna/zwei\nZeilen.txt", "",
                                 "/tmp/" + std::string(300, 'x') + "ä.txt"};
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        platform::RecoveryRecord record{name, false, {true, 0, 0, 42, -7}, "{\\rtf1 x}\n\n",
                                        0xfedcba9876543210, 7};
        const std::string bytes = platform::EncodeRecovery(record);
        for (const std::size_t cut : {std::size_t{0}, std::size_t{1}}) {
            bool cutOff = true;
            const auto back =
                platform::DecodeRecovery(bytes.substr(0, bytes.size() - cut), &cutOff);
            ASSERT_TRUE(back);
            EXPECT_EQ(std::tie(back->notesFile, back->plainText, back->writer, back->sequence),
                      std::tie(record.notesFile, record.plainText, record.writer,
                               record.sequence));
            EXPECT_EQ(back->text, record.text.substr(0, record.text.size() - cut));
            EXPECT_EQ(back->notesStamp, record.notesStamp);
            EXPECT_EQ(cutOff, cut > 0);
        }
    }
}

namespace fs = std::filesystem;

platform::RecoveryRecord Record(const std::string& text) {
    return {"/home/anna/a.txt", true, {}, text, 0, 0};
}

// The names of the copies in `folder`, whatever they are (files or links).
std::set<std::string> Names(const fs::path& folder) {
    std::set<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        names.insert(entry.path().filename().string());
    return names;
}

// A link put in place of a copy, of the copies' folder, or at a copy's name before the copy
// is made: the program writes through none of them and deletes nothing they point to; the
// file of another that they name stays byte for byte.
TEST(RecoveryFile, PlantedLinksAreNeverFollowed) {
    const char* planted[] = {"copy", "folder", "name before"};
    for (const std::string where : planted) {
        SCOPED_TRACE(where);
        testing_support::TempFolder temp;
        const fs::path copies = temp.File("copies");
        temp.Write("victim.txt", "Anna's own file\n");
        const fs::path victim = temp.File("victim.txt");
        platform::RecoveryStore store;
        store.SetFolder(copies);
        std::string error;
        if (where == "name before") {
            // The writer's id, then the name someone took, then a free one.
            scriptedRandom = {7, 0xabc, 0xdef};
            fs::create_directory(copies);
            fs::permissions(copies, fs::perms::owner_all);
            fs::create_symlink(victim, copies / "a.txt-0000000000000abc.recovery");
        } else {
            ASSERT_TRUE(store.Write(Record("eins"), error)) << error;
            ASSERT_EQ(Names(copies).size(), 1u);
        }
        if (where == "copy") {
            const fs::path copy = copies / *Names(copies).begin();
            fs::remove(copy);
            fs::create_symlink(victim, copy);
        } else if (where == "folder") {
            fs::rename(copies, temp.File("moved"));
            fs::create_directory_symlink(temp.Path(), copies);
        }
        EXPECT_TRUE(store.Write(Record("zwei"), error)) << error;
        store.Remove();
        EXPECT_TRUE(scriptedRandom.empty());
        // Another program that looks for copies to offer.
        platform::RecoveryStore other;
        other.SetFolder(copies);
        EXPECT_TRUE(other.Unheld("/home/anna/a.txt").empty());
        EXPECT_TRUE(other.Write(Record("drei"), error) == (where != "folder"));
        EXPECT_EQ(temp.Read("victim.txt"), "Anna's own file\n");
        EXPECT_FALSE(fs::is_symlink(victim));
        if (where != "folder") {
            // The planted link is left as it was.
            int links = 0;
            for (const std::string& name : Names(copies))
                links += fs::is_symlink(copies / name) && fs::read_symlink(copies / name) == victim;
            EXPECT_EQ(links, 1);
        } else {
            EXPECT_EQ(Names(temp.Path()),
                      (std::set<std::string>{"copies", "moved", "victim.txt"}));
        }
    }
}

}  // namespace
