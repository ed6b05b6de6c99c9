// SPDX-License-Identifier: GPL-3.0-or-later
// Texts of the engine's input/output errors.
#include "astro/errors.h"

#include <cerrno>
#include <cstdio>

namespace astro {

InOutError InOutError::FromErrno(int err) {
    switch (err) {
    case ENOENT:
        return InOutError(err, "File not found");
    case EISDIR:
        return InOutError(err, "File is a folder");
    case EACCES:
    case EPERM:
        return InOutError(err, "File access denied");
    default:
        return InOutError(err, "I/O error " + std::to_string(err));
    }
}

// 100 is the classic code of a read past the end of a file.
InOutError InOutError::ReadBeyondEnd() { return InOutError(100, "Read beyond end of file"); }

std::string RangeText(std::string_view what, double value) {
    char number[32];
    std::snprintf(number, sizeof number, "%.10g", value);
    std::string text = "Range check error: ";
    text.append(what).append(" ").append(number).append(" does not fit a 32-bit integer");
    return text;
}

std::string OverflowText(std::string_view what, std::int64_t a, char op, std::int64_t b) {
    std::string text = "Integer overflow: ";
    text.append(what).append(" ").append(std::to_string(a)).append(" ");
    text.push_back(op);
    text.append(" ").append(std::to_string(b)).append(" does not fit a 32-bit integer");
    return text;
}

TermCapacityError::TermCapacityError()
    : std::runtime_error("!!! ERROR !!! Too many planetary terms !") {}

}  // namespace astro
