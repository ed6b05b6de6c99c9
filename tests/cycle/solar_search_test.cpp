// SPDX-License-Identifier: GPL-3.0-or-later
#include "cycle/solar_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <filesystem>

#include "astro/errors.h"
#include "astro/moon.h"
#include "astro/numerics.h"
#include "astro/nutation.h"
#include "astro/solar_longitude.h"
#include "astro/sun.h"
#include "support/temp_folder.h"

using cycle::SolarSearch;

namespace {

struct Day {
    int day, month, year;
};

void ExpectLocalDay(const astro::TCalendarDate& d, Day expected) {
    EXPECT_EQ(d.Year, expected.year);
    EXPECT_EQ(d.Month, expected.month);
    EXPECT_EQ(std::trunc(d.Day), expected.day);
    // The stored instant is the local midnight ending that day: 16 h UT of the day.
    EXPECT_NEAR(d.Day - std::trunc(d.Day), 2.0 / 3.0, 1e-6);
}

}  // namespace

// Chinese New Year as published for these years (new moon in Beijing time).
TEST(SolarSearch, YearStartsAreKnownNewYearDays) {
    SolarSearch search;
    const Day cases[] = {{5, 2, 2000}, {10, 2, 2024}, {2, 2, 1984}, {5, 2, 1924},
                         {22, 1, 2023}, {25, 1, 2020}, {29, 1, 2025}, {17, 2, 2026}};
    for (const Day& c : cases) {
        SCOPED_TRACE(c.year);
        ExpectLocalDay(search.YearStart(c.year), c);
    }
}

// Winter solstices in Beijing time.
TEST(SolarSearch, WinterSolsticesAreKnownLocalDays) {
    SolarSearch search;
    const Day cases[] = {{22, 12, 2023}, {21, 12, 2024}, {21, 12, 2028}, {23, 12, 1923},
                         {22, 12, 1993}, {22, 12, 1999}};
    for (const Day& c : cases) {
        SCOPED_TRACE(c.year);
        const cycle::SolsticeResult s = search.WinterSolstice(c.year);
        ExpectLocalDay(s.date, c);
        EXPECT_EQ(s.jd, astro::DateToJD({c.year, 12, c.day + 1.0}) - 1.0 / 3.0);
    }
}

TEST(SolarSearch, ReusedResultsAreIdenticalAndCostNoSteps) {
    SolarSearch search;
    const astro::TCalendarDate first = search.YearStart(2024);
    const std::int64_t steps = search.Steps();
    EXPECT_GT(steps, 0);
    search.SetReuseResults(true);
    const astro::TCalendarDate a = search.YearStart(2024);
    const std::int64_t afterOne = search.Steps();
    const astro::TCalendarDate b = search.YearStart(2024);
    EXPECT_EQ(search.Steps(), afterOne);
    EXPECT_EQ(a.Day, first.Day);
    EXPECT_EQ(b.Day, first.Day);
    EXPECT_EQ(b.Month, first.Month);

    // Another MoonSpeed is another search.
    search.SetMoonSpeed(20);
    search.YearStart(2024);
    EXPECT_GT(search.Steps(), afterOne);
}

TEST(SolarSearch, YearStartSearchNeverHangs) {
    SolarSearch search;
    search.SetMoonSpeed(0);  // the Moon can never lead by less than 0°: refused at once
    try {
        search.YearStart(2024);
        ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Jahresbeginn nicht gefunden (MoonSpeed 0)");
    }
    EXPECT_EQ(search.Steps(), 0);
}

// With MoonSpeed 1 or 2 the Moon is rarely less than 1° or 2° ahead at a midnight after
// the new moon, so the search may pass over the conjunctions of many years; it still finds
// a day, after the first conjunction it does not pass over.
TEST(SolarSearch, SmallMoonSpeedsFindAYearStartWithinAHundredYears) {
    for (const std::uint8_t speed : {1, 2}) {
        SolarSearch search;
        search.SetMoonSpeed(speed);
        for (int year = 1900; year <= 2018; year += 2) {
            SCOPED_TRACE(std::to_string(speed) + " " + std::to_string(year));
            const astro::TCalendarDate d = search.YearStart(year);
            EXPECT_GE(d.Year, year);
            EXPECT_LT(d.Year, year + 100);
        }
    }
}

// The fast searches find exactly the day that examining every day finds, with every
// MoonSpeed, in every era: the year start of every 97th year from −9999 to 9999 with
// MoonSpeed 14 and 20, and of every 679th with MoonSpeed 1 and 2 (whose reference searches
// run for years), and the winter solstice of every 97th year.
TEST(SolarSearch, FastSearchesFindTheSameDaysAsTheReference) {
    SolarSearch fast, reference;
    reference.SetReference(true);
    for (const std::uint8_t speed : {1, 2, 14, 20}) {
        fast.SetMoonSpeed(speed);
        reference.SetMoonSpeed(speed);
        const int every = speed < 3 ? 679 : 97;
        for (int year = -9999; year <= 9999; year += every) {
            SCOPED_TRACE(std::to_string(speed) + " " + std::to_string(year));
            const astro::TCalendarDate a = fast.YearStart(year);
            const astro::TCalendarDate b = reference.YearStart(year);
            EXPECT_EQ(a.Year, b.Year);
            EXPECT_EQ(a.Month, b.Month);
            EXPECT_EQ(a.Day, b.Day);  // the same instant, bit for bit
        }
    }
    for (int year = -9999; year <= 9999; year += 97) {
        SCOPED_TRACE(year);
        const cycle::SolsticeResult a = fast.WinterSolstice(year);
        const cycle::SolsticeResult b = reference.WinterSolstice(year);
        EXPECT_EQ(a.jd, b.jd);
        EXPECT_EQ(a.date.Day, b.date.Day);
    }
    EXPECT_LT(fast.Steps() * 10, reference.Steps());
}

// The exact longitude of the fast search is the reference's, bit for bit.
TEST(SolarSearch, ExactLongitudeIsTheReferencesBitForBit) {
    astro::PlanetTerms terms;
    terms.InitTermBuffer();
    terms.LoadPlanetTerms(3);
    const astro::SolarLongitude sun(terms, 3);
    int differences = 0;
    for (double T = -120; T <= 80; T += 0.0731) {
        astro::TPosition pos;
        astro::SunPosition(terms, 3, T, pos);
        if (sun.Exact(T) != pos.Lon / astro::DegToRad) ++differences;
    }
    EXPECT_EQ(differences, 0);
}

// The bounds the fast search relies on, checked on a dense sample of instants from −9999
// to 9999: the enclosure contains the exact longitude, and neither the Sun nor the Moon's
// lead moves faster (or, for the lead, slower) in a day than the bounds derived from the
// series allow.
TEST(SolarSearch, BoundsHoldOnADenseSample) {
    astro::PlanetTerms terms;
    terms.InitTermBuffer();
    terms.LoadPlanetTerms(3);
    const astro::SolarLongitude sun(terms, 3);
    terms.FreeTermBuffer();
    double largestSun = 0, smallestLead = 1e9, largestLead = 0, widest = 0;
    int enclosed = 0, outside = 0, sunOver = 0, leadOver = 0, leadUnder = 0;
    auto lead = [](double T) {
        double dPsi, dEps;
        astro::Nutation(T, dPsi, dEps);
        astro::TPosition moon;
        astro::MoonPosition(T, moon);
        return (moon.Lon + dPsi) / astro::DegToRad;
    };
    for (int year = -9999; year <= 9999; year += 97) {
        double jd = astro::DateToJD({year, 1, 0.0}) - 1.0 / 3;
        const double absT = std::abs(astro::JulianCenturies(jd)) + 1.01;
        const double sunMax = sun.MaxMotionPerDay(absT);
        const astro::RateBounds moon = astro::MoonLongitudeRate(absT);
        const double nutation = astro::NutationLongitudeMaxRate(absT);
        double prevSun = sun.Exact(astro::JulianCenturies(jd));
        double prevMoon = lead(astro::JulianCenturies(jd));
        for (int day = 0; day < 366; day += (year % 3 == 0 ? 1 : 7)) {
            const double step = year % 3 == 0 ? 1 : 7;
            jd += step;
            const double T = astro::JulianCenturies(jd);
            const double exact = sun.Exact(T);
            const astro::LongitudeEnclosure e = sun.Enclose(T);
            if (e.decided) {
                ++enclosed;
                widest = std::max(widest, e.hi - e.lo);
                if (exact < e.lo || exact > e.hi) ++outside;
            }
            const double sunMotion = std::remainder(exact - prevSun, 360);
            const double moonLon = lead(T);
            const double leadMotion =
                std::fmod(std::fmod(moonLon - exact - (prevMoon - prevSun), 360) + 360, 360);
            largestSun = std::max(largestSun, std::abs(sunMotion) / step);
            smallestLead = std::min(smallestLead, leadMotion / step);
            largestLead = std::max(largestLead, leadMotion / step);
            if (std::abs(sunMotion) > sunMax * step) ++sunOver;
            if (leadMotion > (moon.max + nutation + sunMax) * step) ++leadOver;
            if (leadMotion < (moon.min - nutation - sunMax) * step) ++leadUnder;
            prevSun = exact;
            prevMoon = moonLon;
        }
    }
    EXPECT_GT(enclosed, 10000);
    EXPECT_EQ(outside, 0);
    EXPECT_LT(widest, 0.05);  // narrow enough to decide nearly every day
    EXPECT_EQ(sunOver, 0) << largestSun;
    EXPECT_EQ(leadOver, 0) << largestLead;
    EXPECT_EQ(leadUnder, 0) << smallestLead;
    EXPECT_GT(largestSun, 1.0);  // perihelion is in the sample
    EXPECT_LT(sun.MaxMotionPerDay(120), 1.2);  // and the bound is not far above it
    EXPECT_GT(astro::MoonLongitudeRate(120).min - astro::NutationLongitudeMaxRate(120) -
                  sun.MaxMotionPerDay(120),
              5.0);  // the lead always grows, by several degrees a day
}

TEST(SolarSearch, TermFileErrorsEndTheSearch) {
    const testing_support::TempFolder empty;
    SolarSearch search(empty.Folder());
    try {
        search.WinterSolstice(2024);
        ADD_FAILURE() << "no error";
    } catch (const astro::InOutError& e) {
        EXPECT_STREQ(e.what(), "File not found");
    }
    EXPECT_THROW(search.YearStart(2024), astro::InOutError);
}
