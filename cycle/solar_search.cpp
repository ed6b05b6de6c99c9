// The year-start and winter-solstice searches. Every examined day runs one full search
// step: the Earth's series are loaded from the term files, used for the Sun and released.
// Days on which the Sun provably cannot have passed 300° are passed over unexamined.
#include "cycle/solar_search.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "astro/moon.h"
#include "astro/numerics.h"
#include "astro/nutation.h"
#include "astro/sun.h"

namespace cycle {

namespace {

constexpr int Earth = 3;
// The Sun passes 270° once a year; a search that runs longer has term files that do not
// describe the Earth, and ends rather than hang.
constexpr int SolsticeStepLimit = 400;

astro::PlanetTerms MakeTerms(const std::string& folder) {
    return folder.empty() ? astro::PlanetTerms() : astro::PlanetTerms(folder);
}

}  // namespace

std::optional<std::uint8_t> MoonSpeedFromSetting(std::int32_t value) {
    if (value < 0 || value > 255) return std::nullopt;
    return static_cast<std::uint8_t>(value);
}

SolarSearch::SolarSearch(const std::string& termFolder)
    : terms_(MakeTerms(termFolder)), site_(astro::InitSiteConstants()) {}

void SolarSearch::SetMoonSpeed(std::uint8_t degrees) {
    if (degrees != moonSpeed_) yearStarts_.clear();
    moonSpeed_ = degrees;
}

void SolarSearch::SetReuseResults(bool reuse) {
    reuse_ = reuse;
    if (!reuse) {
        yearStarts_.clear();
        solstices_.clear();
    }
}

double SolarSearch::SunLongitude(double T) {
    ++steps_;
    terms_.InitTermBuffer();
    terms_.LoadPlanetTerms(Earth);
    astro::TPosition sun;
    astro::SunPosition(terms_, Earth, T, sun);
    terms_.FreeTermBuffer();
    return sun.Lon / astro::DegToRad;
}

astro::TCalendarDate SolarSearch::YearStart(std::int32_t year) {
    if (!reuse_) return SearchYearStart(year);
    const auto found = yearStarts_.find(year);
    if (found != yearStarts_.end()) return found->second;
    const astro::TCalendarDate date = SearchYearStart(year);
    yearStarts_.emplace(year, date);
    return date;
}

SolsticeResult SolarSearch::WinterSolstice(std::int32_t year) {
    if (!reuse_) return SearchWinterSolstice(year);
    const auto found = solstices_.find(year);
    if (found != solstices_.end()) return found->second;
    const SolsticeResult result = SearchWinterSolstice(year);
    solstices_.emplace(year, result);
    return result;
}

astro::TCalendarDate SolarSearch::SearchYearStart(std::int32_t year) {
    if (moonSpeed_ == 0) throw std::runtime_error("Jahresbeginn nicht gefunden (MoonSpeed 0)");
    double jd = astro::DateToJD({year, 1, 0.0}) + site_.ZoneOffset;
    int step = 0;
    while (step < YearStartStepLimit) {
        jd += 1;
        ++step;
        const double T = astro::JulianCenturies(jd);
        const double sunLon = SunLongitude(T);
        if (sunLon <= 300) {
            // On the next k days the Sun stays at or below sunLon + k · MaxSunMotionPerDay,
            // so with k ≤ (300 − sunLon) / MaxSunMotionPerDay none of them can stop the
            // search: pass over them, stepping the instant one day at a time exactly as
            // examining them would.
            if (dayByDay_) continue;
            const double days = std::floor((300 - sunLon) / MaxSunMotionPerDay);
            const int skip = static_cast<int>(std::min<double>(days, YearStartStepLimit - step));
            for (int k = 0; k < skip; ++k) jd += 1;
            step += skip;
            continue;
        }
        double dPsi, dEps;
        astro::Nutation(T, dPsi, dEps);
        astro::TPosition moon;
        astro::MoonPosition(T, moon);
        // The Moon's longitude may lie above 360°; it is compared as it comes.
        const double moonLon = (moon.Lon + dPsi) / astro::DegToRad;
        if (moonLon > sunLon && moonLon - sunLon < moonSpeed_) {
            astro::TCalendarDate date;
            astro::JDToDate(jd, date);
            return date;
        }
    }
    throw std::runtime_error("Jahresbeginn nicht gefunden (MoonSpeed " +
                             std::to_string(moonSpeed_) + ")");
}

SolsticeResult SolarSearch::SearchWinterSolstice(std::int32_t year) {
    double jd = astro::DateToJD({year, 12, 0.0}) + site_.ZoneOffset;
    int step = 0;
    do {
        if (++step > SolsticeStepLimit)
            throw std::runtime_error("Wintersolstitium nicht gefunden (" + std::to_string(year) + ")");
        jd += 1;
    } while (SunLongitude(astro::JulianCenturies(jd)) <= 270);
    SolsticeResult result;
    astro::JDToDate(jd, result.date);
    result.jd = jd;
    return result;
}

}  // namespace cycle
