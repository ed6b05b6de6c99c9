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
        y = CheckedSub(y, 1);
        m = CheckedAdd(m, 12);
    }
    std::int32_t b = 0;
    if (IsGregorian(date)) {
        const std::int32_t a = y / 100;
        b = 2 - a + a / 4;
    }
    const double years = std::floor(365.25 * CheckedAdd(y, 4716));
    const double months = std::trunc(30.6001 * CheckedAdd(m, 1));
    return years + months + date.Day + b - 1524.5;
}

void JDToDate(double jd, TCalendarDate& date) {
    const std::int32_t z = Floor(jd + 0.5);
    const double f = (jd + 0.5) - z;
    std::int32_t a = z;
    if (z >= 2299161) {
        const std::int32_t alpha = Trunc((z - 1867216.25) / 36524.25);
        a = CheckedSub(CheckedAdd(CheckedAdd(z, 1), alpha), alpha / 4);
    }
    const double b = a + 1524.0;
    const std::int32_t c = Floor((b - 122.1) / 365.25);
    const std::int32_t d = Floor(365.25 * c);
    const std::int32_t e = Trunc((b - d) / 30.6001);
    date.Day = (b - d) - std::trunc(30.6001 * e) + f;
    date.Month = e < 14 ? e - 1 : e - 13;
    date.Year = date.Month > 2 ? CheckedSub(c, 4716) : CheckedSub(c, 4715);
}

double JulianCenturies(double jd) { return (jd - 2451545.0) / 36525; }

SiteConstants InitSiteConstants() { return SiteConstants{-1.0 / 3.0}; }

}  // namespace astro
