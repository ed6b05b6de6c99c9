// SPDX-License-Identifier: GPL-3.0-or-later
// The Moon's geocentric position from the truncated ELP-2000/82 theory as Meeus gives it
// (Astronomical Algorithms, chapter 47). The arguments of the 120 periodic terms are
// combined from the multiples of D, M, M' and F, with no sine or cosine per term.
#include "astro/moon.h"

#include <array>
#include <cmath>
#include <cstdint>

#include "astro/numerics.h"

namespace astro {

namespace {

// Mean arguments in degrees, c0 + c1·T + … + c4·T⁴.
constexpr std::array<double, 5> MeanLongitude = {218.3164591, 481267.88134236, -0.0013268,
                                                 1.855835e-6, -1.53388e-8};
constexpr std::array<double, 5> MeanElongation = {297.8502042, 445267.1115168, -0.00163,
                                                  1.831945e-6, -8.84447e-9};
constexpr std::array<double, 5> SunAnomaly = {357.5291092, 35999.0502909, -0.0001536,
                                              4.083299e-8, 0};
constexpr std::array<double, 5> MoonAnomaly = {134.9634114, 477198.8676313, 0.008997,
                                               1.434741e-5, -6.79717e-8};
constexpr std::array<double, 5> LatitudeArgument = {93.2720993, 483202.0175273, -0.0034029,
                                                    -2.836075e-7, 1.15833e-9};

// Table 47.A: multipliers of D, M, M', F; Sl, sine coefficient of the longitude
// (0.000001°); Sr, cosine coefficient of the distance (metres).
struct LongitudeDistanceTerm {
    std::int32_t D, M, Mp, F;
    std::int32_t Sl, Sr;
};

constexpr LongitudeDistanceTerm TableA[] = {
    {0, 0, 1, 0, 6288774, -20905355},
    {2, 0, -1, 0, 1274027, -3699111},
    {2, 0, 0, 0, 658314, -2955968},
    {0, 0, 2, 0, 213618, -569925},
    {0, 1, 0, 0, -185116, 48888},
    {0, 0, 0, 2, -114332, -3149},
    {2, 0, -2, 0, 58793, 246158},
    {2, -1, -1, 0, 57066, -152138},
    {2, 0, 1, 0, 53322, -170733},
    {2, -1, 0, 0, 45758, -204586},
    {0, 1, -1, 0, -40923, -129620},
    {1, 0, 0, 0, -34720, 108743},
    {0, 1, 1, 0, -30383, 104755},
    {2, 0, 0, -2, 15327, 10321},
    {0, 0, 1, 2, -12528, 0},
    {0, 0, 1, -2, 10980, 79661},
    {4, 0, -1, 0, 10675, -34782},
    {0, 0, 3, 0, 10034, -23210},
    {4, 0, -2, 0, 8548, -21636},
    {2, 1, -1, 0, -7888, 24208},
    {2, 1, 0, 0, -6766, 30824},
    {1, 0, -1, 0, -5163, -8379},
    {1, 1, 0, 0, 4987, -16675},
    {2, -1, 1, 0, 4036, -12831},
    {2, 0, 2, 0, 3994, -10445},
    {4, 0, 0, 0, 3861, -11650},
    {2, 0, -3, 0, 3665, 14403},
    {0, 1, -2, 0, -2689, -7003},
    {2, 0, -1, 2, -2602, 0},
    {2, -1, -2, 0, 2390, 10056},
    {1, 0, 1, 0, -2348, 6322},
    {2, -2, 0, 0, 2236, -9884},
    {0, 1, 2, 0, -2120, 5751},
    {0, 2, 0, 0, -2069, 0},
    {2, -2, -1, 0, 2048, -4950},
    {2, 0, 1, -2, -1773, 4130},
    {2, 0, 0, 2, -1595, 0},
    {4, -1, -1, 0, 1215, -3958},
    {0, 0, 2, 2, -1110, 0},
    {3, 0, -1, 0, -892, 3258},
    {2, 1, 1, 0, -810, 2616},
    {4, -1, -2, 0, 759, -1897},
    {0, 2, -1, 0, -713, -2117},
    {2, 2, -1, 0, -700, 2354},
    {2, 1, -2, 0, 691, 0},
    {2, -1, 0, -2, 596, 0},
    {4, 0, 1, 0, 549, -1423},
    {0, 0, 4, 0, 537, -1117},
    {4, -1, 0, 0, 520, -1571},
    {1, 0, -2, 0, -487, -1739},
    {2, 1, 0, -2, -399, 0},
    {0, 0, 2, -2, -381, -4421},
    {1, 1, 1, 0, 351, 0},
    {3, 0, -2, 0, -340, 0},
    {4, 0, -3, 0, 330, 0},
    {2, -1, 2, 0, 327, 0},
    {0, 2, 1, 0, -323, 1165},
    {1, 1, -1, 0, 299, 0},
    {2, 0, 3, 0, 294, 0},
    {2, 0, -1, -2, 0, 8752},
};
static_assert(std::size(TableA) == 60);

// Table 47.B: multipliers of D, M, M', F; Sb, sine coefficient of the latitude (0.000001°).
struct LatitudeTerm {
    std::int32_t D, M, Mp, F;
    std::int32_t Sb;
};

constexpr LatitudeTerm TableB[] = {
    {0, 0, 0, 1, 5128122},
    {0, 0, 1, 1, 280602},
    {0, 0, 1, -1, 277693},
    {2, 0, 0, -1, 173237},
    {2, 0, -1, 1, 55413},
    {2, 0, -1, -1, 46271},
    {2, 0, 0, 1, 32573},
    {0, 0, 2, 1, 17198},
    {2, 0, 1, -1, 9266},
    {0, 0, 2, -1, 8822},
    {2, -1, 0, -1, 8216},
    {2, 0, -2, -1, 4324},
    {2, 0, 1, 1, 4200},
    {2, 1, 0, -1, -3359},
    {2, -1, -1, 1, 2463},
    {2, -1, 0, 1, 2211},
    {2, -1, -1, -1, 2065},
    {0, 1, -1, -1, -1870},
    {4, 0, -1, -1, 1828},
    {0, 1, 0, 1, -1794},
    {0, 0, 0, 3, -1749},
    {0, 1, -1, 1, -1565},
    {1, 0, 0, 1, -1491},
    {0, 1, 1, 1, -1475},
    {0, 1, 1, -1, -1410},
    {0, 1, 0, -1, -1344},
    {1, 0, 0, -1, -1335},
    {0, 0, 3, 1, 1107},
    {4, 0, 0, -1, 1021},
    {4, 0, -1, 1, 833},
    {0, 0, 1, -3, 777},
    {4, 0, -2, 1, 671},
    {2, 0, 0, -3, 607},
    {2, 0, 2, -1, 596},
    {2, -1, 1, -1, 491},
    {2, 0, -2, 1, -451},
    {0, 0, 3, -1, 439},
    {2, 0, 2, 1, 422},
    {2, 0, -3, -1, 421},
    {2, 1, -1, 1, -366},
    {2, 1, 0, 1, -351},
    {4, 0, 0, 1, 331},
    {2, -1, 1, 1, 315},
    {2, -2, 0, -1, 302},
    {0, 0, 1, 3, -283},
    {2, 1, 1, -1, -229},
    {1, 1, 0, -1, 223},
    {1, 1, 0, 1, 223},
    {0, 1, -2, -1, -220},
    {2, 1, -1, -1, -220},
    {1, 0, 1, 1, -185},
    {2, -1, -2, -1, 181},
    {0, 1, 2, 1, -177},
    {4, 0, -2, -1, 176},
    {4, -1, -1, -1, 166},
    {1, 0, 1, -1, -164},
    {4, 0, 1, -1, 132},
    {1, 0, -1, -1, -119},
    {4, -1, 0, -1, 115},
    {2, -2, 0, 1, 107},
};
static_assert(std::size(TableB) == 60);

constexpr double MicroDegToRad = 1.7453292519943295770e-8;  // 10⁻⁶ · π/180

// The multiples of the four arguments, with the Sun's anomaly weighted by the decreasing
// eccentricity of the Earth's orbit.
struct MoonMultiples {
    TMultipleArray sD, cD, sM, cM, sMp, cMp, sF, cF;
    double E, E2;

    SinCosPair Argument(std::int32_t d, std::int32_t m, std::int32_t mp, std::int32_t f) const {
        SinCosPair arg;
        arg.AddMultiple(d, sD, cD);
        if (m != 0) {
            const int n = std::abs(m);
            const double weight = n == 1 ? E : E2;
            arg.Add((m < 0 ? -sM[n] : sM[n]) * weight, cM[n] * weight);
        }
        arg.AddMultiple(mp, sMp, cMp);
        arg.AddMultiple(f, sF, cF);
        return arg;
    }
};

constexpr double DaysPerCentury = 36525;

}  // namespace

// Lon = L' + Σ Sl·E^|m|·sin(arg) + the additive terms, in degrees. For |T| ≤ absT:
//   |d/dT (Sl·E^k·sin arg)| ≤ |Sl|·(E_max^k·|arg'| + k·E_max^(k−1)·|E'|_max),
// with |arg'| ≤ Σ |multiplier|·|rate of its argument|, and each rate of a mean argument
// bounded from its polynomial. The rate of L' itself lies within c1 ± its spread.
RateBounds MoonLongitudeRate(double absT) {
    const double rateD = PolyRateMax(MeanElongation, absT) * DegToRad;
    const double rateM = PolyRateMax(SunAnomaly, absT) * DegToRad;
    const double rateMp = PolyRateMax(MoonAnomaly, absT) * DegToRad;
    const double rateF = PolyRateMax(LatitudeArgument, absT) * DegToRad;
    const double rateLp = PolyRateMax(MeanLongitude, absT) * DegToRad;
    const double eMax = 1 + absT * (0.002516 + 0.0000074 * absT);
    const double eRate = 0.002516 + 2 * 0.0000074 * absT;
    double periodic = 0.0;  // millionths of a degree per century
    for (const LongitudeDistanceTerm& t : TableA) {
        const int k = std::abs(t.M);
        const double argRate = std::abs(t.D) * rateD + k * rateM + std::abs(t.Mp) * rateMp +
                               std::abs(t.F) * rateF;
        const double weight = k == 0 ? 1.0 : (k == 1 ? eMax : eMax * eMax);
        const double weightRate = k == 0 ? 0.0 : (k == 1 ? eRate : 2 * eMax * eRate);
        periodic += std::abs(t.Sl) * (weight * argRate + weightRate);
    }
    periodic += 3958 * 131.849 * DegToRad + 1962 * (rateLp + rateF) + 318 * 479264.29 * DegToRad;
    const double spread = PolyRateSpread(MeanLongitude, absT) + periodic * 1e-6;
    // One part in 10⁹ more covers the rounding of the bounds themselves.
    return {(MeanLongitude[1] - spread) / DaysPerCentury * (1 - 1e-9),
            (MeanLongitude[1] + spread) / DaysPerCentury * (1 + 1e-9)};
}

void MoonArguments(double T, double& D, double& M, double& Mp, double& F, double& E) {
    D = ReduceAngle(EvalPoly4(MeanElongation, T) * DegToRad);
    M = ReduceAngle(EvalPoly4(SunAnomaly, T) * DegToRad);
    Mp = ReduceAngle(EvalPoly4(MoonAnomaly, T) * DegToRad);
    F = ReduceAngle(EvalPoly4(LatitudeArgument, T) * DegToRad);
    E = 1 - T * (0.002516 + 0.0000074 * T);
}

void MoonPosition(double T, TPosition& pos) {
    const double Lp = ReduceAngle(EvalPoly4(MeanLongitude, T) * DegToRad);
    double D, M, Mp, F;
    MoonMultiples mm;
    MoonArguments(T, D, M, Mp, F, mm.E);
    mm.E2 = mm.E * mm.E;
    const double A1 = (119.75 + 131.849 * T) * DegToRad;
    const double A2 = (53.09 + 479264.29 * T) * DegToRad;
    const double A3 = (313.45 + 481266.484 * T) * DegToRad;
    SinCosMultiples(4, D, mm.sD, mm.cD);
    SinCosMultiples(2, M, mm.sM, mm.cM);
    SinCosMultiples(4, Mp, mm.sMp, mm.cMp);
    SinCosMultiples(3, F, mm.sF, mm.cF);

    double sl = 0.0, sr = 0.0, sb = 0.0;
    for (const LongitudeDistanceTerm& t : TableA) {
        const SinCosPair arg = mm.Argument(t.D, t.M, t.Mp, t.F);
        sl += t.Sl * arg.sigma;
        sr += t.Sr * arg.gamma;
    }
    for (const LatitudeTerm& t : TableB) sb += t.Sb * mm.Argument(t.D, t.M, t.Mp, t.F).sigma;

    sl += 3958 * std::sin(A1);
    sl += 1962 * std::sin(Lp - F);
    sl += 318 * std::sin(A2);
    sb -= 2235 * std::sin(Lp);
    sb += 382 * std::sin(A3);
    sb += 350 * std::sin(A1) * std::cos(F);
    sb += 127 * std::sin(Lp - Mp);
    sb -= 115 * std::sin(Lp + Mp);

    // Lon stays unreduced above 2π: the searches compare it as it comes.
    pos.Lon = Lp + sl * MicroDegToRad;
    if (pos.Lon < 0) pos.Lon += TwoPi;
    pos.Lat = sb * MicroDegToRad;
    pos.Dist = 385000.56 + sr * 0.001;
}

}  // namespace astro
