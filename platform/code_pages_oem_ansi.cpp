// SPDX-License-Identifier: GPL-3.0-or-later
// The OEM <-> ANSI conversions: piece by piece through one fixed buffer of bytes.
#include "platform/code_pages_oem_ansi.h"

#include <algorithm>
#include <array>

#include "platform/code_pages.h"

namespace platform {

namespace {

constexpr int Oem = 850;
constexpr int Ansi = 1252;

// Each character of the line becomes its byte in `from` (or a substitute), and each byte is
// read back as a character of `to`. The buffer holds one piece and its terminating zero;
// the piece's length is kept apart, so a NUL character in the text does not cut it short.
std::u16string Convert(std::u16string_view line, int from, int to) {
    std::array<unsigned char, ConversionPieceLength + 1> buffer{};
    std::u16string result;
    result.reserve(line.size());
    ForEachConversionPiece(line, [&](std::u16string_view piece) {
        std::size_t n = 0;
        for (const char16_t unit : piece) {
            // Half of a surrogate pair is no character of any code page.
            const bool surrogate = unit >= 0xD800 && unit <= 0xDFFF;
            buffer[n++] = surrogate ? '?' : CodePointToCodePageByteOrSubstitute(from, unit);
        }
        buffer[n] = 0;
        for (std::size_t i = 0; i < n; ++i)
            result += static_cast<char16_t>(CodePageByteToCodePoint(to, buffer[i]));
    });
    return result;
}

}  // namespace

void ForEachConversionPiece(std::u16string_view line,
                            const std::function<void(std::u16string_view)>& piece) {
    std::size_t pos = 0;
    do {
        const std::size_t n = std::min(ConversionPieceLength, line.size() - pos);
        piece(line.substr(pos, n));
        pos += n;
    } while (pos < line.size());
}

std::u16string ConvertOemToAnsi(std::u16string_view line) { return Convert(line, Ansi, Oem); }

std::u16string ConvertAnsiToOem(std::u16string_view line) { return Convert(line, Oem, Ansi); }

}  // namespace platform
