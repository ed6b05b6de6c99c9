// SPDX-License-Identifier: GPL-3.0-or-later
// Calendar dates and Julian days: the engine's time base. Local civil time is eight hours
// ahead of Universal Time; the site constants carry that offset.
#pragma once

#include <cstdint>

namespace astro {

// A calendar date whose Day carries the elapsed fraction of the day (1.5 is noon of the
// first). Years count through zero: the year before 1 is 0. Day 0.0 is 0 h of the last
// day of the previous month; days beyond the month's length run on into the next month.
struct TCalendarDate {
    std::int32_t Year = 0;
    std::int32_t Month = 1;
    double Day = 0.0;
};

// The Julian day of a date; dates up to 1582 October 4.0 are Julian, later ones Gregorian.
double DateToJD(const TCalendarDate& date);

// The calendar date of a Julian day (Julian calendar before JD 2299160.5).
void JDToDate(double jd, TCalendarDate& date);

// Julian centuries of 36525 days from J2000.0 (JD 2451545.0).
double JulianCenturies(double jd);

// The constants of the observer's site.
struct SiteConstants {
    // Added to the Julian day of a local midnight it gives the Universal Time instant:
    // local time is UT + 8 h, so one third of a day earlier.
    double ZoneOffset;
};

SiteConstants InitSiteConstants();

}  // namespace astro
