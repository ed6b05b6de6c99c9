// SPDX-License-Identifier: GPL-3.0-or-later
#include "astro/nutation.h"

#include <gtest/gtest.h>

namespace {

constexpr double RadToArcsec = 206264.80624709636;

}  // namespace

// Meeus' worked figures for the 63-term series.
TEST(Nutation, MeeusFigures) {
    struct Case {
        double T;
        double psi, eps;  // arcseconds
    };
    const Case cases[] = {
        {-0.127296372348, -3.7879, 9.4425},  // 1987 April 10, 0 h
        {0.0, -13.9232, -5.7739},
        {-1.0, 17.3390, -2.2953},
    };
    for (const Case& c : cases) {
        double dPsi = 0, dEps = 0;
        astro::Nutation(c.T, dPsi, dEps);
        EXPECT_NEAR(dPsi * RadToArcsec, c.psi, 0.00005) << "T = " << c.T;
        EXPECT_NEAR(dEps * RadToArcsec, c.eps, 0.00005) << "T = " << c.T;
    }
    double dPsi = 0, dEps = 0;
    astro::Nutation(-0.127296372348, dPsi, dEps);
    EXPECT_NEAR(dPsi, -1.83644e-5, 5e-10);
}

// The nutation stays within its physical bounds (|Δψ| < 19.3", |Δε| < 10.3") over the
// twenty thousand years the calculator accepts.
TEST(Nutation, StaysBoundedFarFromTheEpoch) {
    for (double T = -120.0; T <= 80.0; T += 0.37) {
        double dPsi = 0, dEps = 0;
        astro::Nutation(T, dPsi, dEps);
        // The secular terms grow with T; allow for them.
        const double slack = 0.02 * std::abs(T);
        EXPECT_LT(std::abs(dPsi * RadToArcsec), 19.3 + slack) << T;
        EXPECT_LT(std::abs(dEps * RadToArcsec), 10.3 + slack) << T;
    }
}
