// SPDX-License-Identifier: GPL-3.0-or-later
// One calculation as a click or a clock tick runs it. A whole calculation may cost at most
// one search step of the day-by-day way (BM_SearchStepFloor); "steps" counts the days it
// examined.
#include <benchmark/benchmark.h>

#include <array>
#include <string>

#include "cycle/calculator.h"

namespace {

class InputOnlyView : public cycle::CalculatorView {
public:
    InputOnlyView(int hour, int day, int month, int year)
        : texts_{std::to_string(hour), std::to_string(day), std::to_string(month),
                 std::to_string(year)} {}
    std::string Text(cycle::InputField field) const override {
        return texts_[cycle::IndexOf(field)];
    }
    void SetText(cycle::ResultField, const std::string& text) override {
        benchmark::DoNotOptimize(text.data());
    }

private:
    std::array<std::string, 4> texts_;
};

void RunComputeCycles(benchmark::State& state, int day, int month, int year) {
    InputOnlyView view(14, day, month, year);
    cycle::CycleCalculator calc(view);
    std::int64_t steps = 0;
    for (auto _ : state) {
        const std::int64_t before = calc.Search().Steps();
        calc.CalcReturnPress();
        steps = calc.Search().Steps() - before;
    }
    state.counters["steps"] = static_cast<double>(steps);
}

// After the year start: one solstice search and one year-start search.
void BM_ComputeCycles_Typical(benchmark::State& state) { RunComputeCycles(state, 24, 3, 1998); }
BENCHMARK(BM_ComputeCycles_Typical)->Unit(benchmark::kMicrosecond);

// January before the year start in the last year of a five-year group: the year-start
// search runs twice, the second time for the year before.
void BM_ComputeCycles_Worst(benchmark::State& state) { RunComputeCycles(state, 15, 1, 2028); }
BENCHMARK(BM_ComputeCycles_Worst)->Unit(benchmark::kMicrosecond);

}  // namespace
