// SPDX-License-Identifier: GPL-3.0-or-later
// Builds small term files in a private temporary folder, for tests that must control
// every byte the loader reads.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "astro/term_files.h"
#include "support/temp_folder.h"

namespace testing_support {

inline void PutLE16(std::vector<unsigned char>& out, std::uint16_t v) {
    out.push_back(static_cast<unsigned char>(v & 0xFF));
    out.push_back(static_cast<unsigned char>(v >> 8));
}

inline void PutLEDouble(std::vector<unsigned char>& out, double d) {
    std::uint64_t bits;
    std::memcpy(&bits, &d, sizeof bits);
    for (int i = 0; i < 8; ++i) out.push_back(static_cast<unsigned char>(bits >> (8 * i)));
}

inline void WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!f) throw std::runtime_error("cannot write " + path);
}

// The 18 series of one body: [coordinate - 1][power].
using BodySeries = std::array<std::array<std::vector<astro::TSeriesTerm>, 6>, 3>;

// Index entries and terms of one body, laid out one series after the other from `first`.
struct EncodedBody {
    astro::TPlanetIndex index{};
    std::vector<astro::TSeriesTerm> terms;
};

inline EncodedBody Encode(const BodySeries& body, std::uint16_t first = 0) {
    EncodedBody e;
    std::uint16_t start = first;
    for (int c = 0; c < 3; ++c)
        for (int j = 0; j < 6; ++j) {
            const auto& s = body[c][j];
            e.index[c][j] = {start, static_cast<std::uint16_t>(s.size())};
            start = static_cast<std::uint16_t>(start + s.size());
            e.terms.insert(e.terms.end(), s.begin(), s.end());
        }
    return e;
}

inline std::vector<unsigned char> IndexBytes(const std::vector<astro::TPlanetIndex>& records) {
    std::vector<unsigned char> out;
    for (const auto& r : records)
        for (const auto& coordinate : r)
            for (const auto& s : coordinate) {
                PutLE16(out, s.Start);
                PutLE16(out, s.Count);
            }
    return out;
}

inline std::vector<unsigned char> TermBytes(const std::vector<astro::TSeriesTerm>& terms) {
    std::vector<unsigned char> out;
    for (const auto& t : terms) {
        PutLEDouble(out, t.A);
        PutLEDouble(out, t.B);
        PutLEDouble(out, t.C);
    }
    return out;
}

// Writes a well-formed pair of term files holding `body` as record `record` of nine.
inline void WriteTermFiles(const TempFolder& folder, const BodySeries& body, int record = 3) {
    const EncodedBody e = Encode(body);
    std::vector<astro::TPlanetIndex> records(astro::PlanetCount, astro::TPlanetIndex{});
    records[record] = e.index;
    WriteBytes(folder.File(astro::IndexFileName), IndexBytes(records));
    WriteBytes(folder.File(astro::TermFileName), TermBytes(e.terms));
}

// A body whose only term is `term`, in series (coordinate, power).
inline BodySeries SingleTerm(int coordinate, int power, astro::TSeriesTerm term) {
    BodySeries body;
    body[coordinate - 1][power].push_back(term);
    return body;
}

}  // namespace testing_support
