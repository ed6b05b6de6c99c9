// SPDX-License-Identifier: GPL-3.0-or-later
// The hour and date arguments of the command line, DDMMYYYY and HH, read part by part as
// both programs read them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cycle {

// Characters 1-2 of `arg` into `day`, 3-4 into `month`, 5-9 into `year` (five, so that a
// sign can precede four digits), each by the integer text conversion. A part that does not
// convert (an empty one included) keeps its value and adds the message
// arg + " ist ein falscher Datum-Parameter !"; the messages are returned in part order.
std::vector<std::string> ReadDateArgument(std::string_view arg, std::int32_t& day,
                                          std::int32_t& month, std::int32_t& year);

// Characters 1-2 of `arg` as a real number truncated toward zero into `hour`; if they do
// not convert, `hour` keeps its value and the message arg + " ist ein falscher
// Stunden-Parameter !" is returned.
std::vector<std::string> ReadHourArgument(std::string_view arg, std::int32_t& hour);

}  // namespace cycle
