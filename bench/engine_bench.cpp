// SPDX-License-Identifier: GPL-3.0-or-later
// One search step as the searches run it, against its floor: the same cosine sums from
// terms already in memory plus one read of the whole term file. The step may cost at most
// 1.5 times its floor.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

#include "astro/moon.h"
#include "astro/nutation.h"
#include "astro/solar_longitude.h"
#include "astro/sun.h"
#include "platform/program_folder.h"

namespace {

constexpr double SearchT = 0.2408;  // late January 2024

// Like a search, every step examines the next day.
constexpr double OneDay = 1.0 / 36525;

void BM_SearchStep(benchmark::State& state) {
    astro::PlanetTerms terms;
    double T = SearchT;
    for (auto _ : state) {
        terms.InitTermBuffer();
        terms.LoadPlanetTerms(3);
        astro::TPosition sun;
        astro::SunPosition(terms, 3, T, sun);
        T += OneDay;
        terms.FreeTermBuffer();
        benchmark::DoNotOptimize(sun);
    }
}
BENCHMARK(BM_SearchStep);

void BM_SearchStepFloor(benchmark::State& state) {
    astro::PlanetTerms terms;
    terms.InitTermBuffer();
    terms.LoadPlanetTerms(3);
    const std::string path = platform::ProgramFolder() + astro::TermFileName;
    std::vector<unsigned char> bytes(astro::MaxTerms * astro::TermRecordSize);
    double T = SearchT;
    for (auto _ : state) {
        std::FILE* file = std::fopen(path.c_str(), "rb");
        if (!file) {
            state.SkipWithError("PLANETS.DAT missing");
            break;
        }
        const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
        benchmark::DoNotOptimize(got);
        astro::TPosition sun;
        astro::SunPosition(terms, 3, T, sun);
        T += OneDay;
        benchmark::DoNotOptimize(sun);
    }
}
BENCHMARK(BM_SearchStepFloor);

// What a calculation pays once: the term files read and the longitude series prepared.
void BM_LoadSolarLongitude(benchmark::State& state) {
    astro::PlanetTerms terms;
    for (auto _ : state) {
        terms.InitTermBuffer();
        terms.LoadPlanetTerms(3);
        const astro::SolarLongitude sun(terms, 3);
        terms.FreeTermBuffer();
        benchmark::DoNotOptimize(&sun);
    }
}
BENCHMARK(BM_LoadSolarLongitude);

astro::SolarLongitude LoadedSun() {
    astro::PlanetTerms terms;
    terms.InitTermBuffer();
    terms.LoadPlanetTerms(3);
    return astro::SolarLongitude(terms, 3);
}

// The Sun's longitude alone, exactly (every longitude term) and enclosed (the largest),
// for the next day at every step.
template <class Evaluate>
void RunSolarLongitude(benchmark::State& state, Evaluate evaluate) {
    const astro::SolarLongitude sun = LoadedSun();
    double T = SearchT;
    for (auto _ : state) {
        benchmark::DoNotOptimize(evaluate(sun, T));
        T += OneDay;
    }
}

void BM_SolarLongitudeExact(benchmark::State& state) {
    RunSolarLongitude(state, [](const astro::SolarLongitude& sun, double T) { return sun.Exact(T); });
}
BENCHMARK(BM_SolarLongitudeExact);

void BM_SolarLongitudeEnclose(benchmark::State& state) {
    RunSolarLongitude(state,
                      [](const astro::SolarLongitude& sun, double T) { return sun.Enclose(T); });
}
BENCHMARK(BM_SolarLongitudeEnclose);

void BM_Nutation(benchmark::State& state) {
    double T = SearchT;
    for (auto _ : state) {
        double dPsi, dEps;
        astro::Nutation(T, dPsi, dEps);
        benchmark::DoNotOptimize(dPsi);
        benchmark::DoNotOptimize(dEps);
        T += OneDay;
    }
}
BENCHMARK(BM_Nutation);

void BM_MoonPosition(benchmark::State& state) {
    double T = SearchT;
    for (auto _ : state) {
        astro::TPosition moon;
        astro::MoonPosition(T, moon);
        benchmark::DoNotOptimize(moon);
        T += OneDay;
    }
}
BENCHMARK(BM_MoonPosition);

}  // namespace
