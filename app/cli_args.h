// SPDX-License-Identifier: GPL-3.0-or-later
// The command line of tolvane-cli: options, and the hour and date parts read from arguments
// in the same way the window reads its own command line.
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "cycle/calculator.h"

namespace cli {

// A mistake on the command line; the text (one or more lines) is what the user sees, and
// the program ends with exit status 2.
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const std::string& text) : std::runtime_error(text) {}
};

// An hour and a civil date as typed, not yet range-checked: the calculator checks them.
using CalcInput = cycle::CycleInput;

// What the results are written as: the window's table for people (a line of the four
// pillars per day in a range), the result fields as "Name<TAB>text" for scripts, or JSON.
enum class OutputFormat { Table, Fields, Json };

struct CliOptions {
    bool help = false;
    bool version = false;
    bool json = false;
    bool fields = false;
    std::optional<std::uint8_t> moonSpeed;
    std::vector<std::string> positional;
    std::optional<std::string> from;
    std::optional<std::string> to;
    std::optional<std::string> hour;

    bool IsRange() const { return from.has_value() || to.has_value(); }
    OutputFormat Format() const {
        return json ? OutputFormat::Json : fields ? OutputFormat::Fields : OutputFormat::Table;
    }
};

// Hour and date from the positional arguments: characters 1-2 of the first as the day, 3-4
// as the month, 5-9 as the year, characters 1-2 of the second as the hour; with fewer than
// two arguments, the local hour and date of `now`. Raises UsageError with one line per part
// that does not convert.
CalcInput ReadInput(const std::vector<std::string>& positional, const std::tm& now);

// The first and last day of a range (--from, --to) and its hour (--hour, else 0), read by
// the same part rules. Raises UsageError for a day the program's calendar lacks: 5 to 14
// October 1582 (Julian up to the 4th, Gregorian from the 15th) and days beyond the end
// of their month.
struct RangeInput {
    CalcInput from;
    CalcInput to;
};
RangeInput ReadRange(const CliOptions& options);

// Sorts the arguments (without the program name) into options and positional arguments.
// Raises UsageError for unknown options, missing option values and a bad --moonspeed.
CliOptions ParseOptions(const std::vector<std::string>& args);

}  // namespace cli
