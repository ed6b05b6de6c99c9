// SPDX-License-Identifier: GPL-3.0-or-later
// IAU 1980 nutation, truncated to its 63 largest terms (Meeus, Astronomical Algorithms,
// Table 22.A).
#pragma once

namespace astro {

// Nutation in longitude (dPsi) and in obliquity (dEps), radians, at T Julian centuries
// from J2000.0.
void Nutation(double T, double& dPsi, double& dEps);

// An upper bound of |d(dPsi)/dt| in degrees per day for every T with |T| ≤ absT.
double NutationLongitudeMaxRate(double absT);

}  // namespace astro
