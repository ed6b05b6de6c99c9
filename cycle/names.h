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
