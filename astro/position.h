// SPDX-License-Identifier: GPL-3.0-or-later
// An ecliptic position: longitude and latitude in radians and a distance.
#pragma once

namespace astro {

struct TPosition {
    double Lon = 0.0;
    double Lat = 0.0;
    double Dist = 0.0;
};

}  // namespace astro
