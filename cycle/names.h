// SPDX-License-Identifier: GPL-3.0-or-later
// The vocabulary of the cycle: German names of the ten heavenly stems and the twelve
// earthly branches, the letters that draw their characters in the glyph font Vivar01, and
// the characters themselves.
#pragma once

#include <array>
#include <stdexcept>
#include <string>
#include <string_view>

namespace cycle {

inline constexpr std::array<std::string_view, 10> StemNames = {
    "hartes Holz",    "weiches Holz",   "hartes Feuer", "weiches Feuer", "harte Erde",
    "fruchtbare Erde", "hartes Metall", "weiches Metall", "totes Wasser", "lebendes Wasser",
};

inline constexpr std::array<std::string_view, 12> BranchNames = {
    "Ratte", "Ochse", "Tiger", "Hase", "Drache", "Schlange",
    "Pferd", "Schaf", "Affe",  "Hahn", "Hund",   "Wildschwein",
};

// Branch b is drawn by the letter at position b, stem s by the one at position 12 + s.
inline constexpr std::string_view GlyphLetters = "klmnopqrstuvabcdefghij";

// The characters the letters draw, in the same order: GlyphCharacters[i] is the character
// that GlyphLetters[i] selects in the glyph font, for output that needs no such font.
inline constexpr std::array<std::string_view, GlyphLetters.size()> GlyphCharacters = {
    "子", "丑", "寅", "卯", "辰", "巳", "午", "未", "申", "酉", "戌", "亥",
    "甲", "乙", "丙", "丁", "戊", "己", "庚", "辛", "壬", "癸",
};

// The character a glyph letter ("r") draws ("未"); empty for any other text.
inline std::string_view CharacterOfLetter(std::string_view letter) {
    const std::size_t at = letter.size() == 1 ? GlyphLetters.find(letter) : std::string_view::npos;
    return at == std::string_view::npos ? std::string_view{} : GlyphCharacters[at];
}
inline std::string_view StemCharacter(int stem) {
    if (stem < 0 || stem > 9) throw std::out_of_range("stem index");
    return GlyphCharacters[12 + static_cast<std::size_t>(stem)];
}
inline std::string_view BranchCharacter(int branch) {
    if (branch < 0 || branch > 11) throw std::out_of_range("branch index");
    return GlyphCharacters[static_cast<std::size_t>(branch)];
}

inline std::string StemLetter(int stem) {
    return std::string(1, GlyphLetters.substr(12).at(stem));
}
inline std::string BranchLetter(int branch) {
    return std::string(1, GlyphLetters.substr(0, 12).at(branch));
}

// "1  hartes Holz": the number shown (index + 1), two blanks, the name.
inline std::string StemText(int stem) {
    return std::to_string(stem + 1) + "  " + std::string(StemNames.at(stem));
}
inline std::string BranchText(int branch) {
    return std::to_string(branch + 1) + "  " + std::string(BranchNames.at(branch));
}

// The texts of the status line: "das Jahr beginnt am 5.2.2000", "Wintersolstitium am …".
inline std::string DateText(int day, int month, int year) {
    return std::to_string(day) + "." + std::to_string(month) + "." + std::to_string(year);
}
inline std::string YearStartText(int day, int month, int year) {
    return "das Jahr beginnt am " + DateText(day, month, year);
}
inline std::string SolsticeText(int day, int month, int year) {
    return "Wintersolstitium am " + DateText(day, month, year);
}

}  // namespace cycle
