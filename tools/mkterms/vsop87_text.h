// SPDX-License-Identifier: GPL-3.0-or-later
// Reads the VSOP87 series of one body from the published ASCII format and encodes
// them into the term files PLANETS.NDX and PLANETS.DAT that the astronomy engine reads.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <istream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace tolvane::mkterms {

// A malformed input or a set of bodies the term files cannot hold; what() is the text
// the user sees, e.g. "VSOP87D.ear:5: term line expected ...".
class Vsop87Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One term contributes A * cos(B + C * t).
using Vsop87Term = std::array<double, 3>;

struct Vsop87Series {
    int variable = 0;  // 1 L, 2 B, 3 R
    int power = 0;     // power of t, 0..5
    std::vector<Vsop87Term> terms;
};

struct Vsop87Body {
    std::string source;                // file name, for messages
    int code = -1;                     // body code from column 3 of the term lines (3 = Earth)
    std::string version;               // as in the header, e.g. "D4"
    std::string name;                  // as in the header, e.g. "EARTH"
    std::vector<Vsop87Series> series;  // in the order of the text

    std::size_t TermCount() const;
};

// Parses one VSOP87 text file; `name` prefixes every error message.
Vsop87Body ParseVsop87(std::istream& in, const std::string& name);

// Opens and parses a file; messages name the file by its last path component.
Vsop87Body ReadVsop87File(const std::filesystem::path& path);

// The index record a body goes to: its body code, unless `requested` overrides it.
// Body codes 0 (Sun) and 9 (Earth-Moon barycentre) have no record of their own.
int RecordFor(const Vsop87Body& body, std::optional<int> requested);

struct PlacedBody {
    int record = 0;  // 0..8
    Vsop87Body body;
};

struct TermFiles {
    std::vector<std::uint8_t> ndx;  // 9 records of 18 (uint16 start, uint16 count)
    std::vector<std::uint8_t> dat;  // 24-byte records of A, B, C as doubles
};

// Lays out the bodies one after the other in the given order, each body's series in
// index order L0..L5, B0..B5, R0..R5 without gaps; all numbers little-endian.
TermFiles BuildTermFiles(const std::vector<PlacedBody>& bodies);

// Writes PLANETS.NDX and PLANETS.DAT into `dir` through temporary files and renames,
// so that an interrupted or failed run leaves no half-written term file behind.
void WriteTermFiles(const std::filesystem::path& dir, const TermFiles& files);

}  // namespace tolvane::mkterms
