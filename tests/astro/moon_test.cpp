// SPDX-License-Identifier: GPL-3.0-or-later
#include "astro/moon.h"

#include <gtest/gtest.h>

#include "astro/numerics.h"

namespace {

constexpr double RadToDeg = 180.0 / astro::Pi;

}  // namespace

// Meeus' example 47.a, 1992 April 12, 0 h.
TEST(Moon, MeeusExample) {
    const double T = -0.077221081451;
    double D, M, Mp, F, E;
    astro::MoonArguments(T, D, M, Mp, F, E);
    EXPECT_NEAR(D * RadToDeg, 113.842309, 5e-7);
    EXPECT_NEAR(M * RadToDeg, 97.643514, 5e-7);
    EXPECT_NEAR(Mp * RadToDeg, 5.150839, 5e-7);
    EXPECT_NEAR(F * RadToDeg, 219.889726, 5e-7);
    EXPECT_NEAR(E, 1.000194, 5e-7);

    astro::TPosition pos;
    astro::MoonPosition(T, pos);
    EXPECT_NEAR(pos.Lon, 2.3241269, 5e-8);
    EXPECT_NEAR(pos.Lon * RadToDeg, 133.162660, 5e-7);
    EXPECT_NEAR(pos.Lat, -0.0563589, 5e-8);
    EXPECT_NEAR(pos.Lat * RadToDeg, -3.229127, 5e-7);
    EXPECT_NEAR(pos.Dist, 368409.68, 0.005);
}

TEST(Moon, AtTheEpochAndAboveOneTurn) {
    astro::TPosition pos;
    astro::MoonPosition(0.0, pos);
    EXPECT_NEAR(pos.Lon * RadToDeg, 223.318721, 5e-7);
    EXPECT_NEAR(pos.Lat * RadToDeg, 5.171280, 5e-7);
    EXPECT_NEAR(pos.Dist, 402444.82, 0.005);

    // Just after the mean longitude has passed 0 the periodic terms carry the Moon past
    // 360°; the longitude is left above one turn, as the searches compare it.
    astro::MoonPosition(0.023483, pos);
    EXPECT_NEAR(pos.Lon, 6.2902890, 5e-8);
    EXPECT_NEAR(pos.Lon * RadToDeg, 360.407010, 5e-7);
    EXPECT_GT(pos.Lon, astro::TwoPi);
}

// A longitude that comes out below 0 (mean longitude just past 0, periodic terms
// negative) is raised by one turn, never left negative: scan every day of four centuries.
TEST(Moon, LongitudeIsNeverNegativeAndMovesAboutThirteenDegreesADay) {
    astro::TPosition previous;
    astro::MoonPosition(-2.0, previous);
    for (double T = -2.0 + 1.0 / 36525; T < 2.0; T += 1.0 / 36525) {
        astro::TPosition pos;
        astro::MoonPosition(T, pos);
        ASSERT_GE(pos.Lon, 0.0) << T;
        ASSERT_LT(pos.Lon, astro::TwoPi + 0.2) << T;
        double step = pos.Lon - previous.Lon;
        if (step < -3.0) step += astro::TwoPi;
        if (step > 3.0) step -= astro::TwoPi;
        ASSERT_GT(step * RadToDeg, 11.0) << T;
        ASSERT_LT(step * RadToDeg, 15.5) << T;
        previous = pos;
    }
}
