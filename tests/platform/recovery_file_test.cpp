// SPDX-License-Identifier: GPL-3.0-or-later
// Recovery copies on disk: their header read back as written.
#include "platform/recovery_file.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

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

}  // namespace
