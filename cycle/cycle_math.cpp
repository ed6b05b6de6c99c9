// SPDX-License-Identifier: GPL-3.0-or-later
// Day numbers in extended precision, as the cycle count has always computed them.
#include "cycle/cycle_math.h"

#include <cmath>

namespace cycle {

double DayNumber(std::int32_t day, std::int32_t month, std::int32_t year) {
    if (month < 3) {
        year -= 1;
        month += 12;
    }
    // Before year 0 the year count is taken 0.75 lower, which makes the truncation
    // toward zero land on the right day of a Julian leap cycle.
    const long double yd = year >= 0 ? std::truncl(365.25L * year)
                                     : std::truncl(365.25L * year - 0.75L);
    const long double md = std::truncl(30.6001L * (month + 1));
    const double s = static_cast<double>(md + yd + day + 1720996.5L);
    if (s < 2299170.5) return s - 2;
    const long double y = year;
    return static_cast<double>(s + (std::truncl(y / 400) - std::truncl(y / 100)));
}

std::int32_t PositiveMod(std::int32_t a, std::int32_t b) {
    const std::int32_t r = a % b;
    return r < 0 ? r + b : r;
}

}  // namespace cycle
