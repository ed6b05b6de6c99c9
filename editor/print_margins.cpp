// SPDX-License-Identifier: GPL-3.0-or-later
// The page margins of printing in printer pixels.
#include "editor/print_margins.h"

#include <cmath>
#include <limits>
#include <stdexcept>

namespace editor {

namespace {

int ToInt(long double value) {
    if (!(value >= std::numeric_limits<int>::min() && value <= std::numeric_limits<int>::max()))
        throw std::range_error("Seitenrand außerhalb des Bereichs");
    return static_cast<int>(value);
}

// One margin: pixels per cm from the resolution, the millimetres in those pixels.
int Margin(std::int32_t mm, int pixelsPerInch, int physicalOffset) {
    const long double perCm = RoundHalfEven(static_cast<long double>(pixelsPerInch) / 2.54L);
    const long double fromPaper = RoundHalfEven(static_cast<long double>(mm) / 10.0L * perCm);
    return ToInt(fromPaper - static_cast<long double>(physicalOffset));
}

}  // namespace

long double RoundHalfEven(long double value) {
    const long double below = std::floor(value);
    const long double fraction = value - below;
    if (fraction < 0.5L) return below;
    if (fraction > 0.5L) return below + 1;
    return std::fmod(below, 2.0L) == 0 ? below : below + 1;
}

PrintMargins GetPrintMargins(std::int32_t marginXmm, std::int32_t marginYmm,
                             const PrinterMetrics& printer) {
    return {Margin(marginXmm, printer.pixelsPerInchX, printer.physicalOffsetX),
            Margin(marginYmm, printer.pixelsPerInchY, printer.physicalOffsetY)};
}

}  // namespace editor
