// SPDX-License-Identifier: GPL-3.0-or-later
// Searches over the positions of the Sun and the Moon, day by day: the start of the cycle
// year (the new moon after the Sun has passed 300°) and the winter solstice (the Sun
// passing 270°). Each day is a local midnight, eight hours ahead of UT. Two ways give
// the same day for every input: the reference examines every day and reads the term files
// at every step; the fast way reads them once per calculation and passes over the days on
// which the stopping rule provably cannot hold.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "astro/calendar.h"
#include "astro/solar_longitude.h"
#include "astro/term_files.h"

namespace cycle {

struct SolsticeResult {
    astro::TCalendarDate date;  // the local day at whose end the Sun is past 270°
    double jd;                  // the UT instant at which the search stopped
};

// MoonSpeed: the year starts on the first day after the Sun has passed 300° at whose end
// the Moon leads the Sun by less than this many whole degrees. It is held in one byte.
inline constexpr std::uint8_t DefaultMoonSpeed = 14;

// A stored MoonSpeed (settings file, command line) is valid when it fits its byte and is
// not 0: with 0 no year start is ever found.
inline constexpr std::int32_t LowestMoonSpeed = 1;
std::optional<std::uint8_t> MoonSpeedFromSetting(std::int32_t value);

// The year-start search gives up after this many days: 100 Julian years. A small MoonSpeed
// can pass over every conjunction for years on end (the Moon gains 11° to 15° a day on the
// Sun, so few midnights see it less than 1° or 2° ahead); a hundred years make a miss
// practically impossible for every MoonSpeed from 1 on. MoonSpeed 0 can never stop
// (0 < lead < 0) and is refused at once.
inline constexpr int YearStartStepLimit = 36525;

// The winter-solstice search gives up after this many days: the Sun passes 270° once a
// year, so a longer search has term files that do not describe the Earth.
inline constexpr int SolsticeStepLimit = 400;

class SolarSearch {
public:
    // `termFolder` holds PLANETS.NDX and PLANETS.DAT; empty means the executable's data folder.
    explicit SolarSearch(const std::string& termFolder = {});

    std::uint8_t MoonSpeed() const { return moonSpeed_; }
    void SetMoonSpeed(std::uint8_t degrees);

    // Remembers the result of each search by year, for front ends that calculate many
    // dates in one run; the searches are deterministic for given MoonSpeed and term files.
    void SetReuseResults(bool reuse);

    // The first local day, from 1 January of `year` on, at whose end the Sun is past 300°
    // and the Moon leads it by less than MoonSpeed degrees; Day carries the fraction 2/3
    // of the UT instant. Raises std::runtime_error at once for MoonSpeed 0 and after
    // YearStartStepLimit days otherwise.
    astro::TCalendarDate YearStart(std::int32_t year);

    // The first local day, from 1 December of `year` on, at whose end the Sun is past 270°.
    SolsticeResult WinterSolstice(std::int32_t year);

    // A new calculation begins: the next search reads the term files again, so that a
    // changed or vanished file is noticed.
    void NewCalculation() { sunStale_ = true; }

    // Days examined so far (results reused and days passed over not counted).
    std::int64_t Steps() const { return steps_; }

    // Search the reference way: every day examined, the term files read at every step.
    void SetReference(bool reference);

private:
    astro::TCalendarDate SearchYearStart(std::int32_t year);
    SolsticeResult SearchWinterSolstice(std::int32_t year);
    // The errors of a search that reaches its bound, in both ways alike.
    [[noreturn]] void YearStartNotFound() const;
    [[noreturn]] static void SolsticeNotFound(std::int32_t year);
    double ReferenceSunLongitude(double T);
    astro::TCalendarDate ReferenceYearStart(std::int32_t year);
    SolsticeResult ReferenceWinterSolstice(std::int32_t year);
    const astro::SolarLongitude& Sun();
    astro::TCalendarDate FastYearStart(std::int32_t year);
    SolsticeResult FastWinterSolstice(std::int32_t year);

    astro::PlanetTerms terms_;
    std::optional<astro::SolarLongitude> sun_;
    bool sunStale_ = true;
    astro::SiteConstants site_;
    std::uint8_t moonSpeed_ = DefaultMoonSpeed;
    bool reuse_ = false;
    bool reference_ = false;
    std::map<std::int32_t, astro::TCalendarDate> yearStarts_;
    std::map<std::int32_t, SolsticeResult> solstices_;
    std::int64_t steps_ = 0;
};

}  // namespace cycle
