// SPDX-License-Identifier: GPL-3.0-or-later
// Julian-day conversions with the Gregorian reform of 1582 October 15.
//
// The whole parts of quantities that can turn negative (the year count in DateToJD and
// the day counts in JDToDate) are taken toward minus infinity, so that every date back to
// year -10000 converts and round-trips as a true Julian-calendar date.
#include "astro/calendar.h"

#include <cmath>

#include "astro/errors.h"

namespace astro {

namespace {

bool IsGregorian(const TCalendarDate& d) {
    if (d.Year != 1582) return d.Year > 1582;
    if (d.Month != 10) return d.Month > 10;
    return d.Day > 4.0;
}

}  // namespace

double DateToJD(const TCalendarDate& date) {
    std::int32_t y = date.Year;
    std::int32_t m = date.Month;
    if (m <= 2) {
        y = CheckedSub(y, 1, "DateToJD: year");
        m = CheckedAdd(m, 12, "DateToJD: month");
    }
    std::int32_t b = 0;
    if (IsGregorian(date)) {
        const std::int32_t a = y / 100;
        b = 2 - a + a / 4;
    }
    const double years = std::floor(365.25 * CheckedAdd(y, 4716, "DateToJD: year"));
    const double months = std::trunc(30.6001 * CheckedAdd(m, 1, "DateToJD: month"));
    return years + months + date.Day + b - 1524.5;
}

void JDToDate(double jd, TCalendarDate& date) {
    const std::int32_t z = Floor(jd + 0.5, "JDToDate: day count of JD");
    const double f = (jd + 0.5) - z;
    std::int32_t a = z;
    if (z >= 2299161) {
        const std::int32_t alpha = Trunc((z - 1867216.25) / 36524.25, "JDToDate: centuries");
        a = CheckedSub(CheckedAdd(CheckedAdd(z, 1, "JDToDate: day count"), alpha, "JDToDate: day count"),
                       alpha / 4, "JDToDate: day count");
    }
    const double b = a + 1524.0;
    const std::int32_t c = Floor((b - 122.1) / 365.25, "JDToDate: years");
    const std::int32_t d = Floor(365.25 * c, "JDToDate: days of the years");
    const std::int32_t e = Trunc((b - d) / 30.6001, "JDToDate: months");
    date.Day = (b - d) - std::trunc(30.6001 * e) + f;
    date.Month = e < 14 ? e - 1 : e - 13;
    date.Year = date.Month > 2 ? CheckedSub(c, 4716, "JDToDate: year") : CheckedSub(c, 4715, "JDToDate: year");
}

double JulianCenturies(double jd) { return (jd - 2451545.0) / 36525; }

SiteConstants InitSiteConstants() { return SiteConstants{-1.0 / 3.0}; }

}  // namespace astro
