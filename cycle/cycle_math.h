// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-day arithmetic of the cycle count.
#pragma once

#include <cstdint>

namespace cycle {

// The Julian day at 0 h of a civil date (a value ending in .5). Julian calendar up to the
// typed date 12 October 1582, Gregorian from 13 October 1582 on; impossible dates such as
// 31 February run on past the month's end.
double DayNumber(std::int32_t day, std::int32_t month, std::int32_t year);

// a modulo b in 0 … b − 1, for b > 0 and any a.
std::int32_t PositiveMod(std::int32_t a, std::int32_t b);

}  // namespace cycle
