// SPDX-License-Identifier: GPL-3.0-or-later
// The sexagenary cycle calculator. One calculation, end to end (CalcReturnPress):
//   1. ValidateInput empties the result fields and checks the four input texts;
//   2. ComputeCycles reads them, finds the reference winter solstice of the five-year
//      group and the start of the cycle year, and derives positions, stems and branches;
//   3. ShowResults writes numbers, names, glyph letters and the two dates.
// The calculator owns all of its state; it reaches its front end only through a
// CalculatorView.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "astro/calendar.h"
#include "cycle/solar_search.h"
#include "cycle/view.h"

namespace cycle {

// An hour and a civil date as numbers.
struct CycleInput {
    std::int32_t hour = 0;
    std::int32_t day = 0;
    std::int32_t month = 0;
    std::int32_t year = 0;
};

// The range each input field accepts, in checking order: year, month, day, hour.
struct InputRange {
    InputField field;
    std::int32_t low, high;
};
inline constexpr InputRange InputRanges[] = {{InputField::JEdit, -9999, 9999},
                                             {InputField::MEdit, 1, 12},
                                             {InputField::TEdit, 1, 31},
                                             {InputField::SEdit, 0, 23}};

// An input field that failed its check, with its text.
struct InvalidInput {
    InputField field;
    std::string text;
};

// What each result field shows, named rather than spelled out, so that every front end
// spells it the same way: the year-start and solstice texts, a position in the cycle of
// sixty (shown as index + 1), a stem's or a branch's glyph letter or its number and name.
enum class PieceKind { Empty, YearStart, Solstice, Position, StemLetter, StemName, BranchLetter, BranchName };
struct ResultPiece {
    PieceKind kind = PieceKind::Empty;
    std::int32_t index = 0;
};
using ResultPieces = std::array<ResultPiece, ResultFieldCount>;

// The whole day of a search record: the integer part of its Day.
std::int32_t WholeDay(const astro::TCalendarDate& d);

class CycleCalculator {
public:
    // `termFolder`: where PLANETS.NDX and PLANETS.DAT lie; empty means the executable's
    // data folder.
    explicit CycleCalculator(CalculatorView& view, const std::string& termFolder = {});

    // The one entry point of a calculation: check, compute, show; invalid input leaves
    // the results empty. An error of a search propagates with the results still empty.
    void CalcReturnPress();
    // The change handler of the input fields: any edit empties the results.
    void ZeitEditChange();

    bool ValidateInput();
    // The first input field that fails its check, in checking order (year, month, day,
    // hour); none if all pass.
    std::optional<InvalidInput> FirstInvalidInput() const;
    // The same check on numbers: the first value outside its range, if any.
    static std::optional<InputField> FirstOutOfRange(const CycleInput& input);

    // Reads the four input fields (already checked) and computes.
    void ComputeCycles();
    // Computes for an hour and date within the input ranges, without reading the fields;
    // ShowResults(true) then shows the results.
    void ComputeCycles(const CycleInput& input);
    void ShowResults(bool fill);
    // The pieces the result fields show after the last ComputeCycles, by field.
    ResultPieces Pieces() const;
    // The text of one piece, as the window shows it.
    std::string PieceText(const ResultPiece& piece) const;
    std::int32_t MonthPosition() const;
    void FindYearStart();
    void FindWinterSolstice();

    // True if `text` converts as a whole number within low … high.
    static bool InRange(std::string_view text, std::int32_t low, std::int32_t high);

    SolarSearch& Search() { return search_; }
    std::uint8_t MoonSpeed() const { return search_.MoonSpeed(); }
    void SetMoonSpeed(std::uint8_t degrees) { search_.SetMoonSpeed(degrees); }

    // The hour and date last calculated, or put in by the clock or the command line.
    std::int32_t InputHour = 0;
    std::int32_t InputDay = 0;
    std::int32_t InputMonth = 0;
    std::int32_t InputYear = 0;

    // Search records: the Year of YearStartDate is the input of both searches.
    astro::TCalendarDate YearStartDate;
    astro::TCalendarDate SolsticeDate;
    double SolsticeJD = 0.0;

    // Results of the last ComputeCycles; indices are 0-based.
    std::int32_t YearStartDay = 0, YearStartMonth = 0, YearStartYear = 0;
    std::int32_t DayPos60 = 0, MonthPos60 = 0, YearPos60 = 0;
    std::int32_t DayStem = 0, MonthStem = 0, YearStem = 0;
    std::int32_t HourBranch = 0, DayBranch = 0, MonthBranch = 0, YearBranch = 0;

private:
    CalculatorView& view_;
    SolarSearch search_;
};

}  // namespace cycle
