// SPDX-License-Identifier: GPL-3.0-or-later
// The Moon's geocentric ecliptic position: geometric, without nutation or aberration.
#pragma once

#include "astro/position.h"

namespace astro {

// The mean elongation D, the Sun's mean anomaly M, the Moon's mean anomaly Mp (M') and its
// argument of latitude F, in radians in [0, 2π), and the eccentricity factor E.
void MoonArguments(double T, double& D, double& M, double& Mp, double& F, double& E);

// Lon and Lat in radians (Lon may reach past 2π, never below 0), Dist in kilometres.
void MoonPosition(double T, TPosition& pos);

// Bounds of the rate of the Moon's longitude (taken continuously, across whole turns), in
// degrees per day, for every T with |T| ≤ absT Julian centuries, derived from the series.
struct RateBounds {
    double min;
    double max;
};
RateBounds MoonLongitudeRate(double absT);

}  // namespace astro
