// SPDX-License-Identifier: GPL-3.0-or-later
// The page margins of printing in printer pixels, from margins in millimetres and the
// printer's metrics.
#pragma once

#include <cstdint>

namespace editor {

// What the printer tells: pixels per inch across and down, and the distance in pixels from
// the paper's left and top edges to its printable area.
struct PrinterMetrics {
    int pixelsPerInchX;
    int pixelsPerInchY;
    int physicalOffsetX;
    int physicalOffsetY;
};

// Left and top margin in pixels, counted from the printable area.
struct PrintMargins {
    int left;
    int top;
};

// Whole pixels per centimetre, then the margin in whole pixels from the paper's edge, each
// rounded to nearest with halves to the even neighbour in extended precision; then the
// physical offset is taken off. At 600 pixels per inch a margin of 20 mm is 472 pixels from
// the paper's edge (236 per cm), at 300 pixels per inch 236 (118 per cm). Throws when a
// result does not fit an int.
PrintMargins GetPrintMargins(std::int32_t marginXmm, std::int32_t marginYmm,
                             const PrinterMetrics& printer);

// Rounding to nearest, halves to even, whatever the floating-point rounding mode.
long double RoundHalfEven(long double value);

}  // namespace editor
