// SPDX-License-Identifier: GPL-3.0-or-later
// Checks the term files PLANETS.NDX and PLANETS.DAT as the build generated them from
// data/VSOP87D.ear, reading the text again here independently of the generator.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::uint8_t> ReadBytes(const std::string& name) {
    std::ifstream in(std::string(TOLVANE_BIN_DIR) + "/" + name, std::ios::binary);
    EXPECT_TRUE(in) << name;
    return {std::istreambuf_iterator<char>(in), {}};
}

unsigned Uint16At(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return bytes.at(at) | bytes.at(at + 1) << 8;
}

double DoubleAt(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) bits = bits << 8 | bytes.at(at + i);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// A, B, C of every term line of the text, in file order: the last three fields.
std::vector<std::vector<double>> EarthTermsFromText() {
    std::ifstream in(std::string(TOLVANE_DATA_DIR) + "/VSOP87D.ear");
    std::vector<std::vector<double>> terms;
    for (std::string line; std::getline(in, line);) {
        if (line.find("VSOP87") != std::string::npos) continue;
        std::istringstream fields(line);
        std::vector<double> numbers{std::istream_iterator<double>(fields), {}};
        if (numbers.size() >= 3) terms.emplace_back(numbers.end() - 3, numbers.end());
    }
    return terms;
}

TEST(GeneratedTermFiles, HoldTheEarthSeriesInIndexOrder) {
    const auto ndx = ReadBytes("PLANETS.NDX");
    const auto dat = ReadBytes("PLANETS.DAT");
    ASSERT_EQ(ndx.size(), 648u);
    ASSERT_EQ(dat.size(), 2425u * 24);

    // L0..L5, B0..B5, R0..R5 of VSOP87D.ear.
    constexpr unsigned Counts[18] = {559, 341, 142, 22,  11,  5,   184, 99, 49,
                                      11,  5,   0,   526, 292, 139, 27,  10, 3};
    unsigned start = 0;
    for (int slot = 0; slot < 18; ++slot) {
        EXPECT_EQ(Uint16At(ndx, 3 * 72 + slot * 4), start) << slot;
        EXPECT_EQ(Uint16At(ndx, 3 * 72 + slot * 4 + 2), Counts[slot]) << slot;
        start += Counts[slot];
    }
    EXPECT_LE(start, 2637u);
    for (std::size_t at = 0; at < ndx.size(); ++at) {
        if (at / 72 != 3) {
            EXPECT_EQ(ndx[at], 0) << "byte " << at;
        }
    }

    EXPECT_EQ(DoubleAt(dat, 0), 1.75347045673);
    EXPECT_EQ(DoubleAt(dat, 8), 0.0);
    EXPECT_EQ(DoubleAt(dat, 16), 0.0);

    // The text lists its series in index order already, so PLANETS.DAT follows it term by term;
    // this includes the last R5 term, the last line of the text.
    const auto terms = EarthTermsFromText();
    ASSERT_EQ(terms.size(), 2425u);
    EXPECT_EQ(DoubleAt(dat, 2424 * 24 + 16), terms.back()[2]);
    for (std::size_t i = 0; i < terms.size(); ++i) {
        for (std::size_t k = 0; k < 3; ++k)
            ASSERT_EQ(DoubleAt(dat, i * 24 + k * 8), terms[i][k]) << i << ' ' << k;
    }
}

}  // namespace
