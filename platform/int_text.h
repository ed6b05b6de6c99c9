// Text to whole number: the one conversion used for input fields, the command line and the
// settings file, so that all of them accept the same spellings.
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

}  // namespace platform
