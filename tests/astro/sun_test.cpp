// SPDX-License-Identifier: GPL-3.0-or-later
#include "astro/sun.h"

#include <gtest/gtest.h>

#include <cmath>

#include "astro/calendar.h"
#include "astro/numerics.h"
#include "term_file_builder.h"

using astro::Pi;
using astro::PlanetTerms;
using astro::TPosition;
using namespace testing_support;

namespace {

constexpr double RadToDeg = 180.0 / Pi;

struct Positions {
    TPosition planet, sun;
};

Positions Evaluate(const BodySeries& body, double T) {
    TempFolder folder;
    WriteTermFiles(folder, body);
    PlanetTerms terms(folder.Path().string());
    terms.InitTermBuffer();
    terms.LoadPlanetTerms(3);
    Positions p;
    astro::PlanetPosition(terms, 3, T, p.planet);
    astro::SunPosition(terms, 3, T, p.sun);
    terms.FreeTermBuffer();
    return p;
}

}  // namespace

TEST(Sun, SingleTermBodies) {
    Positions p = Evaluate(SingleTerm(1, 0, {0.5, 0, 0}), 0.3);
    EXPECT_DOUBLE_EQ(p.planet.Lon, 0.5);
    EXPECT_EQ(p.planet.Lat, 0.0);
    EXPECT_EQ(p.planet.Dist, 0.0);
    EXPECT_DOUBLE_EQ(p.sun.Lon, Pi + 0.5);

    p = Evaluate(SingleTerm(1, 0, {4.0, 0, 0}), 0.3);
    EXPECT_DOUBLE_EQ(p.sun.Lon, 4.0 - Pi);

    // A power-1 series counts with τ = T / 10, and not at all at T = 0.
    p = Evaluate(SingleTerm(1, 1, {1.0, 0, 0}), 1.0);
    EXPECT_DOUBLE_EQ(p.planet.Lon, 0.1);
    p = Evaluate(SingleTerm(1, 1, {1.0, 0, 0}), 0.0);
    EXPECT_EQ(p.planet.Lon, 0.0);
    p = Evaluate(SingleTerm(3, 5, {1.0, 0, 0}), 2.0);
    EXPECT_DOUBLE_EQ(p.planet.Dist, std::pow(0.2, 5));

    p = Evaluate(SingleTerm(2, 0, {2.0, 0, 0}), 0.3);
    EXPECT_EQ(p.planet.Lat, 2.0);
    EXPECT_EQ(p.sun.Lat, -2.0);

    p = Evaluate(SingleTerm(3, 0, {0.98, 0, 0}), 0.3);
    EXPECT_EQ(p.planet.Dist, 0.98);
    EXPECT_EQ(p.sun.Dist, 0.98);

    // Phase and frequency: A·cos(B + C·τ).
    p = Evaluate(SingleTerm(2, 0, {1.5, 0.25, 7.0}), 3.0);
    EXPECT_DOUBLE_EQ(p.planet.Lat, 1.5 * std::cos(0.25 + 7.0 * 0.3));

    p = Evaluate(BodySeries{}, 0.3);
    EXPECT_EQ(p.planet.Lon, 0.0);
    EXPECT_EQ(p.planet.Lat, 0.0);
    EXPECT_EQ(p.planet.Dist, 0.0);
    EXPECT_DOUBLE_EQ(p.sun.Lon, Pi);
}

// The real term files, found in the program folder as the program finds them.
class RealTermFiles : public testing::Test {
protected:
    void SetUp() override {
        terms.InitTermBuffer();
        terms.LoadPlanetTerms(3);
    }
    PlanetTerms terms;
};

TEST_F(RealTermFiles, EarthAtMeeusExample) {
    // 1992 October 13.0: the complete series give L = -43.6348492682 rad,
    // B = -0.0000036067 rad, R = 0.9976085202 AU.
    const double T = astro::JulianCenturies(2448908.5);
    TPosition earth, sun;
    astro::PlanetPosition(terms, 3, T, earth);
    astro::SunPosition(terms, 3, T, sun);
    EXPECT_NEAR(earth.Lon * RadToDeg, 19.90729724, 1e-8);
    EXPECT_NEAR(earth.Lat, -0.0000036067, 1e-10);
    EXPECT_NEAR(earth.Dist, 0.9976085202, 1e-10);
    EXPECT_NEAR(sun.Lon * RadToDeg, 199.9073, 0.0001);
    EXPECT_NEAR(sun.Lat, 0.0000036067, 1e-10);
}

TEST_F(RealTermFiles, SunAtTheSolsticesAndEquinoxesOf2023) {
    // Published instants (UT) of the Sun's apparent longitude reaching 0°, 90°, 180°,
    // 270°; the geometric longitude lies within aberration and nutation (< 0.01°) of it.
    struct Case {
        astro::TCalendarDate when;
        double longitude;
    };
    const Case cases[] = {
        {{2023, 3, 20 + (21 + 24 / 60.0) / 24}, 360.0},
        {{2023, 6, 21 + (14 + 57 / 60.0) / 24}, 90.0},
        {{2023, 9, 23 + (6 + 50 / 60.0) / 24}, 180.0},
        {{2023, 12, 22 + (3 + 27 / 60.0) / 24}, 270.0},
    };
    for (const Case& c : cases) {
        TPosition sun;
        astro::SunPosition(terms, 3, astro::JulianCenturies(astro::DateToJD(c.when)), sun);
        double lon = sun.Lon * RadToDeg;
        if (c.longitude == 360.0 && lon < 180) lon += 360;
        EXPECT_NEAR(lon, c.longitude, 0.01) << c.when.Month;
    }
}
