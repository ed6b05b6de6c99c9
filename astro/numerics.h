// SPDX-License-Identifier: GPL-3.0-or-later
// Small numerics shared by the Sun, nutation and Moon series: angle reduction, polynomials
// in time, and the sines and cosines of an argument's multiples, from which the periodic
// terms' arguments are combined without a sine or cosine call per term.
#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <numbers>

namespace astro {

inline constexpr double Pi = std::numbers::pi;
inline constexpr double TwoPi = 2.0 * std::numbers::pi;
inline constexpr double DegToRad = std::numbers::pi / 180.0;

// x reduced to one turn, in [0, 2π).
double ReduceAngle(double x);

// Polynomials in t from a record of coefficients c0, c1, …, evaluated by Horner's scheme.
double EvalPoly3(const std::array<double, 4>& c, double t);
double EvalPoly4(const std::array<double, 5>& c, double t);

// Bounds of the derivative of c0 + c1·t + c2·t² + … for |t| ≤ absT: the derivative lies
// within c1 ± Σ_{k≥2} k·|c_k|·absT^(k−1).
template <std::size_t N>
double PolyRateSpread(const std::array<double, N>& c, double absT) {
    double spread = 0.0, p = 1.0;
    for (std::size_t k = 2; k < N; ++k) {
        p *= absT;
        spread += static_cast<double>(k) * std::abs(c[k]) * p;
    }
    return spread;
}
template <std::size_t N>
double PolyRateMax(const std::array<double, N>& c, double absT) {
    return std::abs(c[1]) + PolyRateSpread(c, absT);
}

// sin(k·x) and cos(k·x) for k = 1 … 6, indexed by k (element 0 is not used).
using TMultipleArray = std::array<double, 7>;

// Fills S[k], C[k] for k = 1 … n from one sine and one cosine; n above 6 raises a range
// error once k reaches 7. Entries above n are left as they were.
void SinCosMultiples(int n, double x, TMultipleArray& S, TMultipleArray& C);

// The sine and cosine of a term's argument k1·a1 + k2·a2 + …, built up column by column.
struct SinCosPair {
    double sigma = 0.0;
    double gamma = 1.0;
    bool started = false;

    // Adds the pair (s, c) of one column's multiple to the argument.
    void Add(double s, double c) {
        if (!started) {
            sigma = s;
            gamma = c;
            started = true;
            return;
        }
        const double sigma0 = sigma;
        sigma = sigma0 * c + gamma * s;
        gamma = gamma * c - sigma0 * s;
    }

    // Adds k·a from the multiple-angle arrays of a; k = 0 adds nothing.
    void AddMultiple(int k, const TMultipleArray& S, const TMultipleArray& C) {
        if (k == 0) return;
        const int n = std::abs(k);
        Add(k < 0 ? -S[n] : S[n], C[n]);
    }
};

}  // namespace astro
