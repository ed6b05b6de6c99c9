// SPDX-License-Identifier: GPL-3.0-or-later
// A hundred years of days in one run of tolvane-cli (--json, 1950 to 2049, hour 12), the
// fast way against the reference way (every day searched day by day, shown through the view
// and written by JsonLine). The fast way may take at most 1/20 of the reference's time.
#include <benchmark/benchmark.h>

#include <ostream>
#include <streambuf>

#include "app/cli_run.h"
#include "platform/program_folder.h"

namespace {

// Output that goes nowhere, so that the benchmark measures the work, not a disk.
class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

void RunBatch(benchmark::State& state, bool reference) {
    NullBuffer buffer;
    std::ostream out(&buffer), err(&buffer);
    cli::CliContext context{platform::ProgramFolder(), [] { return std::tm{}; }};
    context.referenceSearch = reference;
    const std::vector<std::string> args = {"--json", "--from", "01011950", "--to", "31122049",
                                           "--hour", "12"};
    for (auto _ : state) {
        if (cli::RunCli(args, out, err, context) != 0) state.SkipWithError("run failed");
    }
}

void BM_Batch100Years(benchmark::State& state) { RunBatch(state, false); }
BENCHMARK(BM_Batch100Years)->Unit(benchmark::kMillisecond);

void BM_Batch100Years_Reference(benchmark::State& state) { RunBatch(state, true); }
BENCHMARK(BM_Batch100Years_Reference)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
