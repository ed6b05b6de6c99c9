// SPDX-License-Identifier: GPL-3.0-or-later
#include "astro/calendar.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "astro/errors.h"

using astro::DateToJD;
using astro::JDToDate;
using astro::TCalendarDate;

namespace {

TCalendarDate FromJD(double jd) {
    TCalendarDate d;
    JDToDate(jd, d);
    return d;
}

}  // namespace

TEST(Calendar, KnownJulianDays) {
    struct Case {
        TCalendarDate date;
        double jd;
    };
    const Case cases[] = {
        {{2000, 1, 1.5}, 2451545.0},
        {{1957, 10, 4.81}, 2436116.31},
        {{333, 1, 27.5}, 1842713.0},      // Julian calendar
        {{1582, 10, 4.0}, 2299159.5},     // last Julian day …
        {{1582, 10, 15.0}, 2299160.5},    // … and the next day, the first Gregorian one
        {{1582, 10, 4.5}, 2299150.0},     // a fraction past the 4th already counts Gregorian
        {{-4712, 1, 1.5}, 0.0},
        {{2024, 1, 0.0}, 2460309.5},      // day 0 is the last day of the previous month
        {{1987, 4, 10.0}, 2446895.5},
        {{-1000, 7, 12.5}, 1356001.0},    // Meeus, example 7.b
        {{-1001, 8, 17.9}, 1355671.4},
        {{-4713, 12, 31.5}, -1.0},        // before the epoch the year count stays Julian
        {{-4716, 3, 1.0}, -1401.5},
        {{-4717, 3, 1.0}, -1767.5},    // a leap day -4716 February 29 lies between
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.date.Year << "-" << c.date.Month << "-" << c.date.Day);
        EXPECT_NEAR(DateToJD(c.date), c.jd, 1e-9);
    }
    EXPECT_EQ(astro::JulianCenturies(2451545.0), 0.0);
    EXPECT_NEAR(astro::JulianCenturies(2446895.5), -0.127296372348, 1e-12);
}

TEST(Calendar, DatesOfJulianDays) {
    struct Case {
        double jd;
        std::int32_t year, month;
        double day;
    };
    const Case cases[] = {
        {2436116.31, 1957, 10, 4.81},
        {2460309.5, 2023, 12, 31.0},
        {2299160.5, 1582, 10, 15.0},
        {2299159.5, 1582, 10, 4.0},
        {0.0, -4712, 1, 1.5},
        {-0.5, -4712, 1, 1.0},
        // Below JD -0.5 the day counts go toward minus infinity: a true Julian date, the
        // same instant as -4712 January 0.9.
        {-0.6, -4713, 12, 31.9},
        {-1.0, -4713, 12, 31.5},
        {-1767.5, -4717, 3, 1.0},
        {-1768.5, -4717, 2, 28.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "JD " << c.jd);
        const TCalendarDate d = FromJD(c.jd);
        EXPECT_EQ(d.Year, c.year);
        EXPECT_EQ(d.Month, c.month);
        EXPECT_NEAR(d.Day, c.day, 1e-9);
    }
}

TEST(Calendar, LocalMidnightIsTheAfternoonBeforeInUniversalTime) {
    const astro::SiteConstants site = astro::InitSiteConstants();
    EXPECT_EQ(site.ZoneOffset, -1.0 / 3.0);
    const double jd = DateToJD({2024, 2, 10.0}) + site.ZoneOffset;
    EXPECT_NEAR(jd, 2460350.1666666667, 1e-9);
    const TCalendarDate d = FromJD(jd);
    EXPECT_EQ(d.Year, 2024);
    EXPECT_EQ(d.Month, 2);
    EXPECT_NEAR(d.Day, 9.0 + 2.0 / 3.0, 1e-9);
}

// Every day from year -10000 to 9999, at a few hours, converts to a Julian day and back
// to itself, and consecutive days are one Julian day apart, across the reform too.
TEST(Calendar, RoundTripsThroughTwentyThousandYears) {
    const int monthLength[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    double previous = DateToJD({-10000, 1, 1.0}) - 1.0;
    int failures = 0;
    for (std::int32_t year = -10000; year <= 9999 && failures < 5; ++year) {
        const bool leap = year % 4 == 0 && (year <= 1582 || year % 100 != 0 || year % 400 == 0);
        for (int month = 1; month <= 12; ++month) {
            const int days = monthLength[month - 1] + (month == 2 && leap ? 1 : 0);
            for (int day = 1; day <= days; ++day) {
                if (year == 1582 && month == 10 && day > 4 && day < 15) continue;
                const double jd = DateToJD({year, month, static_cast<double>(day)});
                if (jd - previous != 1.0) {
                    ADD_FAILURE() << year << "-" << month << "-" << day << " is " << jd - previous
                                  << " days after the day before";
                    ++failures;
                }
                previous = jd;
                for (double fraction : {0.0, 0.25, 2.0 / 3.0}) {
                    const TCalendarDate back = FromJD(jd + fraction);
                    if (back.Year != year || back.Month != month ||
                        std::fabs(back.Day - (day + fraction)) > 1e-6) {
                        ADD_FAILURE() << year << "-" << month << "-" << day << "+" << fraction
                                      << " came back as " << back.Year << "-" << back.Month
                                      << "-" << back.Day;
                        ++failures;
                    }
                }
            }
        }
    }
    EXPECT_EQ(failures, 0);
}

// Each error says which routine failed on which value.
TEST(Calendar, OutOfRangeValuesRaiseErrorsInsteadOfWrapping) {
    TCalendarDate d;
    auto what = [](auto&& call) {
        try {
            call();
        } catch (const std::exception& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_THROW(JDToDate(-1e12, d), astro::RangeError);
    EXPECT_EQ(what([&] { JDToDate(1e12, d); }),
              "Range check error: JDToDate: day count of JD 1e+12 does not fit a 32-bit integer");
    EXPECT_EQ(what([&] { JDToDate(std::nan(""), d); }),
              "Range check error: JDToDate: day count of JD nan does not fit a 32-bit integer");
    EXPECT_THROW(DateToJD({INT_MIN, 1, 1.0}), astro::OverflowError);  // y - 1
    EXPECT_EQ(what([] { DateToJD({INT_MAX, 5, 1.0}); }),
              "Integer overflow: DateToJD: year 2147483647 + 4716 does not fit a 32-bit integer");
    EXPECT_EQ(what([] { DateToJD({2000, INT_MAX, 1.0}); }),
              "Integer overflow: DateToJD: month 2147483647 + 1 does not fit a 32-bit integer");
}
