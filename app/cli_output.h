// SPDX-License-Identifier: GPL-3.0-or-later
// The output formats of tolvane-cli: name/text lines, a tab-separated table for ranges, and
// a compact JSON object per calculation.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "app/cli_args.h"
#include "cycle/calculator.h"
#include "app/cli_view.h"

namespace cli {

// `text` as a JSON string literal, quotes included. UTF-8 passes through unchanged.
std::string JsonString(std::string_view text);

// `x` with 17 significant digits, enough to give back the same double.
std::string JsonNumber(double x);

// One line: the input, the calculator's results (0-based indices, each stem and branch with
// its character) and the 21 result texts.
std::string JsonLine(const cycle::CycleCalculator& calc, const CliView& view);

// "Name<TAB>text" for each result field, one line each.
void WriteNamedTexts(std::ostream& out, const CliView& view);

// The header of the range table: Datum, Stunde and the result field names.
void WriteTableHeader(std::ostream& out);
// One row of the range table: the date as D.M.Y, the hour, then the result texts.
void WriteTableRow(std::ostream& out, const cycle::CycleInput& input, const CliView& view);

}  // namespace cli
