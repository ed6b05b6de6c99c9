// SPDX-License-Identifier: GPL-3.0-or-later
#include "cycle/names.h"

#include <gtest/gtest.h>

#include <set>

TEST(Names, LettersAndTextsOfStemsAndBranches) {
    EXPECT_EQ(cycle::BranchLetter(0), "k");
    EXPECT_EQ(cycle::BranchText(0), "1  Ratte");
    EXPECT_EQ(cycle::BranchLetter(11), "v");
    EXPECT_EQ(cycle::BranchText(11), "12  Wildschwein");
    EXPECT_EQ(cycle::StemLetter(0), "a");
    EXPECT_EQ(cycle::StemText(0), "1  hartes Holz");
    EXPECT_EQ(cycle::StemLetter(9), "j");
    EXPECT_EQ(cycle::StemText(9), "10  lebendes Wasser");

    // Each of the 22 characters has its own letter, a to v.
    std::set<std::string> letters;
    for (int s = 0; s < 10; ++s) letters.insert(cycle::StemLetter(s));
    for (int b = 0; b < 12; ++b) letters.insert(cycle::BranchLetter(b));
    EXPECT_EQ(letters.size(), 22u);
    EXPECT_EQ(*letters.begin(), "a");
    EXPECT_EQ(*letters.rbegin(), "v");

    for (auto name : cycle::StemNames) EXPECT_LE(name.size(), 20u);
    for (auto name : cycle::BranchNames) EXPECT_LE(name.size(), 20u);
    EXPECT_THROW(cycle::StemLetter(10), std::out_of_range);
    EXPECT_THROW(cycle::BranchLetter(12), std::out_of_range);

    // A stem's or a branch's character is the one its letter draws.
    for (int s = 0; s < 10; ++s)
        EXPECT_EQ(cycle::StemCharacter(s), cycle::CharacterOfLetter(cycle::StemLetter(s)));
    for (int b = 0; b < 12; ++b)
        EXPECT_EQ(cycle::BranchCharacter(b), cycle::CharacterOfLetter(cycle::BranchLetter(b)));
    for (const char* other : {"", "w", "A", "ab"}) EXPECT_EQ(cycle::CharacterOfLetter(other), "");
    for (const int bad : {-1, 10}) EXPECT_THROW(cycle::StemCharacter(bad), std::out_of_range);
    for (const int bad : {-1, 12}) EXPECT_THROW(cycle::BranchCharacter(bad), std::out_of_range);
}
