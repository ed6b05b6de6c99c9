// SPDX-License-Identifier: GPL-3.0-or-later
// tolvane-compare: checks that the fast searches and the fast range output give exactly what
// the day-by-day way gives, over the whole range of years. Not part of the tests (it runs
// for minutes); run it after any change to the searches:
//   build/bin/tolvane-compare [FIRST_YEAR LAST_YEAR]
// 1. Year starts for MoonSpeed 1..20 and winter solstices of every year, fast against a
//    day-by-day walk that examines every day with the exact longitude (the reference's own
//    sums, bit for bit; the tests check that equality). One walk serves all twenty
//    MoonSpeeds; the values of a day are kept while later walks pass it again.
// 2. tolvane-cli --json byte for byte, fast against the reference way: every day of 1900 to
//    2100 as one range, and 1 January, 15 March and 31 December of every year as single
//    calculations.
// Exit status 0 when nothing differs.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/cli_output.h"
#include "app/cli_run.h"
#include "app/cli_view.h"
#include "astro/calendar.h"
#include "astro/moon.h"
#include "astro/numerics.h"
#include "astro/nutation.h"
#include "astro/solar_longitude.h"
#include "cycle/calculator.h"
#include "cycle/solar_search.h"
#include "platform/program_folder.h"

namespace {

constexpr int MaxSpeed = 20;

// The values the walks need at one instant, kept by the instant's exact bits.
class DayValues {
public:
    explicit DayValues(const astro::SolarLongitude& sun) : sun_(sun) {}

    double Sun(double jd) { return Get(jd).sun; }
    double Moon(double jd) {
        Values& v = Get(jd);
        if (std::isnan(v.moon)) {
            const double T = astro::JulianCenturies(jd);
            double dPsi, dEps;
            astro::Nutation(T, dPsi, dEps);
            astro::TPosition moon;
            astro::MoonPosition(T, moon);
            v.moon = (moon.Lon + dPsi) / astro::DegToRad;
        }
        return v.moon;
    }
    // Forgets the instants before `jd`, which later walks never reach again.
    void ForgetBefore(double jd) {
        std::erase_if(values_, [jd](const auto& entry) { return entry.second.jd < jd; });
    }
    std::int64_t Computed() const { return computed_; }

private:
    struct Values {
        double jd, sun, moon;
    };
    Values& Get(double jd) {
        std::uint64_t bits;
        std::memcpy(&bits, &jd, sizeof bits);
        auto it = values_.find(bits);
        if (it == values_.end()) {
            ++computed_;
            it = values_.emplace(bits, Values{jd, sun_.Exact(astro::JulianCenturies(jd)), NAN})
                     .first;
        }
        return it->second;
    }

    const astro::SolarLongitude& sun_;
    std::unordered_map<std::uint64_t, Values> values_;
    std::int64_t computed_ = 0;
};

struct Found {
    bool found = false;
    astro::TCalendarDate date{};
};

// The year starts of `year` for MoonSpeed 1..MaxSpeed, examining every day.
std::vector<Found> WalkYearStarts(DayValues& values, int year, double zone) {
    std::vector<Found> found(MaxSpeed + 1);
    int open = MaxSpeed;
    double jd = astro::DateToJD({year, 1, 0.0}) + zone;
    for (int step = 0; step < cycle::YearStartStepLimit && open > 0; ++step) {
        jd += 1;
        const double sunLon = values.Sun(jd);
        if (sunLon <= 300) continue;
        const double moonLon = values.Moon(jd);
        for (int speed = 1; speed <= MaxSpeed; ++speed) {
            if (found[speed].found) continue;
            if (moonLon > sunLon && moonLon - sunLon < speed) {
                found[speed].found = true;
                astro::JDToDate(jd, found[speed].date);
                --open;
            }
        }
    }
    return found;
}

std::optional<double> WalkSolstice(DayValues& values, int year, double zone) {
    double jd = astro::DateToJD({year, 12, 0.0}) + zone;
    for (int step = 1; step <= cycle::SolsticeStepLimit; ++step) {
        jd += 1;
        if (values.Sun(jd) > 270) return jd;
    }
    return std::nullopt;
}

bool Same(const astro::TCalendarDate& a, const astro::TCalendarDate& b) {
    return a.Year == b.Year && a.Month == b.Month && a.Day == b.Day;
}

int CompareSearches(int firstYear, int lastYear) {
    astro::PlanetTerms terms;
    terms.InitTermBuffer();
    terms.LoadPlanetTerms(3);
    const astro::SolarLongitude sun(terms, 3);
    terms.FreeTermBuffer();
    DayValues values(sun);
    const double zone = astro::InitSiteConstants().ZoneOffset;
    std::vector<cycle::SolarSearch> fast(MaxSpeed + 1);
    for (int speed = 1; speed <= MaxSpeed; ++speed) fast[speed].SetMoonSpeed(speed);
    std::int64_t searches = 0, differences = 0;
    for (int year = firstYear; year <= lastYear; ++year) {
        values.ForgetBefore(astro::DateToJD({year, 1, 0.0}) - 1);
        const std::vector<Found> walked = WalkYearStarts(values, year, zone);
        for (int speed = 1; speed <= MaxSpeed; ++speed) {
            ++searches;
            std::optional<astro::TCalendarDate> got;
            try {
                got = fast[speed].YearStart(year);
            } catch (const std::runtime_error&) {
            }
            const bool same = got ? (walked[speed].found && Same(*got, walked[speed].date))
                                  : !walked[speed].found;
            if (!same) {
                ++differences;
                std::printf("year start %d, MoonSpeed %d differs\n", year, speed);
            }
        }
        ++searches;
        const std::optional<double> solstice = WalkSolstice(values, year, zone);
        const cycle::SolsticeResult s = fast[1].WinterSolstice(year);
        if (!solstice || *solstice != s.jd) {
            ++differences;
            std::printf("winter solstice %d differs\n", year);
        }
        if (year % 1000 == 0) {
            std::fprintf(stderr, "\r%d: %lld searches, %lld differences, %lld days computed",
                         year, static_cast<long long>(searches),
                         static_cast<long long>(differences),
                         static_cast<long long>(values.Computed()));
        }
    }
    std::printf("searches: %lld compared (years %d..%d, MoonSpeed 1..20 and the solstice), "
                "%lld differences; %lld days examined with the exact longitude\n",
                static_cast<long long>(searches), firstYear, lastYear,
                static_cast<long long>(differences), static_cast<long long>(values.Computed()));
    return differences == 0 ? 0 : 1;
}

cli::CliContext Context(bool reference) {
    cli::CliContext context{platform::ProgramFolder(), [] { return std::tm{}; }};
    context.referenceSearch = reference;
    return context;
}

int CompareRange() {
    const std::vector<std::string> args = {"--json", "--from", "01011900", "--to", "31122100",
                                           "--hour", "12"};
    std::ostringstream fastOut, refOut, err;
    const int a = cli::RunCli(args, fastOut, err, Context(false));
    const int b = cli::RunCli(args, refOut, err, Context(true));
    const bool same = a == 0 && b == 0 && fastOut.str() == refOut.str();
    std::printf("range 1.1.1900..31.12.2100: %zu bytes, %s\n", fastOut.str().size(),
                same ? "identical" : "DIFFERENT");
    return same ? 0 : 1;
}

// Single calculations as tolvane-cli --json prints them; each way keeps its searches'
// results by year, which gives the same results as searching anew.
int CompareSingleDates(int firstYear, int lastYear) {
    cli::CliView fastView, refView;
    cycle::CycleCalculator fast(fastView), reference(refView);
    fast.Search().SetReuseResults(true);
    reference.Search().SetReference(true);
    reference.Search().SetReuseResults(true);
    std::int64_t compared = 0, differences = 0;
    for (int year = firstYear; year <= lastYear; ++year) {
        for (const auto& [day, month] : {std::pair{1, 1}, std::pair{15, 3}, std::pair{31, 12}}) {
            const cycle::CycleInput in{12, day, month, year};
            fast.ComputeCycles(in);
            fast.ShowResults(true);
            reference.ComputeCycles(in);
            reference.ShowResults(true);
            ++compared;
            if (cli::JsonLine(fast, fastView) != cli::JsonLine(reference, refView)) {
                ++differences;
                std::printf("%d.%d.%d differs\n", day, month, year);
            }
        }
    }
    std::printf("single dates: %lld compared (1.1., 15.3., 31.12. of %d..%d), %lld differences\n",
                static_cast<long long>(compared), firstYear, lastYear,
                static_cast<long long>(differences));
    return differences == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    int firstYear = -9999, lastYear = 9999;
    if (argc == 3) {
        firstYear = std::atoi(argv[1]);
        lastYear = std::atoi(argv[2]);
    } else if (argc != 1) {
        std::fprintf(stderr, "Usage: tolvane-compare [FIRST_YEAR LAST_YEAR]\n");
        return 2;
    }
    int status = CompareSearches(firstYear, lastYear);
    status |= CompareRange();
    status |= CompareSingleDates(firstYear, lastYear);
    return status;
}
