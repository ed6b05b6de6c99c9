// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/program_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(ProgramFolder, IsTheExecutablesDirectoryWithSeparator) {
    const std::string folder = platform::ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_TRUE(std::filesystem::path(folder).is_absolute());
    EXPECT_TRUE(std::filesystem::exists(folder + "platform_tests"));
}
