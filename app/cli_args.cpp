// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the command line of tolvane-cli. The hour and date parts follow the window's own
// command-line rules, so both programs accept exactly the same arguments.
#include "app/cli_args.h"

#include <optional>
#include <string>

#include "cycle/command_line.h"
#include "cycle/solar_search.h"
#include "platform/int_text.h"

namespace cli {

namespace {

void ThrowIfAny(const std::vector<std::string>& errors) {
    if (errors.empty()) return;
    std::string text;
    for (const std::string& line : errors) text += (text.empty() ? "" : "\n") + line;
    throw UsageError(text);
}

std::uint8_t ReadMoonSpeed(std::string_view text) {
    std::int32_t v = 0;
    std::optional<std::uint8_t> speed;
    if (platform::TryStrToInt(text, v)) speed = cycle::MoonSpeedFromSetting(v);
    if (!speed) {
        throw UsageError(std::string(text) +
                         " ist ein falscher MoonSpeed-Parameter (erlaubt: 1 bis 255) !");
    }
    return *speed;
}

// Julian up to 4 October 1582, Gregorian from the next day, which was 15 October.
bool IsGregorian(const CalcInput& d) {
    return d.year > 1582 || (d.year == 1582 && (d.month > 10 || (d.month == 10 && d.day > 4)));
}

std::int32_t DaysInMonth(const CalcInput& d) {
    constexpr std::int32_t Days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (d.month != 2) return Days[d.month - 1];
    // Years count through zero, so year 0 and -4 are leap years like 4.
    const bool leap = d.year % 4 == 0 && (!IsGregorian(d) || d.year % 100 != 0 || d.year % 400 == 0);
    return leap ? 29 : 28;
}

// The message for a date with a plausible day and month that the calendar does not have;
// other mistakes are left to the calculator's checks and their messages.
std::optional<std::string> MissingCalendarDay(std::string_view option, const CalcInput& d) {
    if (d.month < 1 || d.month > 12 || d.day < 1 || d.day > 31) return std::nullopt;
    const std::string date = std::to_string(d.day) + "." + std::to_string(d.month) + "." +
                             std::to_string(d.year);
    if (d.year == 1582 && d.month == 10 && d.day >= 5 && d.day <= 14) {
        return std::string(option) + ": den " + date +
               " gibt es nicht; auf den 4.10.1582 (julianisch) folgte der 15.10.1582 "
               "(gregorianisch).";
    }
    if (d.day > DaysInMonth(d)) {
        return std::string(option) + ": den " + date + " gibt es nicht; der Monat hat " +
               std::to_string(DaysInMonth(d)) + " Tage.";
    }
    return std::nullopt;
}

}  // namespace

CalcInput ReadInput(const std::vector<std::string>& positional, const std::tm& now) {
    // As in the window, a single argument is not enough to say anything and is ignored.
    if (positional.size() < 2) {
        return {now.tm_hour, now.tm_mday, now.tm_mon + 1, now.tm_year + 1900};
    }
    CalcInput input;
    std::vector<std::string> errors =
        cycle::ReadDateArgument(positional[0], input.day, input.month, input.year);
    for (std::string& e : cycle::ReadHourArgument(positional[1], input.hour))
        errors.push_back(std::move(e));
    ThrowIfAny(errors);
    return input;
}

RangeInput ReadRange(const CliOptions& options) {
    RangeInput range;
    std::vector<std::string> errors;
    auto add = [&errors](std::vector<std::string> more) {
        for (std::string& e : more) errors.push_back(std::move(e));
    };
    CalcInput& from = range.from;
    CalcInput& to = range.to;
    add(cycle::ReadDateArgument(options.from.value_or(""), from.day, from.month, from.year));
    add(cycle::ReadDateArgument(options.to.value_or(""), to.day, to.month, to.year));
    if (options.hour) add(cycle::ReadHourArgument(*options.hour, from.hour));
    ThrowIfAny(errors);
    // Counting days from a date the calendar lacks would start or end on another day.
    if (auto e = MissingCalendarDay("--from", from)) errors.push_back(std::move(*e));
    if (auto e = MissingCalendarDay("--to", to)) errors.push_back(std::move(*e));
    ThrowIfAny(errors);
    range.to.hour = range.from.hour;
    return range;
}

namespace {

// The value of an option given as "--name value" or "--name=value".
std::string TakeValue(const std::vector<std::string>& args, std::size_t& i,
                      std::string_view name, const std::optional<std::string>& inlineValue) {
    if (inlineValue) return *inlineValue;
    if (i + 1 >= args.size()) {
        throw UsageError("Der Option " + std::string(name) + " fehlt ihr Wert (siehe --help).");
    }
    return args[++i];
}

// Takes the option at args[i] (and its value, moving i past it).
void TakeOption(const std::vector<std::string>& args, std::size_t& i, CliOptions& o) {
    const std::string& a = args[i];
    const std::size_t eq = a.find('=');
    const std::string name = a.substr(0, eq);
    std::optional<std::string> inlineValue;
    if (eq != std::string::npos) inlineValue = a.substr(eq + 1);
    auto value = [&] { return TakeValue(args, i, name, inlineValue); };
    if (name == "--moonspeed") o.moonSpeed = ReadMoonSpeed(value());
    else if (name == "--from") o.from = value();
    else if (name == "--to") o.to = value();
    else if (name == "--hour") o.hour = value();
    else if (inlineValue) throw UsageError("Unbekannte Option: " + a);
    else if (name == "--help") o.help = true;
    else if (name == "--version") o.version = true;
    else if (name == "--json") o.json = true;
    else if (name == "--fields") o.fields = true;
    else throw UsageError("Unbekannte Option: " + a + " (siehe --help)");
}

void CheckCombination(const CliOptions& o) {
    if (o.json && o.fields) {
        throw UsageError("--json und --fields schließen einander aus (siehe --help).");
    }
    if (o.IsRange() && !(o.from && o.to)) {
        throw UsageError("--from und --to gehören zusammen (siehe --help).");
    }
    if (o.hour && !o.IsRange()) {
        throw UsageError("--hour gilt nur zusammen mit --from und --to (siehe --help).");
    }
    if (o.IsRange() && !o.positional.empty()) {
        throw UsageError("Zu --from und --to passen keine weiteren Argumente: " +
                         o.positional.front());
    }
}

}  // namespace

CliOptions ParseOptions(const std::vector<std::string>& args) {
    CliOptions o;
    bool options = true;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        // "--" ends the options: everything after it is an argument.
        if (options && a == "--") options = false;
        // Only "--" starts an option: "-5" or "0101-0500" are hour and date arguments.
        else if (!options) o.positional.push_back(a);
        else if (a.size() >= 3 && a.compare(0, 2, "--") == 0) TakeOption(args, i, o);
        else if (a == "-h") o.help = true;
        else o.positional.push_back(a);
    }
    if (!o.help && !o.version) CheckCombination(o);
    return o;
}

}  // namespace cli
