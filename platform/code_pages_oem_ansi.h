// SPDX-License-Identifier: GPL-3.0-or-later
// The DOS and Windows character sets of the notes editor's conversions: code page 850 (OEM)
// and Windows-1252 (ANSI), on text held as UTF-16 code units.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace platform {

// A line goes through the conversion in pieces of at most this many characters, each copied
// into one fixed buffer, so a line of any length needs no buffer of its size.
inline constexpr std::size_t ConversionPieceLength = 999;

// Calls `piece` for each piece of `line` in order; an empty line is one empty piece.
void ForEachConversionPiece(std::u16string_view line,
                            const std::function<void(std::u16string_view)>& piece);

// DOS text read as Windows text, made right: each character's Windows-1252 byte read as
// code page 850 (a "„" read from the DOS byte 0x84 becomes "ä"). A character without a
// Windows-1252 byte takes its best fit, else "?"; one character for one code unit, so the
// line keeps its length (a character beyond U+FFFF becomes "??").
std::u16string ConvertOemToAnsi(std::u16string_view line);

// The way back: each character's code-page-850 byte read as Windows-1252, so that the text
// saved as Windows-1252 holds the DOS bytes. Best fit, else "?", as above.
std::u16string ConvertAnsiToOem(std::u16string_view line);

}  // namespace platform
