// SPDX-License-Identifier: GPL-3.0-or-later
#include "cycle/cycle_math.h"

#include <gtest/gtest.h>

#include <climits>

#include "astro/calendar.h"

using cycle::DayNumber;
using cycle::PositiveMod;

TEST(CycleMath, DayNumberOfKnownDates) {
    EXPECT_EQ(DayNumber(1, 1, 2000), 2451544.5);
    EXPECT_EQ(DayNumber(15, 10, 1582), 2299160.5);
    EXPECT_EQ(DayNumber(4, 10, 1582), 2299159.5);
    EXPECT_EQ(DayNumber(1, 1, -4712), -0.5);
    // The switch lies between the typed 12 October (still Julian) and 13 October.
    EXPECT_EQ(DayNumber(12, 10, 1582), 2299167.5);
    EXPECT_EQ(DayNumber(13, 10, 1582), 2299158.5);
    // Impossible dates run on past the month's end.
    EXPECT_EQ(DayNumber(31, 2, 2023), DayNumber(28, 2, 2023) + 3);
    EXPECT_EQ(DayNumber(31, 2, 2024), DayNumber(3, 3, 2024) - 1);
    EXPECT_EQ(DayNumber(31, 4, -500), DayNumber(1, 5, -500));
}

// The day count agrees with the engine's Julian days on every real date the calculator
// accepts, back to year -10000, except for the typed days 5 to 12 October 1582.
TEST(CycleMath, DayNumberAgreesWithTheEnginesCalendar) {
    int mismatches = 0;
    for (std::int32_t year = -10000; year <= 9999; ++year)
        for (std::int32_t month = 1; month <= 12; ++month)
            for (std::int32_t day = 1; day <= 31; ++day) {
                if (year == 1582 && month == 10 && day >= 5 && day <= 12) continue;
                const double jd = astro::DateToJD({year, month, static_cast<double>(day)});
                if (DayNumber(day, month, year) != jd && ++mismatches <= 5)
                    ADD_FAILURE() << day << "." << month << "." << year << ": "
                                  << DayNumber(day, month, year) << " vs " << jd;
            }
    EXPECT_EQ(mismatches, 0);
}

TEST(CycleMath, PositiveModIsAlwaysInRange) {
    struct Case {
        std::int32_t a, b, r;
    };
    const Case cases[] = {
        {0, 60, 0},   {59, 60, 59},  {60, 60, 0},    {-1, 60, 59},  {-60, 60, 0},
        {-61, 60, 59}, {1923 - 1924, 12, 11}, {2000 - 1924, 60, 16}, {-11924, 60, 16},
        {INT_MIN, 60, 52}, {INT_MAX, 60, 7}, {-3, 5, 2},
    };
    for (const Case& c : cases) EXPECT_EQ(PositiveMod(c.a, c.b), c.r) << c.a << " mod " << c.b;
}
