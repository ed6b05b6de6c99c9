#include "cycle/solar_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <filesystem>

#include "astro/errors.h"
#include "astro/numerics.h"
#include "astro/sun.h"

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

// Passing over the days on which the Sun cannot have reached 300° finds exactly the day
// that examining every day finds, with every MoonSpeed, in every era.
TEST(SolarSearch, PassingOverDaysFindsTheSameDayAsExaminingEveryDay) {
    struct Sample {
        std::uint8_t speed;
        int first, last, every;
    };
    const Sample samples[] = {{14, -9999, 9999, 397}, {20, -9950, 9999, 797},
                              {1, -9000, 9000, 1499}, {2, -8500, 9000, 1499}};
    SolarSearch fast, reference;
    reference.SetDayByDay(true);
    for (const Sample& s : samples) {
        fast.SetMoonSpeed(s.speed);
        reference.SetMoonSpeed(s.speed);
        for (int year = s.first; year <= s.last; year += s.every) {
            SCOPED_TRACE(std::to_string(s.speed) + " " + std::to_string(year));
            const astro::TCalendarDate a = fast.YearStart(year);
            const astro::TCalendarDate b = reference.YearStart(year);
            EXPECT_EQ(a.Year, b.Year);
            EXPECT_EQ(a.Month, b.Month);
            EXPECT_EQ(a.Day, b.Day);  // the same instant, bit for bit
        }
    }
    EXPECT_LT(fast.Steps(), reference.Steps() / 2);
}

// The bound the search relies on: the Sun's longitude never advances by
// MaxSunMotionPerDay degrees from one local midnight to the next.
TEST(SolarSearch, DailySunMotionStaysBelowTheBound) {
    astro::PlanetTerms terms;
    terms.InitTermBuffer();
    terms.LoadPlanetTerms(3);
    double largest = 0;
    for (int year = -9999; year <= 9999; year += 499) {
        double jd = astro::DateToJD({year, 1, 0.0}) - 1.0 / 3;
        astro::TPosition sun;
        astro::SunPosition(terms, 3, astro::JulianCenturies(jd), sun);
        double previous = sun.Lon;
        for (int day = 0; day < 366; ++day) {
            jd += 1;
            astro::SunPosition(terms, 3, astro::JulianCenturies(jd), sun);
            double motion = (sun.Lon - previous) / astro::DegToRad;
            if (motion < 0) motion += 360;
            largest = std::max(largest, motion);
            previous = sun.Lon;
        }
    }
    terms.FreeTermBuffer();
    EXPECT_GT(largest, 1.0);  // perihelion is in the sample
    EXPECT_LT(largest, cycle::MaxSunMotionPerDay);
}

TEST(SolarSearch, TermFileErrorsEndTheSearch) {
    const auto empty = std::filesystem::temp_directory_path() / "tolvane-no-term-files";
    std::filesystem::create_directories(empty);
    SolarSearch search(empty.string());
    try {
        search.WinterSolstice(2024);
        ADD_FAILURE() << "no error";
    } catch (const astro::InOutError& e) {
        EXPECT_STREQ(e.what(), "File not found");
    }
    EXPECT_THROW(search.YearStart(2024), astro::InOutError);
}
