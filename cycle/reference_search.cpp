// SPDX-License-Identifier: GPL-3.0-or-later
// The reference searches, day by day as the calculator has always searched: every day is
// examined, and every step reads the Earth's series from the term files, uses them for the
// Sun and releases them. The fast searches must find exactly the same days.

#include "astro/moon.h"
#include "astro/numerics.h"
#include "astro/nutation.h"
#include "astro/sun.h"
#include "cycle/solar_search.h"

namespace cycle {

namespace {

constexpr int Earth = 3;

}  // namespace

double SolarSearch::ReferenceSunLongitude(double T) {
    ++steps_;
    terms_.InitTermBuffer();
    terms_.LoadPlanetTerms(Earth);
    astro::TPosition sun;
    astro::SunPosition(terms_, Earth, T, sun);
    terms_.FreeTermBuffer();
    return sun.Lon / astro::DegToRad;
}

astro::TCalendarDate SolarSearch::ReferenceYearStart(std::int32_t year) {
    double jd = astro::DateToJD({year, 1, 0.0}) + site_.ZoneOffset;
    for (int step = 0; step < YearStartStepLimit; ++step) {
        jd += 1;
        const double T = astro::JulianCenturies(jd);
        const double sunLon = ReferenceSunLongitude(T);
        if (sunLon <= 300) continue;
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
    YearStartNotFound();
}

SolsticeResult SolarSearch::ReferenceWinterSolstice(std::int32_t year) {
    double jd = astro::DateToJD({year, 12, 0.0}) + site_.ZoneOffset;
    int step = 0;
    do {
        if (++step > SolsticeStepLimit)
            SolsticeNotFound(year);
        jd += 1;
    } while (ReferenceSunLongitude(astro::JulianCenturies(jd)) <= 270);
    SolsticeResult result;
    astro::JDToDate(jd, result.date);
    result.jd = jd;
    return result;
}

}  // namespace cycle
