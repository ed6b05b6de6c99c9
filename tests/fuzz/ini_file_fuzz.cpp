// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the settings file parser: any bytes parse, reads and edits stay within the lines,
// and the written form parses back to the same lines.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    platform::IniDocument doc = platform::IniDocument::Parse(bytes);
    // Names and a value from the input itself, so that they match lines of it.
    const std::size_t third = size / 3;
    const std::string section(bytes.substr(0, third));
    const std::string key(bytes.substr(third, third));
    const std::string value(bytes.substr(2 * third));
    doc.ReadString(section, key, "");
    doc.ReadInteger(section, key, 0);
    doc.ReadString("Parameter", "MoonSpeed", "");
    const std::string written = doc.Serialize();
    if (platform::IniDocument::Parse(written).Lines() != doc.Lines()) __builtin_trap();
    try {
        doc.Set(section, key, value);
    } catch (const std::invalid_argument&) {
        return 0;  // a line break in a name or value
    }
    // The edited document writes and parses back to the same lines too.
    const platform::IniDocument again = platform::IniDocument::Parse(doc.Serialize());
    if (again.Lines() != doc.Lines()) __builtin_trap();
    return 0;
}
