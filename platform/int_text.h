// SPDX-License-Identifier: GPL-3.0-or-later
// Text to whole number: the one conversion used for input fields, the command line and the
// settings file, so that all of them accept the same spellings; and the hour argument's
// real number, read with the same blanks and sign.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace platform {

// Converts the whole of `text` to a signed 32-bit integer. Accepted: leading blanks (space,
// tab), an optional "+" or "-", then decimal digits, or hexadecimal digits after "$", "x",
// "X", "0x" or "0X". Hexadecimal digits form an unsigned 32-bit pattern read as signed
// ("$FFFFFFFF" is -1); the sign is applied afterwards, wrapping like the hardware does
// ("-$80000000" stays -2147483648). On failure returns false and leaves `value` unchanged.
bool TryStrToInt(std::string_view text, std::int32_t& value);

// The same conversion, empty when the text does not convert.
std::optional<std::int32_t> StrToIntOpt(std::string_view text);

// A real number truncated toward zero: the same leading blanks and sign, then decimal
// digits with at most one decimal point and at least one digit, nothing after. The whole
// part must fit a signed 32-bit integer. On failure returns false, `value` unchanged.
bool TryStrToTruncatedReal(std::string_view text, std::int32_t& value);

}  // namespace platform
