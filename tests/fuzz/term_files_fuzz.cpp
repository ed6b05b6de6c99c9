// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the term-file loader through real files: the input is split into PLANETS.NDX and
// PLANETS.DAT in a private folder, and a body is loaded and its series taken.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "astro/errors.h"
#include "astro/term_files.h"

namespace {

std::string folderPath;

void RemoveFolder() {
    std::error_code ec;
    std::filesystem::remove_all(folderPath, ec);
}

// Made once per run, in memory (/dev/shm) where there is one, for speed; removed when the
// run ends normally.
const std::string& Folder() {
    if (folderPath.empty()) {
        const char* base = std::filesystem::exists("/dev/shm") ? "/dev/shm" : "/tmp";
        std::string pattern = std::string(base) + "/tolvane-fuzz-XXXXXX";
        if (!::mkdtemp(pattern.data())) std::abort();
        folderPath = pattern + "/";
        std::atexit(RemoveFolder);
    }
    return folderPath;
}

void WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0 || (size > 0 && ::write(fd, data, size) != static_cast<ssize_t>(size))) std::abort();
    ::close(fd);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    // Byte 0: the body to load; bytes 1-2: the length of the index file; then its bytes,
    // then the term file's.
    const int planet = data[0] % 10;
    const std::size_t indexSize = std::min<std::size_t>(data[1] | data[2] << 8, size - 3);
    WriteFile(Folder() + astro::IndexFileName, data + 3, indexSize);
    WriteFile(Folder() + astro::TermFileName, data + 3 + indexSize, size - 3 - indexSize);
    astro::PlanetTerms terms(Folder());
    terms.InitTermBuffer();
    try {
        terms.LoadPlanetTerms(planet);
    } catch (const astro::InOutError&) {
    } catch (const astro::RangeError&) {
    } catch (const astro::TermCapacityError&) {
    }
    for (int coordinate = 1; coordinate <= 3; ++coordinate) {
        for (int power = 0; power <= 5; ++power) {
            try {
                double sum = 0;
                for (const astro::TSeriesTerm& t : terms.Series(planet % 9, coordinate, power))
                    sum += t.A;
                static_cast<void>(sum);
            } catch (const astro::RangeError&) {
            }
        }
    }
    return 0;
}
