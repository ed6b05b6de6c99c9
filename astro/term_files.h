// SPDX-License-Identifier: GPL-3.0-or-later
// The planetary term files PLANETS.NDX and PLANETS.DAT and the term buffer they are loaded
// into. One search step loads the Earth's series afresh and releases them again:
//   InitTermBuffer(); LoadPlanetTerms(3); SunPosition(...); FreeTermBuffer();
//
// PLANETS.DAT is a headerless run of 24-byte terms (A, B, C: little-endian doubles); a
// term contributes A·cos(B + C·τ). PLANETS.NDX holds one 72-byte record per body 0..8:
// 18 entries (Start, Count: little-endian uint16) for longitude, latitude and radius,
// powers 0..5 each. A body's series lie in PLANETS.DAT one after another in that order.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace astro {

struct TSeriesTerm {
    double A;
    double B;
    double C;
};

struct TSeriesIndex {
    std::uint16_t Start;
    std::uint16_t Count;
};

// The 18 series of a body, indexed [coordinate - 1][power]; coordinates 1 longitude,
// 2 latitude, 3 radius vector.
using TPlanetIndex = std::array<std::array<TSeriesIndex, 6>, 3>;

inline constexpr int PlanetCount = 9;
inline constexpr int MaxTerms = 2637;
inline constexpr std::size_t IndexRecordSize = 72;
inline constexpr std::size_t TermRecordSize = 24;
inline constexpr const char* IndexFileName = "PLANETS.NDX";
inline constexpr const char* TermFileName = "PLANETS.DAT";

// True when both term files lie in `folder` (given with its final separator); anything but
// a regular file or a folder under their names does not count.
bool TermFilesExist(const std::string& folder);

// Owns the index of every body, the term buffer and the next free slot. Buffer slots are
// numbered 1 to MaxTerms; after a load, a series' Start is the slot before its first term.
class PlanetTerms {
public:
    // `folder` holds the two term files; the default is the data folder of the executable.
    PlanetTerms();
    explicit PlanetTerms(std::string folder);

    // A fresh, empty buffer (any earlier one is released); NextTerm becomes 1.
    void InitTermBuffer();
    // Appends the terms of body `planet` to the buffer and points its index entries at
    // them. Bodies 9 and above are ignored without opening any file.
    void LoadPlanetTerms(int planet);
    void FreeTermBuffer();

    const std::array<TPlanetIndex, PlanetCount>& PlanetIndex() const { return planetIndex_; }
    std::int32_t NextTerm() const { return nextTerm_; }
    bool HasTermBuffer() const { return termBuffer_ != nullptr; }
    const std::string& Folder() const { return folder_; }

    // The loaded terms of one series; a series that does not lie within the loaded slots
    // raises a range error rather than being read from outside them.
    std::span<const TSeriesTerm> Series(int planet, int coordinate, int power) const;

private:
    std::string folder_;
    std::array<TPlanetIndex, PlanetCount> planetIndex_{};
    std::unique_ptr<TSeriesTerm[]> termBuffer_;
    std::int32_t nextTerm_ = 1;
};

}  // namespace astro
