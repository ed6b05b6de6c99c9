// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the Windows-1252 conversion: any bytes survive the way to UTF-8 and back, and any
// UTF-8 (valid or not) converts to Windows-1252 without reading outside its input.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/cp1252.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string utf8 = platform::Cp1252ToUtf8(bytes);
    if (platform::Utf8ToCp1252(utf8) != bytes) __builtin_trap();
    const std::string narrowed = platform::Utf8ToCp1252(bytes);
    if (narrowed.size() > bytes.size()) __builtin_trap();
    std::uint32_t cp = 0;
    for (std::size_t i = 0; i < size && i < 4; ++i) cp = cp << 8 | data[i];
    platform::CodePointToCp1252(static_cast<char32_t>(cp));
    return 0;
}
