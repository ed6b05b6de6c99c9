// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the hour and date parts of the command line.
#include "cycle/command_line.h"

#include "platform/int_text.h"

namespace cycle {

namespace {

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
    if (platform::TryStrToTruncatedReal(Part(arg, 0, 2), hour)) return {};
    return {PartError(arg, "Stunden")};
}

}  // namespace cycle
