// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-number conversion with its own digit loop, so the accepted spellings do not depend
// on the C library's locale or on strtol's leniency about trailing text.
#include "platform/int_text.h"

namespace platform {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

int DigitValue(char c, int base) {
    int d = 99;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
    return d < base ? d : -1;
}

// Consumes a hexadecimal prefix, if any, and tells the base of the digits that follow.
int TakeBase(std::string_view& text) {
    if (!text.empty() && (text[0] == '$' || text[0] == 'x' || text[0] == 'X')) {
        text.remove_prefix(1);
        return 16;
    }
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        return 16;
    }
    return 10;
}

// The magnitude of the digits, or empty if there are none, one is not a digit or the
// magnitude passes `limit`. The running value never exceeds limit * 16 + 15, far inside
// 64 bits.
std::optional<std::uint64_t> Magnitude(std::string_view digits, int base, std::uint64_t limit) {
    if (digits.empty()) return std::nullopt;
    std::uint64_t m = 0;
    for (const char c : digits) {
        const int d = DigitValue(c, base);
        if (d < 0) return std::nullopt;
        m = m * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(d);
        if (m > limit) return std::nullopt;
    }
    return m;
}

// Skips leading blanks and takes an optional sign; true for "-".
bool TakeBlanksAndSign(std::string_view& text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    return negative;
}

}  // namespace

std::optional<std::int32_t> StrToIntOpt(std::string_view text) {
    const bool negative = TakeBlanksAndSign(text);
    const int base = TakeBase(text);
    if (base == 16) {
        const auto m = Magnitude(text, 16, 0xFFFFFFFFu);
        if (!m) return std::nullopt;
        std::uint32_t bits = static_cast<std::uint32_t>(*m);
        if (negative) bits = 0u - bits;
        return static_cast<std::int32_t>(bits);
    }
    const std::uint64_t limit = negative ? 2147483648u : 2147483647u;
    const auto m = Magnitude(text, 10, limit);
    if (!m) return std::nullopt;
    const std::int64_t signedValue =
        negative ? -static_cast<std::int64_t>(*m) : static_cast<std::int64_t>(*m);
    return static_cast<std::int32_t>(signedValue);
}

bool TryStrToTruncatedReal(std::string_view text, std::int32_t& value) {
    const bool negative = TakeBlanksAndSign(text);
    const std::size_t point = text.find('.');
    std::string_view whole = text.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view{} : text.substr(point + 1);
    if (whole.empty() && fraction.empty()) return false;
    for (const char c : fraction)
        if (DigitValue(c, 10) < 0) return false;
    // Dropping the fraction truncates toward zero; "" before the point is 0 (".5" is 0).
    std::uint64_t m = 0;
    if (!whole.empty()) {
        const auto digits = Magnitude(whole, 10, 2147483647u);
        if (!digits) return false;
        m = *digits;
    }
    value = static_cast<std::int32_t>(negative ? -static_cast<std::int64_t>(m)
                                               : static_cast<std::int64_t>(m));
    return true;
}

bool TryStrToInt(std::string_view text, std::int32_t& value) {
    const auto converted = StrToIntOpt(text);
    if (!converted) return false;
    value = *converted;
    return true;
}

}  // namespace platform
