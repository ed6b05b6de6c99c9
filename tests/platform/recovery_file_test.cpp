// SPDX-License-Identifier: GPL-3.0-or-later
// Recovery copies on disk: their names, and their header read back as written.
#include "platform/recovery_file.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

namespace {

// Any notes file name survives the header, and each full path has a copy of its own.
TEST(RecoveryFile, NamesAndHeaderOfAnyNotesFile) {
    const std::string names[] = {"/home/anna/tolvane.RTF", "/home/anna/notiz%0A.txt",
                                 "/home/anna/zwei\nZeilen.txt", "/home/bert/tolvane.RTF",
                                 "/tmp/" + std::string(300, 'x') + "ä.txt"};
    std::set<std::filesystem::path> copies;
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const std::filesystem::path copy = platform::RecoveryPath("/s", name);
        EXPECT_EQ(copy.parent_path(), "/s");
        EXPECT_LE(copy.filename().string().size(), 255u);
        copies.insert(copy);
        platform::RecoveryRecord record{name, false, {true, 0, 0, 42, -7}, "{\\rtf1 x}\n\n"};
        const auto back = platform::DecodeRecovery(platform::EncodeRecovery(record));
        ASSERT_TRUE(back);
        EXPECT_EQ(std::tie(back->notesFile, back->plainText, back->text),
                  std::tie(record.notesFile, record.plainText, record.text));
        EXPECT_EQ(back->notesStamp, record.notesStamp);
    }
    EXPECT_EQ(copies.size(), std::size(names));
}

}  // namespace
