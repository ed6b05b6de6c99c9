// SPDX-License-Identifier: GPL-3.0-or-later
// The output of tolvane-cli for people: the window's table with the real characters for one
// calculation, and a line of the four pillars (year, month, day, hour) per day of a range.
// Columns are aligned by the cells a terminal gives each character.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>

#include "app/cli_view.h"
#include "cycle/calculator.h"

namespace cli {

// The cells `text` (UTF-8) takes in a terminal, by the rules of wcwidth: two for a CJK
// character, none for a combining mark, one for anything else printable.
std::size_t DisplayWidth(std::string_view text);

// The window's results as a table: a line with the date and hour, the column headings, the
// four rows (hour, day, month, year) and the year-start and solstice lines. An empty field
// leaves its cell empty.
void WriteWindowTable(std::ostream& out, const cycle::CycleInput& input, const CliView& view);

// The pillar lines' hour column and the gap after each column, in cells.
inline constexpr std::size_t PillarHourWidth = 3;
inline constexpr std::string_view PillarGap = "  ";

// The width of the date column for every day from `from` to `to`.
std::size_t PillarDateWidth(const cycle::CycleInput& from, const cycle::CycleInput& to);
// The heading line of the pillar lines.
std::string PillarHeader(std::size_t dateWidth);
// The start of a pillar line: the date as D.M.Y and the hour, each padded to its column.
std::string PillarDateAndHour(const cycle::CycleInput& input, std::size_t dateWidth);
// One pillar's cell, "戊寅 15" (stem, branch, position in the cycle of sixty), padded to
// its column and followed by the gap to the next.
std::string PillarCell(std::string_view stem, std::string_view branch, std::string_view position);
// A whole pillar line from the result fields of the view.
void WritePillarLine(std::ostream& out, const cycle::CycleInput& input, const CliView& view,
                     std::size_t dateWidth);

}  // namespace cli
