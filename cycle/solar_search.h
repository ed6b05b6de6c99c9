// Day-by-day searches over the positions of the Sun and the Moon: the start of the cycle
// year (the new moon after the Sun has passed 300°) and the winter solstice (the Sun
// passing 270°). Each examined day is a local midnight, eight hours ahead of UT.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "astro/calendar.h"
#include "astro/term_files.h"

namespace cycle {

struct SolsticeResult {
    astro::TCalendarDate date;  // the local day at whose end the Sun is past 270°
    double jd;                  // the UT instant at which the search stopped
};

// The year-start search gives up after this many days: ten years. With MoonSpeed 0 its
// stop rule can never hold, and very small values can pass over every conjunction.
inline constexpr int YearStartStepLimit = 3660;

class SolarSearch {
public:
    // `termFolder` holds PLANETS.NDX and PLANETS.DAT; empty means the program folder.
    explicit SolarSearch(const std::string& termFolder = {});

    std::uint8_t MoonSpeed() const { return moonSpeed_; }
    void SetMoonSpeed(std::uint8_t degrees);

    // Remembers the result of each search by year, for front ends that calculate many
    // dates in one run; the searches are deterministic for given MoonSpeed and term files.
    void SetReuseResults(bool reuse);

    // The first local day, from 1 January of `year` on, at whose end the Sun is past 300°
    // and the Moon leads it by less than MoonSpeed degrees; Day carries the fraction 2/3
    // of the UT instant. Raises std::runtime_error after YearStartStepLimit days.
    astro::TCalendarDate YearStart(std::int32_t year);

    // The first local day, from 1 December of `year` on, at whose end the Sun is past 270°.
    SolsticeResult WinterSolstice(std::int32_t year);

    // Search steps run so far (days examined, results reused not counted).
    std::int64_t Steps() const { return steps_; }

private:
    double SunLongitude(double T);
    astro::TCalendarDate SearchYearStart(std::int32_t year);
    SolsticeResult SearchWinterSolstice(std::int32_t year);

    astro::PlanetTerms terms_;
    astro::SiteConstants site_;
    std::uint8_t moonSpeed_ = 14;
    bool reuse_ = false;
    std::map<std::int32_t, astro::TCalendarDate> yearStarts_;
    std::map<std::int32_t, SolsticeResult> solstices_;
    std::int64_t steps_ = 0;
};

}  // namespace cycle
