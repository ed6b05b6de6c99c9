// SPDX-License-Identifier: GPL-3.0-or-later
// Conversion between the program's UTF-8 strings and Windows-1252, the encoding of the
// settings file.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Every byte has a character: Microsoft's table for 0x80-0x9F, with the five bytes the table
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) taken as the C1 controls of the same
// number, so any byte string survives a round trip through UTF-8.
std::string Cp1252ToUtf8(std::string_view text);

// Characters Windows-1252 lacks become "?", and so does each byte that is not part of a
// well-formed UTF-8 sequence.
std::string Utf8ToCp1252(std::string_view text);

// True when the text is well-formed UTF-8: no overlong forms, no surrogates, nothing past
// U+10FFFF, no sequence cut short.
bool IsWellFormedUtf8(std::string_view text);

// The character of one Windows-1252 byte.
char32_t Cp1252ByteToCodePoint(unsigned char byte);

// The Windows-1252 byte of one character, empty when the code page lacks it.
std::optional<char> CodePointToCp1252(char32_t cp);

}  // namespace platform
