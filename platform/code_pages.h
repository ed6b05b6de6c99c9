// SPDX-License-Identifier: GPL-3.0-or-later
// The single-byte code pages old text files come in: Windows-1252, the DOS code pages 437
// and 850, and Mac Roman, each identified by its Windows code page number.
#pragma once

#include <optional>

namespace platform {

// True for 1252, 437, 850 and 10000 (Mac Roman), the code pages the tables below hold.
bool IsKnownSingleByteCodePage(int codePage);

// The character of one byte. The lower half is ASCII in every one of these code pages, the
// control codes included; a code page without a table here is read as Windows-1252.
char32_t CodePageByteToCodePoint(int codePage, unsigned char byte);

// The byte of one character in the code page, empty when the code page lacks it.
std::optional<unsigned char> CodePointToCodePageByte(int codePage, char32_t cp);

// A look-alike byte for a character the code page lacks: Microsoft's published best fit
// for 1252 (accented letters to their base letter, fullwidth forms, box drawing, ...), and a
// short list of our own for 850 (typographic quotes to " and ', dashes to -). Empty for
// every other character and code page.
std::optional<unsigned char> BestFitCodePageByte(int codePage, char32_t cp);

// The byte a conversion into the code page writes: the character's own byte, else its best
// fit, else "?".
unsigned char CodePointToCodePageByteOrSubstitute(int codePage, char32_t cp);

}  // namespace platform
