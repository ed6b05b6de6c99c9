// SPDX-License-Identifier: GPL-3.0-or-later
// The Sun's geometric longitude as the searches need it, from the Earth's longitude series
// loaded once: exactly as SunPosition computes it (the same terms, order and operations,
// so the same bits), and as a cheap enclosure from the largest terms with a bound on all the
// others. Also the largest daily motion of the Sun that the series allow.
#pragma once

#include <array>
#include <vector>

#include "astro/term_files.h"

namespace astro {

// An interval of degrees that contains the exact value; `decided` is false where the
// enclosure could not be formed (near 0°/360°, where the reduction to one turn jumps).
struct LongitudeEnclosure {
    double lo = 0.0;
    double hi = 0.0;
    bool decided = false;
};

class SolarLongitude {
public:
    // Takes the longitude series of body `planet` from terms loaded in `terms`.
    SolarLongitude(const PlanetTerms& terms, int planet);

    // True when the longitude series loaded in `terms` are exactly the ones taken here, so
    // that this object can stand for them (preparing it costs more than comparing).
    bool Matches(const PlanetTerms& terms, int planet) const;

    // SunPosition(terms, planet, T).Lon in degrees, bit for bit.
    double Exact(double T) const;

    // An interval that contains Exact(T), from the largest terms of each series.
    LongitudeEnclosure Enclose(double T) const;

    // An upper bound of the Sun's motion in degrees from one day to the next, for every T
    // with |T| ≤ absT (Julian centuries).
    double MaxMotionPerDay(double absT) const;

private:
    struct Series {
        std::vector<TSeriesTerm> all;      // in the file's order, for the exact sum
        std::vector<TSeriesTerm> largest;  // the terms of largest |A|
        double restBound = 0.0;            // Σ|A| of the terms not among the largest
        double absSum = 0.0;               // Σ|A| of all terms
        double rateSum = 0.0;              // Σ|A·C| of all terms
    };
    std::array<Series, 6> powers_;
};

}  // namespace astro
