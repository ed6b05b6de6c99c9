// Reading the hour and date parts of the command line.
#include "cycle/command_line.h"

#include <limits>

#include "platform/int_text.h"

namespace cycle {

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

}  // namespace

std::vector<std::string> ReadDateArgument(std::string_view arg, std::int32_t& day,
                                          std::int32_t& month, std::int32_t& year) {
    std::vector<std::string> errors;
    ReadDatePart(arg, 0, 2, day, errors);
    ReadDatePart(arg, 2, 2, month, errors);
    ReadDatePart(arg, 4, 5, year, errors);
    return errors;
}

std::vector<std::string> ReadHourArgument(std::string_view arg, std::int32_t& hour) {
    if (TryStrToTruncatedReal(Part(arg, 0, 2), hour)) return {};
    return {PartError(arg, "Stunden")};
}

bool TryStrToTruncatedReal(std::string_view text, std::int32_t& value) {
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

}  // namespace cycle
