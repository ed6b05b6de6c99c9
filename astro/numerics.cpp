// SPDX-License-Identifier: GPL-3.0-or-later
// Angle reduction, polynomial evaluation and multiple angles.
#include "astro/numerics.h"

#include <cmath>

#include "astro/errors.h"

namespace astro {

double ReduceAngle(double x) {
    double r = x - std::trunc(x / TwoPi) * TwoPi;
    if (r < 0) {
        r += TwoPi;
        // A tiny negative r rounds up to a full turn, which is the same angle as 0.
        if (r >= TwoPi) r = 0.0;
    }
    return r;
}

double EvalPoly3(const std::array<double, 4>& c, double t) {
    return ((c[3] * t + c[2]) * t + c[1]) * t + c[0];
}

double EvalPoly4(const std::array<double, 5>& c, double t) {
    double r = c[4];
    for (int i = 3; i >= 0; --i) r = r * t + c[i];
    return r;
}

void SinCosMultiples(int n, double x, TMultipleArray& S, TMultipleArray& C) {
    const double s1 = std::sin(x);
    const double c1 = std::cos(x);
    S[1] = s1;
    C[1] = c1;
    for (int k = 2; k <= n; ++k) {
        if (k >= static_cast<int>(S.size()))
            throw RangeError("Range check error: SinCosMultiples: multiple " + std::to_string(k) +
                             " beyond the " + std::to_string(S.size() - 1) + " the arrays hold");
        S[k] = S[k - 1] * c1 + C[k - 1] * s1;
        C[k] = C[k - 1] * c1 - S[k - 1] * s1;
    }
}

}  // namespace astro
