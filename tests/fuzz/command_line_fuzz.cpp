// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the command-line parts of both programs: the date and hour arguments and the
// options of tolvane-cli. The input is the argument list, arguments separated by NUL.
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "app/cli_args.h"
#include "cycle/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> args(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) args.emplace_back();
        else args.back() += static_cast<char>(data[i]);
    }
    std::int32_t day = 0, month = 0, year = 0, hour = 0;
    cycle::ReadDateArgument(args[0], day, month, year);
    cycle::ReadHourArgument(args.back(), hour);
    try {
        const cli::CliOptions options = cli::ParseOptions(args);
        if (options.IsRange()) cli::ReadRange(options);
        else cli::ReadInput(options.positional, std::tm{});
    } catch (const cli::UsageError&) {
    }
    return 0;
}
