// SPDX-License-Identifier: GPL-3.0-or-later
// Errors of the astronomy engine and the checked integer steps that raise them. Each
// carries the text the user sees when it ends a calculation.
#pragma once

#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace astro {

// A failed open, positioning, read or close of a term file.
class InOutError : public std::runtime_error {
public:
    InOutError(int code, const std::string& text) : std::runtime_error(text), code_(code) {}
    int code() const { return code_; }

    // The error for a failed system call with errno `err`.
    static InOutError FromErrno(int err);
    // A file shorter than its index promises.
    static InOutError ReadBeyondEnd();

private:
    int code_;
};

// A value outside the range its destination can hold.
class RangeError : public std::range_error {
public:
    explicit RangeError(const std::string& text) : std::range_error(text) {}
};

// An integer step whose result does not fit a signed 32-bit integer.
class OverflowError : public std::overflow_error {
public:
    explicit OverflowError(const std::string& text) : std::overflow_error(text) {}
};

// More planetary terms than the term buffer holds.
class TermCapacityError : public std::runtime_error {
public:
    TermCapacityError();
};

// The texts of the two checks below: the check, then what was computed and its value, e.g.
// "Range check error: JDToDate: day count 3.2e+09 does not fit a 32-bit integer".
std::string RangeText(std::string_view what, double value);
std::string OverflowText(std::string_view what, std::int64_t a, char op, std::int64_t b);

// a + b and a - b in 32 bits, raising OverflowError instead of wrapping; `what` names the
// value being computed.
inline std::int32_t CheckedAdd(std::int32_t a, std::int32_t b, std::string_view what) {
    std::int32_t r;
    if (__builtin_add_overflow(a, b, &r)) throw OverflowError(OverflowText(what, a, '+', b));
    return r;
}

inline std::int32_t CheckedSub(std::int32_t a, std::int32_t b, std::string_view what) {
    std::int32_t r;
    if (__builtin_sub_overflow(a, b, &r)) throw OverflowError(OverflowText(what, a, '-', b));
    return r;
}

// The whole part of x truncated toward zero, as a 32-bit integer.
inline std::int32_t Trunc(double x, std::string_view what) {
    const double t = std::trunc(x);
    if (!(t >= -2147483648.0 && t <= 2147483647.0)) throw RangeError(RangeText(what, x));
    return static_cast<std::int32_t>(t);
}

// The largest whole number not above x, as a 32-bit integer.
inline std::int32_t Floor(double x, std::string_view what) {
    const double f = std::floor(x);
    if (!(f >= -2147483648.0 && f <= 2147483647.0)) throw RangeError(RangeText(what, x));
    return static_cast<std::int32_t>(f);
}

}  // namespace astro
