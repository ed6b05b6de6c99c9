// SPDX-License-Identifier: GPL-3.0-or-later
// The Sun's longitude from the Earth's longitude series: exact, enclosed, and its motion.
#include "astro/solar_longitude.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "astro/numerics.h"

namespace astro {

namespace {

constexpr int Longitude = 1;

// How many of the largest terms of each power the enclosure sums. The higher powers are
// short and multiplied by |τ|^j, up to 12^5 in the year −9999, so they are taken whole.
constexpr std::array<std::size_t, 6> EnclosureTerms = {40, 16, 10, 1000, 1000, 1000};

// Julian millennia per day.
constexpr double MillenniaPerDay = 1.0 / 365250;

}  // namespace

SolarLongitude::SolarLongitude(const PlanetTerms& terms, int planet) {
    for (int j = 0; j <= 5; ++j) {
        Series& s = powers_[j];
        const auto series = terms.Series(planet, Longitude, j);
        s.all.assign(series.begin(), series.end());
        std::vector<TSeriesTerm> byAmplitude = s.all;
        std::stable_sort(byAmplitude.begin(), byAmplitude.end(),
                         [](const TSeriesTerm& a, const TSeriesTerm& b) {
                             return std::abs(a.A) > std::abs(b.A);
                         });
        const std::size_t keep = std::min(EnclosureTerms[j], byAmplitude.size());
        s.largest.assign(byAmplitude.begin(), byAmplitude.begin() + keep);
        for (std::size_t i = 0; i < byAmplitude.size(); ++i) {
            const double a = std::abs(byAmplitude[i].A);
            s.absSum += a;
            s.rateSum += a * std::abs(byAmplitude[i].C);
            if (i >= keep) s.restBound += a;
        }
    }
}

bool SolarLongitude::Matches(const PlanetTerms& terms, int planet) const {
    for (int j = 0; j <= 5; ++j) {
        const auto loaded = terms.Series(planet, Longitude, j);
        const std::vector<TSeriesTerm>& mine = powers_[j].all;
        if (loaded.size() != mine.size() ||
            (!mine.empty() &&
             std::memcmp(loaded.data(), mine.data(), mine.size() * sizeof(TSeriesTerm)) != 0))
            return false;
    }
    return true;
}

// The same sums, in the same order and with the same operations, as PlanetPosition's
// longitude, then the same two reductions as SunPosition and the searches' conversion.
double SolarLongitude::Exact(double T) const {
    const double tau = T / 10;
    double total = 0.0;
    double p = 1.0;
    for (const Series& series : powers_) {
        double s = 0.0;
        for (const TSeriesTerm& term : series.all) s += term.A * std::cos(term.B + term.C * tau);
        total += s * p;
        p *= tau;
    }
    return ReduceAngle(ReduceAngle(total) + Pi) / DegToRad;
}

// With L = Σ_j s_j·τ^j and s_j = Σ A·cos(B + C·τ) over the terms of power j, split each s_j
// into the sum over its largest terms, l_j, and the rest, |s_j − l_j| ≤ Σ_rest |A| = R_j:
//     |L − Σ_j l_j·τ^j| ≤ Σ_j R_j·|τ|^j.
// The exact value is a floating-point sum of at most a few hundred terms per power, whose
// rounding stays below 10⁻¹³ of Σ_j (Σ|A|)_j·|τ|^j, and the reduction to one turn rounds by
// about 10⁻¹⁶·|L|; the slack added below is a hundred times both. The Sun's longitude is
// L + π reduced to one turn, so the interval carries over unless it straddles a whole turn.
LongitudeEnclosure SolarLongitude::Enclose(double T) const {
    const double tau = T / 10;
    const double absTau = std::abs(tau);
    double approx = 0.0, bound = 0.0, magnitude = 0.0;
    double p = 1.0, q = 1.0;
    for (const Series& series : powers_) {
        double s = 0.0;
        for (const TSeriesTerm& term : series.largest)
            s += term.A * std::cos(term.B + term.C * tau);
        approx += s * p;
        bound += series.restBound * q;
        magnitude += series.absSum * q;
        p *= tau;
        q *= absTau;
    }
    const double slack = 1e-11 * magnitude + 1e-14 * std::abs(approx) + 1e-12;
    const double lo = approx + Pi - bound - slack;
    const double hi = approx + Pi + bound + slack;
    const double turns = std::floor(lo / TwoPi);
    LongitudeEnclosure e;
    const double loInTurn = lo - turns * TwoPi;
    const double hiInTurn = hi - turns * TwoPi;
    // Keep clear of both ends of the turn, where the exact reduction may land either side.
    constexpr double Edge = 1e-6;
    if (loInTurn < Edge || hiInTurn > TwoPi - Edge) return e;
    e.lo = loInTurn / DegToRad - 1e-9;
    e.hi = hiInTurn / DegToRad + 1e-9;
    e.decided = true;
    return e;
}

// dL/dτ = Σ_j (s_j'·τ^j + j·s_j·τ^(j−1)) with |s_j'| ≤ Σ|A·C| and |s_j| ≤ Σ|A|, so for
// |τ| ≤ t:  |dL/dτ| ≤ Σ_j (Σ|A·C|)_j·t^j + j·(Σ|A|)_j·t^(j−1), in radians per millennium.
double SolarLongitude::MaxMotionPerDay(double absT) const {
    const double t = absT / 10;
    double rate = 0.0;
    double p = 1.0;  // t^j
    double pPrev = 0.0;  // t^(j−1), none for j = 0
    for (int j = 0; j <= 5; ++j) {
        rate += powers_[j].rateSum * p + j * powers_[j].absSum * pPrev;
        pPrev = p;
        p *= t;
    }
    // One part in 10⁹ more covers the rounding of the bound itself.
    return rate * MillenniaPerDay / DegToRad * (1 + 1e-9);
}

}  // namespace astro
