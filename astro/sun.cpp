// SPDX-License-Identifier: GPL-3.0-or-later
// Evaluation of the planetary series: each coordinate is a polynomial in τ (Julian
// millennia) whose coefficients are sums of A·cos(B + C·τ).
#include "astro/sun.h"

#include <cmath>

#include "astro/numerics.h"

namespace astro {

void PlanetPosition(const PlanetTerms& terms, int planet, double T, TPosition& pos) {
    const double tau = T / 10;
    double totals[3];
    for (int c = 1; c <= 3; ++c) {
        double total = 0.0;
        double p = 1.0;
        for (int j = 0; j <= 5; ++j) {
            double s = 0.0;
            for (const TSeriesTerm& term : terms.Series(planet, c, j))
                s += term.A * std::cos(term.B + term.C * tau);
            total += s * p;
            p *= tau;
        }
        totals[c - 1] = total;
    }
    pos.Lon = ReduceAngle(totals[0]);
    pos.Lat = totals[1];
    pos.Dist = totals[2];
}

void SunPosition(const PlanetTerms& terms, int planet, double T, TPosition& pos) {
    PlanetPosition(terms, planet, T, pos);
    pos.Lon = ReduceAngle(pos.Lon + Pi);
    pos.Lat = -pos.Lat;
}

}  // namespace astro
