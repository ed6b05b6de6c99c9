// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the integer text conversion and the hour argument's truncated real number: any
// text converts or is refused, and every number read gives itself back through its
// decimal text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/int_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::int32_t whole = 0;
    if (platform::TryStrToTruncatedReal(text, whole)) {
        std::int32_t back = ~whole;
        if (!platform::TryStrToTruncatedReal(std::to_string(whole), back) || back != whole)
            __builtin_trap();
    }
    std::int32_t value = 0;
    if (!platform::TryStrToInt(text, value)) return 0;
    std::int32_t again = ~value;
    if (!platform::TryStrToInt(std::to_string(value), again) || again != value) __builtin_trap();
    return 0;
}
