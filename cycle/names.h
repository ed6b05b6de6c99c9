// The vocabulary of the cycle: German names of the ten heavenly stems and the twelve
// earthly branches, and the letters that draw their characters in the glyph font Vivar01.
#pragma once

#include <array>
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

inline std::string StemLetter(int stem) {
    return std::string(1, GlyphLetters.substr(12).at(stem));
}
inline std::string BranchLetter(int branch) {
    return std::string(1, GlyphLetters.substr(0, 12).at(branch));
}

// The Chinese character each glyph letter draws, in the order of GlyphLetters (UTF-8).
inline constexpr std::array<std::string_view, 22> GlyphCharacters = {
    "子", "丑", "寅", "卯", "辰", "巳", "午", "未", "申", "酉", "戌", "亥",
    "甲", "乙", "丙", "丁", "戊", "己", "庚", "辛", "壬", "癸",
};

// The character drawn by a glyph letter; empty for any other text.
inline std::string_view CharacterOfGlyph(std::string_view letter) {
    if (letter.size() != 1) return {};
    const std::size_t at = GlyphLetters.find(letter.front());
    return at == std::string_view::npos ? std::string_view() : GlyphCharacters[at];
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
