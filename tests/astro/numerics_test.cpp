// SPDX-License-Identifier: GPL-3.0-or-later
#include "astro/numerics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "astro/errors.h"

using astro::TwoPi;

TEST(Numerics, ReduceAngleGivesOneTurn) {
    EXPECT_DOUBLE_EQ(astro::ReduceAngle(-0.1), TwoPi - 0.1);
    EXPECT_EQ(astro::ReduceAngle(TwoPi), 0.0);
    EXPECT_DOUBLE_EQ(astro::ReduceAngle(7.0), 7.0 - TwoPi);
    EXPECT_EQ(astro::ReduceAngle(0.0), 0.0);
    EXPECT_NEAR(astro::ReduceAngle(-43.6348492682), 0.3474478821, 1e-9);
    EXPECT_NEAR(astro::ReduceAngle(1000.0 * TwoPi + 1.0), 1.0, 1e-9);
    // A tiny negative angle is a full turn short of 0; it must not come out as 2π.
    const double r = astro::ReduceAngle(-1e-18);
    EXPECT_GE(r, 0.0);
    EXPECT_LT(r, TwoPi);
}

TEST(Numerics, PolynomialsUseCoefficientsInRisingPowers) {
    EXPECT_DOUBLE_EQ(astro::EvalPoly3({1, 2, 3, 4}, 2.0), 1 + 2 * 2 + 3 * 4 + 4 * 8);
    EXPECT_DOUBLE_EQ(astro::EvalPoly4({1, 2, 3, 4, 5}, -2.0), 1 - 4 + 12 - 32 + 80);
    EXPECT_EQ(astro::EvalPoly4({7, 2, 3, 4, 5}, 0.0), 7.0);
}

TEST(Numerics, SinCosMultiplesMatchDirectEvaluation) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    astro::TMultipleArray S, C;
    S.fill(nan);
    C.fill(nan);
    astro::SinCosMultiples(6, 0.7, S, C);
    for (int k = 1; k <= 6; ++k) {
        EXPECT_NEAR(S[k], std::sin(k * 0.7), 1e-14) << k;
        EXPECT_NEAR(C[k], std::cos(k * 0.7), 1e-14) << k;
    }

    // n = 1 writes only the first entries.
    S.fill(nan);
    C.fill(nan);
    astro::SinCosMultiples(1, 0.7, S, C);
    EXPECT_EQ(S[1], std::sin(0.7));
    EXPECT_EQ(C[1], std::cos(0.7));
    EXPECT_TRUE(std::isnan(S[2]) && std::isnan(C[2]));

    // Seven multiples do not fit: the first six are written, then a range error.
    S.fill(nan);
    EXPECT_THROW(astro::SinCosMultiples(7, 0.7, S, C), astro::RangeError);
    EXPECT_NEAR(S[6], std::sin(6 * 0.7), 1e-14);
}

TEST(Numerics, CombinedArgumentIsTheSumOfMultiples) {
    const double a = 1.1, b = -2.3, c = 0.4;
    astro::TMultipleArray sa, ca, sb, cb, sc, cc;
    astro::SinCosMultiples(4, a, sa, ca);
    astro::SinCosMultiples(4, b, sb, cb);
    astro::SinCosMultiples(4, c, sc, cc);
    for (int i = -3; i <= 3; ++i)
        for (int j = -2; j <= 2; ++j)
            for (int k : {-4, 0, 1, 4}) {
                if (i == 0 && j == 0 && k == 0) continue;
                astro::SinCosPair p;
                p.AddMultiple(i, sa, ca);
                p.AddMultiple(j, sb, cb);
                p.AddMultiple(k, sc, cc);
                const double x = i * a + j * b + k * c;
                EXPECT_NEAR(p.sigma, std::sin(x), 1e-13) << i << " " << j << " " << k;
                EXPECT_NEAR(p.gamma, std::cos(x), 1e-13) << i << " " << j << " " << k;
            }
}
