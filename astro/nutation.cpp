// SPDX-License-Identifier: GPL-3.0-or-later
// The nutation series. The arguments of the table's terms are combined from the sines and
// cosines of the five fundamental arguments' multiples, with no sine or cosine per term.
#include "astro/nutation.h"

#include <array>
#include <cmath>
#include <cstdint>

#include "astro/numerics.h"

namespace astro {

namespace {

// Fundamental arguments in degrees, c0 + c1·T + c2·T² + c3·T³.
constexpr std::array<double, 4> MoonAnomaly = {134.9629814, 477198.8673981, 0.0086972, 0.00001778};
constexpr std::array<double, 4> SunAnomaly = {357.5277233, 35999.05034, -0.0001603, -0.00000333};
constexpr std::array<double, 4> MoonLatitudeArg = {93.2719103, 483202.0175381, -0.0036825,
                                                   0.000003056};
constexpr std::array<double, 4> MoonElongation = {297.8503631, 445267.11148, -0.0019142,
                                                  0.000005278};
constexpr std::array<double, 4> MoonNode = {125.0445222, -1934.1362608, 0.00207083, 0.00000222};

// One periodic term: multipliers of M', M, F, D, Ω; sine coefficient S0 (0.0001") with
// its rate S1 (0.00001" per century); cosine coefficient C0 (0.0001") with rate C1.
struct NutationTerm {
    std::int32_t Mp, M, F, D, Omega;
    std::int32_t S0, S1, C0, C1;
};

// Table 22.A without its leading term in Ω alone, in the published order.
constexpr NutationTerm NutationTerms[] = {
    {0, 0, 2, -2, 2, -13187, -16, 5736, -31},
    {0, 0, 2, 0, 2, -2274, -2, 977, -5},
    {0, 0, 0, 0, 2, 2062, 2, -895, 5},
    {0, 1, 0, 0, 0, 1426, -34, 54, -1},
    {1, 0, 0, 0, 0, 712, 1, -7, 0},
    {0, 1, 2, -2, 2, -517, 12, 224, -6},
    {0, 0, 2, 0, 1, -386, -4, 200, 0},
    {1, 0, 2, 0, 2, -301, 0, 129, -1},
    {0, -1, 2, -2, 2, 217, -5, -95, 3},
    {1, 0, 0, -2, 0, -158, 0, 0, 0},
    {0, 0, 2, -2, 1, 129, 1, -70, 0},
    {-1, 0, 2, 0, 2, 123, 0, -53, 0},
    {0, 0, 0, 2, 0, 63, 0, 0, 0},
    {1, 0, 0, 0, 1, 63, 1, -33, 0},
    {-1, 0, 2, 2, 2, -59, 0, 26, 0},
    {-1, 0, 0, 0, 1, -58, -1, 32, 0},
    {1, 0, 2, 0, 1, -51, 0, 27, 0},
    {2, 0, 0, -2, 0, 48, 0, 0, 0},
    {-2, 0, 2, 0, 1, 46, 0, -24, 0},
    {0, 0, 2, 2, 2, -38, 0, 16, 0},
    {2, 0, 2, 0, 2, -31, 0, 13, 0},
    {2, 0, 0, 0, 0, 29, 0, 0, 0},
    {1, 0, 2, -2, 2, 29, 0, -12, 0},
    {0, 0, 2, 0, 0, 26, 0, 0, 0},
    {0, 0, 2, -2, 0, -22, 0, 0, 0},
    {-1, 0, 2, 0, 1, 21, 0, -10, 0},
    {0, 2, 0, 0, 0, 17, -1, 0, 0},
    {-1, 0, 0, 2, 1, 16, 0, -8, 0},
    {0, 2, 2, -2, 2, -16, 1, 7, 0},
    {0, 1, 0, 0, 1, -15, 0, 9, 0},
    {1, 0, 0, -2, 1, -13, 0, 7, 0},
    {0, -1, 0, 0, 1, -12, 0, 6, 0},
    {2, 0, -2, 0, 0, 11, 0, 0, 0},
    {-1, 0, 2, 2, 1, -10, 0, 5, 0},
    {1, 0, 2, 2, 2, -8, 0, 3, 0},
    {0, 1, 2, 0, 2, 7, 0, -3, 0},
    {1, 1, 0, -2, 0, -7, 0, 0, 0},
    {0, -1, 2, 0, 2, -7, 0, 3, 0},
    {0, 0, 2, 2, 1, -7, 0, 3, 0},
    {1, 0, 0, 2, 0, 6, 0, 0, 0},
    {2, 0, 2, -2, 2, 6, 0, -3, 0},
    {1, 0, 2, -2, 1, 6, 0, -3, 0},
    {-2, 0, 0, 2, 1, -6, 0, 3, 0},
    {0, 0, 0, 2, 1, -6, 0, 3, 0},
    {1, -1, 0, 0, 0, 5, 0, 0, 0},
    {0, -1, 2, -2, 1, -5, 0, 3, 0},
    {0, 0, 0, -2, 1, -5, 0, 3, 0},
    {2, 0, 2, 0, 1, -5, 0, 3, 0},
    {2, 0, 0, -2, 1, 4, 0, 0, 0},
    {0, 1, 2, -2, 1, 4, 0, 0, 0},
    {1, 0, -2, 0, 0, 4, 0, 0, 0},
    {1, 0, 0, -1, 0, -4, 0, 0, 0},
    {0, 1, 0, -2, 0, -4, 0, 0, 0},
    {0, 0, 0, 1, 0, -4, 0, 0, 0},
    {1, 0, 2, 0, 0, 3, 0, 0, 0},
    {-2, 0, 2, 0, 2, -3, 0, 0, 0},
    {1, -1, 0, -1, 0, -3, 0, 0, 0},
    {1, 1, 0, 0, 0, -3, 0, 0, 0},
    {1, -1, 2, 0, 2, -3, 0, 0, 0},
    {-1, -1, 2, 2, 2, -3, 0, 0, 0},
    {3, 0, 2, 0, 2, -3, 0, 0, 0},
    {0, -1, 2, 2, 2, -3, 0, 0, 0},
};
static_assert(std::size(NutationTerms) == 62);

constexpr double ArcsecToRad = 4.8481368110953599359e-6;  // π / 648000

}  // namespace

// Δψ = Σ (a + b·T)·sin(arg) in arcseconds, the leading term included. For |T| ≤ absT:
//   |d/dT ((a + b·T)·sin arg)| ≤ |b| + (|a| + |b|·absT)·|arg'|,
// with |arg'| ≤ Σ |multiplier|·|rate of its argument|.
double NutationLongitudeMaxRate(double absT) {
    const double rMp = PolyRateMax(MoonAnomaly, absT) * DegToRad;
    const double rM = PolyRateMax(SunAnomaly, absT) * DegToRad;
    const double rF = PolyRateMax(MoonLatitudeArg, absT) * DegToRad;
    const double rD = PolyRateMax(MoonElongation, absT) * DegToRad;
    const double rO = PolyRateMax(MoonNode, absT) * DegToRad;
    double rate = 0.01742 + (17.1996 + 0.01742 * absT) * rO;  // arcseconds per century
    for (const NutationTerm& t : NutationTerms) {
        const double argRate = std::abs(t.Mp) * rMp + std::abs(t.M) * rM + std::abs(t.F) * rF +
                               std::abs(t.D) * rD + std::abs(t.Omega) * rO;
        const double a = std::abs(t.S0) * 0.0001;
        const double b = std::abs(t.S1) * 0.00001;
        rate += b + (a + b * absT) * argRate;
    }
    return rate / 3600 / 36525 * (1 + 1e-9);
}

void Nutation(double T, double& dPsi, double& dEps) {
    TMultipleArray sMp, cMp, sM, cM, sF, cF, sD, cD, sO, cO;
    SinCosMultiples(3, EvalPoly3(MoonAnomaly, T) * DegToRad, sMp, cMp);
    SinCosMultiples(2, EvalPoly3(SunAnomaly, T) * DegToRad, sM, cM);
    SinCosMultiples(4, EvalPoly3(MoonLatitudeArg, T) * DegToRad, sF, cF);
    SinCosMultiples(4, EvalPoly3(MoonElongation, T) * DegToRad, sD, cD);
    SinCosMultiples(2, EvalPoly3(MoonNode, T) * DegToRad, sO, cO);

    double psi = (-17.1996 - 0.01742 * T) * sO[1];
    double eps = (9.2025 + 0.00089 * T) * cO[1];
    for (const NutationTerm& t : NutationTerms) {
        SinCosPair arg;
        arg.AddMultiple(t.Mp, sMp, cMp);
        arg.AddMultiple(t.M, sM, cM);
        arg.AddMultiple(t.F, sF, cF);
        arg.AddMultiple(t.D, sD, cD);
        arg.AddMultiple(t.Omega, sO, cO);
        psi += (t.S0 * 0.0001 + t.S1 * 0.00001 * T) * arg.sigma;
        eps += (t.C0 * 0.0001 + t.C1 * 0.00001 * T) * arg.gamma;
    }
    dPsi = psi * ArcsecToRad;
    dEps = eps * ArcsecToRad;
}

}  // namespace astro
