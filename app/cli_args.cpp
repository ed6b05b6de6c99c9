// Reading the command line of tolvane-cli. The hour and date parts follow the window's own
// command-line rules, so both programs accept exactly the same arguments.
#include "app/cli_args.h"

#include <limits>

#include "platform/int_text.h"

namespace cli {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string PartError(std::string_view arg, std::string_view what) {
    return std::string(arg) + " ist ein falscher " + std::string(what) + "-Parameter !";
}

// Up to `count` characters from position `first`; characters beyond the end are absent.
std::string_view Part(std::string_view arg, std::size_t first, std::size_t count) {
    return first < arg.size() ? arg.substr(first, count) : std::string_view{};
}

void ReadDatePart(std::string_view arg, std::size_t first, std::size_t count,
                  std::int32_t& value, std::vector<std::string>& errors) {
    if (!platform::TryStrToInt(Part(arg, first, count), value)) {
        errors.push_back(PartError(arg, "Datum"));
    }
}

void ReadDate(std::string_view arg, CalcInput& date, std::vector<std::string>& errors) {
    ReadDatePart(arg, 0, 2, date.day, errors);
    ReadDatePart(arg, 2, 2, date.month, errors);
    // Five characters for the year, so that a sign can precede four digits.
    ReadDatePart(arg, 4, 5, date.year, errors);
}

// A real number (leading blanks, optional sign, digits with an optional decimal point,
// nothing after) truncated toward zero. False, `value` unchanged, if it does not convert.
bool TryStrToHour(std::string_view text, std::int32_t& value) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    // Only the digits before the point count: dropping the fraction truncates toward zero.
    std::int64_t whole = 0;
    bool anyDigit = false;
    bool point = false;
    for (const char c : text) {
        if (c == '.' && !point) {
            point = true;
        } else if (!IsDigit(c)) {
            return false;
        } else {
            anyDigit = true;
            if (!point) whole = whole * 10 + (c - '0');
            if (whole > std::numeric_limits<std::int32_t>::max()) return false;
        }
    }
    if (!anyDigit) return false;
    value = static_cast<std::int32_t>(negative ? -whole : whole);
    return true;
}

void ReadHour(std::string_view arg, std::int32_t& hour, std::vector<std::string>& errors) {
    if (!TryStrToHour(Part(arg, 0, 2), hour)) errors.push_back(PartError(arg, "Stunden"));
}

void ThrowIfAny(const std::vector<std::string>& errors) {
    if (errors.empty()) return;
    std::string text;
    for (const std::string& line : errors) text += (text.empty() ? "" : "\n") + line;
    throw UsageError(text);
}

std::uint8_t ReadMoonSpeed(std::string_view text) {
    std::int32_t v = 0;
    if (!platform::TryStrToInt(text, v) || v < 0 || v > 255) {
        throw UsageError(std::string(text) +
                         " ist ein falscher MoonSpeed-Parameter (erlaubt: 0 bis 255) !");
    }
    return static_cast<std::uint8_t>(v);
}

}  // namespace

CalcInput ReadInput(const std::vector<std::string>& positional, const std::tm& now) {
    // As in the window, a single argument is not enough to say anything and is ignored.
    if (positional.size() < 2) {
        return {now.tm_hour, now.tm_mday, now.tm_mon + 1, now.tm_year + 1900};
    }
    CalcInput input;
    std::vector<std::string> errors;
    ReadDate(positional[0], input, errors);
    ReadHour(positional[1], input.hour, errors);
    ThrowIfAny(errors);
    return input;
}

RangeInput ReadRange(const CliOptions& options) {
    RangeInput range;
    std::vector<std::string> errors;
    ReadDate(options.from.value_or(""), range.from, errors);
    ReadDate(options.to.value_or(""), range.to, errors);
    if (options.hour) ReadHour(*options.hour, range.from.hour, errors);
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
    else if (name == "--json") o.json = true;
    else throw UsageError("Unbekannte Option: " + a + " (siehe --help)");
}

void CheckCombination(const CliOptions& o) {
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
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        // Only "--" starts an option: "-5" or "0101-0500" are hour and date arguments.
        if (a.size() >= 3 && a.compare(0, 2, "--") == 0) TakeOption(args, i, o);
        else if (a == "-h") o.help = true;
        else o.positional.push_back(a);
    }
    if (!o.help) CheckCombination(o);
    return o;
}

}  // namespace cli
