#include "cycle/solar_search.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "astro/errors.h"
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
    EXPECT_GT(steps, 30);  // from 1 January to 10 February, one step per day
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
    search.SetMoonSpeed(0);  // the Moon can never lead by less than 0°
    try {
        search.YearStart(2024);
        ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Jahresbeginn nicht gefunden (MoonSpeed 0)");
    }
    EXPECT_EQ(search.Steps(), cycle::YearStartStepLimit);

    // A small limit passes over conjunctions and may end in a later year, but it ends.
    search.SetMoonSpeed(1);
    const astro::TCalendarDate d = search.YearStart(2024);
    EXPECT_GE(d.Year, 2024);
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
