// SPDX-License-Identifier: GPL-3.0-or-later
// The fast searches. They step through the same instants as the reference (the local
// midnights, formed by adding 1 to the Julian day once per day) and decide each examined
// day by the same comparisons on the same values, but:
//  - the Earth's longitude series are read from the term files once per calculation;
//  - the Sun's longitude is first enclosed cheaply from its largest terms, and computed
//    exactly only where the enclosure cannot decide a comparison;
//  - days on which the stopping rule provably cannot hold are passed over, by bounds on the
//    daily motion of the Sun and of the Moon's lead that are derived from the series.
#include <algorithm>
#include <cmath>

#include "astro/moon.h"
#include "astro/numerics.h"
#include "astro/nutation.h"
#include "cycle/solar_search.h"

namespace cycle {

namespace {

constexpr int Earth = 3;

// A decision taken on an enclosure keeps this far (degrees) from the boundary it decides,
// far beyond the rounding of the subtraction and comparison that the reference makes.
constexpr double Margin = 1e-7;

// A search runs at most 100 years and a month; the bounds of the motions hold for every
// instant within this many centuries of its start.
constexpr double SearchCenturies = 1.01;

// The Sun's longitude at one instant: either exact, or an enclosure of it.
struct SunAt {
    double lo, hi;
    bool exact;
    double Value() const { return lo; }  // when exact
};

SunAt Enclosed(const astro::SolarLongitude& sun, double T) {
    const astro::LongitudeEnclosure e = sun.Enclose(T);
    if (e.decided) return {e.lo, e.hi, false};
    const double exact = sun.Exact(T);
    return {exact, exact, true};
}

SunAt Exactly(const astro::SolarLongitude& sun, double T) {
    const double exact = sun.Exact(T);
    return {exact, exact, true};
}

// How many of the following days can be passed over while the Sun, at most `hi` today and
// moving at most `maxPerDay` a day, cannot pass `limit`: day k lies at most
// hi + k·maxPerDay, which stays ≤ limit for k ≤ (limit − hi) / maxPerDay.
int DaysBelow(double hi, double limit, double maxPerDay) {
    const double room = limit - Margin - hi;
    if (room <= 0) return 0;
    return static_cast<int>(std::min(std::floor(room / maxPerDay), 1e9));
}

// Passes over `days` days, but not beyond step `limit`, forming the instants exactly as
// stepping day by day does.
void PassOver(double& jd, int& step, int days, int limit) {
    days = std::min(days, limit - step);
    for (int k = 0; k < days; ++k) jd += 1;
    step += days;
}

}  // namespace

// The term files are read at the first search of every calculation; the prepared series
// are kept while the files hold the same terms.
const astro::SolarLongitude& SolarSearch::Sun() {
    if (!sunStale_ && sun_) return *sun_;
    try {
        terms_.InitTermBuffer();
        terms_.LoadPlanetTerms(Earth);
        if (!sun_ || !sun_->Matches(terms_, Earth)) {
            sun_.reset();
            sun_.emplace(terms_, Earth);
        }
    } catch (...) {
        sun_.reset();
        terms_.FreeTermBuffer();
        throw;
    }
    terms_.FreeTermBuffer();
    sunStale_ = false;
    return *sun_;
}

astro::TCalendarDate SolarSearch::FastYearStart(std::int32_t year) {
    const astro::SolarLongitude& sun = Sun();
    double jd = astro::DateToJD({year, 1, 0.0}) + site_.ZoneOffset;
    const double absT = std::abs(astro::JulianCenturies(jd)) + SearchCenturies;
    const double sunMax = sun.MaxMotionPerDay(absT);
    // The Moon's lead (Moon with nutation, minus Sun) grows each day by at least leadMin and
    // at most leadMax degrees.
    const astro::RateBounds moon = astro::MoonLongitudeRate(absT);
    const double nutation = astro::NutationLongitudeMaxRate(absT);
    const double leadMin = moon.min - nutation - sunMax;
    const double leadMax = moon.max + nutation + sunMax;
    const double speed = moonSpeed_;

    int step = 0;
    auto passOver = [&](int days) { PassOver(jd, step, days, YearStartStepLimit); };
    while (step < YearStartStepLimit) {
        jd += 1;
        ++step;
        ++steps_;
        const double T = astro::JulianCenturies(jd);
        SunAt s = Enclosed(sun, T);
        if (s.hi <= 300) {
            passOver(DaysBelow(s.hi, 300, sunMax));
            continue;
        }
        if (s.lo <= 300) {
            s = Exactly(sun, T);
            if (s.Value() <= 300) continue;
        }
        double dPsi, dEps;
        astro::Nutation(T, dPsi, dEps);
        astro::TPosition moonPos;
        astro::MoonPosition(T, moonPos);
        const double moonLon = (moonPos.Lon + dPsi) / astro::DegToRad;
        // The lead as the reference compares it, unreduced: within [leadLo, leadHi].
        double leadLo = moonLon - s.hi, leadHi = moonLon - s.lo;
        const bool surelyNot = leadHi < -Margin || leadLo > speed + Margin;
        const bool surely = leadLo > Margin && leadHi < speed - Margin;
        if (!s.exact && !surelyNot && !surely) {
            s = Exactly(sun, T);
            leadLo = leadHi = moonLon - s.Value();
        }
        const bool stop = s.exact ? (moonLon > s.Value() && moonLon - s.Value() < speed) : surely;
        if (stop) {
            astro::TCalendarDate date;
            astro::JDToDate(jd, date);
            return date;
        }
        // A stop needs a lead in (0, MoonSpeed), so the lead taken within one turn must be
        // there too. While the lead grows from at least `turnLo` ≥ MoonSpeed and stays below
        // a whole turn, day k after today has a lead of at most turnHi + k·leadMax: the days
        // with turnHi + k·leadMax < 360 cannot stop.
        const double turns = std::floor(leadLo / 360);
        const double turnLo = leadLo - 360 * turns, turnHi = leadHi - 360 * turns;
        if (leadMin > 0 && turnLo >= speed + Margin && turnHi < 360 - Margin) {
            const double room = 360 - Margin - turnHi;
            passOver(static_cast<int>(std::ceil(room / leadMax)) - 1);
        }
    }
    YearStartNotFound();
}

SolsticeResult SolarSearch::FastWinterSolstice(std::int32_t year) {
    const astro::SolarLongitude& sun = Sun();
    double jd = astro::DateToJD({year, 12, 0.0}) + site_.ZoneOffset;
    const double sunMax = sun.MaxMotionPerDay(std::abs(astro::JulianCenturies(jd)) + 0.02);
    int step = 0;
    while (true) {
        if (++step > SolsticeStepLimit)
            SolsticeNotFound(year);
        jd += 1;
        ++steps_;
        const double T = astro::JulianCenturies(jd);
        const SunAt s = Enclosed(sun, T);
        if (s.hi <= 270) {
            PassOver(jd, step, DaysBelow(s.hi, 270, sunMax), SolsticeStepLimit);
            continue;
        }
        if (s.lo > 270 || Exactly(sun, T).Value() > 270) break;
    }
    SolsticeResult result;
    astro::JDToDate(jd, result.date);
    result.jd = jd;
    return result;
}

}  // namespace cycle
