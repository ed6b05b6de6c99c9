// SPDX-License-Identifier: GPL-3.0-or-later
// Loading a body's series from the term files into the term buffer.
#include "astro/term_files.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include "astro/errors.h"
#include "astro/record_file.h"
#include "platform/locations.h"

namespace astro {

namespace {

std::uint16_t LoadLE16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

// Reads `count` term records, which are little-endian doubles A, B, C, straight into the
// buffer slots.
void ReadTerms(RecordFile& file, TSeriesTerm* slots, std::int32_t count) {
    static_assert(sizeof(TSeriesTerm) == TermRecordSize);
    if (count <= 0) return;
    file.Read(slots, static_cast<std::size_t>(count));
    if constexpr (std::endian::native == std::endian::big) {
        for (std::int32_t i = 0; i < count; ++i) {
            for (double* d : {&slots[i].A, &slots[i].B, &slots[i].C}) {
                *d = std::bit_cast<double>(__builtin_bswap64(std::bit_cast<std::uint64_t>(*d)));
            }
        }
    }
}

TPlanetIndex DecodeIndex(const unsigned char* raw) {
    TPlanetIndex index;
    for (int c = 0; c < 3; ++c) {
        for (int j = 0; j < 6; ++j) {
            const unsigned char* e = raw + 4 * (6 * c + j);
            index[c][j] = TSeriesIndex{LoadLE16(e), LoadLE16(e + 2)};
        }
    }
    return index;
}

std::string WithSeparator(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

}  // namespace

namespace {

// A FIFO or a device is no term file. A folder counts as present so that the load says
// what is wrong with it instead of "not found".
bool TermFilePresent(const std::string& path) {
    std::error_code ec;
    const auto type = std::filesystem::status(path, ec).type();
    return type == std::filesystem::file_type::regular ||
           type == std::filesystem::file_type::directory;
}

}  // namespace

bool TermFilesExist(const std::string& folder) {
    return TermFilePresent(folder + IndexFileName) && TermFilePresent(folder + TermFileName);
}

PlanetTerms::PlanetTerms() : PlanetTerms(platform::DataFolder()) {}

PlanetTerms::PlanetTerms(std::string folder) : folder_(WithSeparator(std::move(folder))) {}

void PlanetTerms::InitTermBuffer() {
    nextTerm_ = 1;
    termBuffer_ = std::make_unique_for_overwrite<TSeriesTerm[]>(MaxTerms);
}

void PlanetTerms::FreeTermBuffer() { termBuffer_.reset(); }

void PlanetTerms::LoadPlanetTerms(int planet) {
    if (planet >= PlanetCount) return;
    if (planet < 0)
        throw RangeError("Range check error: LoadPlanetTerms: body " + std::to_string(planet) +
                         " is negative");
    if (!termBuffer_) throw std::logic_error("LoadPlanetTerms before InitTermBuffer");

    RecordFile indexFile(folder_ + IndexFileName, IndexRecordSize, IndexRecordSize);
    RecordFile dataFile(folder_ + TermFileName, TermRecordSize, MaxTerms * TermRecordSize);

    unsigned char raw[IndexRecordSize];
    indexFile.Seek(planet);
    indexFile.Read(raw);
    TPlanetIndex& index = planetIndex_[planet];
    index = DecodeIndex(raw);

    // The series follow one another from the first one on, so one positioning suffices;
    // delta turns record numbers of the file into buffer positions.
    const std::int32_t first = index[0][0].Start;
    const std::int32_t delta = nextTerm_ - first - 1;
    dataFile.Seek(first);

    bool overflow = false;
    for (auto& coordinate : index) {
        for (TSeriesIndex& series : coordinate) {
            const std::int32_t room = MaxTerms - (nextTerm_ - 1);
            const std::int32_t take = std::min<std::int32_t>(series.Count, room);
            ReadTerms(dataFile, &termBuffer_[nextTerm_ - 1], take);
            nextTerm_ += take;
            if (take < series.Count) {
                overflow = true;
                break;
            }
            const std::int32_t start = series.Start + delta;
            if (start < 0 || start > 0xFFFF)
                throw RangeError("Range check error: LoadPlanetTerms: series start " +
                                 std::to_string(start) + " outside 0..65535");
            series.Start = static_cast<std::uint16_t>(start);
        }
        if (overflow) break;
    }
    if (overflow) {
        // The line also goes to the standard output, where a console user sees it.
        const TermCapacityError error;
        std::printf("%s\n", error.what());
        std::fflush(stdout);
        dataFile.Close();
        indexFile.Close();
        throw error;
    }
    dataFile.Close();
    indexFile.Close();
}

std::span<const TSeriesTerm> PlanetTerms::Series(int planet, int coordinate, int power) const {
    if (planet < 0 || planet >= PlanetCount || coordinate < 1 || coordinate > 3 || power < 0 ||
        power > 5)
        throw RangeError("Range check error: series (body " + std::to_string(planet) +
                         ", coordinate " + std::to_string(coordinate) + ", power " +
                         std::to_string(power) + ") does not exist");
    const TSeriesIndex& series = planetIndex_[planet][coordinate - 1][power];
    if (series.Count == 0) return {};
    if (!termBuffer_ || series.Start + series.Count > nextTerm_ - 1)
        throw RangeError("Term series outside the loaded terms");
    return {termBuffer_.get() + series.Start, series.Count};
}

}  // namespace astro
