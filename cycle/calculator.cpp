// SPDX-License-Identifier: GPL-3.0-or-later
// Checking the input, computing the cycles and showing the results.
#include "cycle/calculator.h"

#include <cmath>

#include "astro/errors.h"
#include "cycle/cycle_math.h"
#include "cycle/names.h"
#include "platform/int_text.h"

namespace cycle {

namespace {

constexpr std::int32_t BaseYear = 1924;         // position 0, stem 0, branch 0
constexpr std::int32_t GroupYears = 5;          // 5 × 12 = 60 months
constexpr double MeanMonth = 30.4375;           // 365.25 / 12 days
constexpr double HalfMeanMonth = 15.2188;       // the reference month starts this early

}  // namespace

std::int32_t WholeDay(const astro::TCalendarDate& d) { return astro::Trunc(d.Day, "day of month"); }

namespace {

std::int32_t ReadInt(const CalculatorView& view, InputField field) {
    std::int32_t v = 0;
    platform::TryStrToInt(view.Text(field), v);
    return v;
}

// Shows the busy state for as long as it lives, however the computation ends.
class BusyScope {
public:
    explicit BusyScope(CalculatorView& view) : view_(view) { view_.SetBusy(true); }
    ~BusyScope() { view_.SetBusy(false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    CalculatorView& view_;
};

}  // namespace

CycleCalculator::CycleCalculator(CalculatorView& view, const std::string& termFolder)
    : view_(view), search_(termFolder) {}

bool CycleCalculator::InRange(std::string_view text, std::int32_t low, std::int32_t high) {
    std::int32_t v;
    return platform::TryStrToInt(text, v) && low <= v && v <= high;
}

std::optional<InvalidInput> CycleCalculator::FirstInvalidInput() const {
    for (const InputRange& r : InputRanges) {
        std::string text = view_.Text(r.field);
        if (!InRange(text, r.low, r.high)) return InvalidInput{r.field, std::move(text)};
    }
    return std::nullopt;
}

std::optional<InputField> CycleCalculator::FirstOutOfRange(const CycleInput& input) {
    for (const InputRange& r : InputRanges) {
        std::int32_t v = input.hour;
        if (r.field == InputField::TEdit) v = input.day;
        else if (r.field == InputField::MEdit) v = input.month;
        else if (r.field == InputField::JEdit) v = input.year;
        if (v < r.low || v > r.high) return r.field;
    }
    return std::nullopt;
}

bool CycleCalculator::ValidateInput() {
    ShowResults(false);
    return !FirstInvalidInput();
}

void CycleCalculator::CalcReturnPress() {
    if (ValidateInput()) {
        ComputeCycles();
        ShowResults(true);
    } else {
        ShowResults(false);
    }
}

void CycleCalculator::ZeitEditChange() { ShowResults(false); }

void CycleCalculator::FindYearStart() { YearStartDate = search_.YearStart(YearStartDate.Year); }

void CycleCalculator::FindWinterSolstice() {
    const SolsticeResult found = search_.WinterSolstice(YearStartDate.Year);
    YearStartDate.Month = 12;
    YearStartDate.Day = 0.0;
    SolsticeDate = found.date;
    SolsticeJD = found.jd;
}

std::int32_t CycleCalculator::MonthPosition() const {
    const double x = DayNumber(InputDay, InputMonth, InputYear) - (SolsticeJD - HalfMeanMonth);
    // Far in the past (before about −3200) the Julian calendar has drifted so far that the
    // reference solstice can fall after 1 January and x is negative. Counting whole months
    // downward keeps every month 30.4375 days long on both sides of the solstice's month.
    return PositiveMod(astro::Floor(x / MeanMonth, "month position"), 60);
}

void CycleCalculator::ComputeCycles() {
    BusyScope busy(view_);
    ComputeCycles({ReadInt(view_, InputField::SEdit), ReadInt(view_, InputField::TEdit),
                   ReadInt(view_, InputField::MEdit), ReadInt(view_, InputField::JEdit)});
}

void CycleCalculator::ComputeCycles(const CycleInput& input) {
    search_.NewCalculation();
    InputHour = input.hour;
    InputDay = input.day;
    InputMonth = input.month;
    InputYear = input.year;

    // The reference solstice: December before the first year of the five-year group,
    // or, from its day on, December of the group's last year.
    const std::int32_t r = PositiveMod(InputYear - BaseYear, GroupYears);
    YearStartDate.Year = InputYear - r - 1;
    FindWinterSolstice();
    if (InputYear - GroupYears == SolsticeDate.Year && SolsticeDate.Month == InputMonth &&
        InputDay >= WholeDay(SolsticeDate)) {
        YearStartDate.Year += GroupYears;
        FindWinterSolstice();
    }

    // The year start; a date before it belongs to the cycle year before.
    YearStartDate.Year = InputYear;
    FindYearStart();
    if (YearStartDate.Month > InputMonth ||
        (YearStartDate.Month == InputMonth && InputDay < WholeDay(YearStartDate))) {
        YearStartDate.Year -= 1;
        FindYearStart();
    }
    YearStartDay = WholeDay(YearStartDate);
    YearStartMonth = YearStartDate.Month;
    YearStartYear = YearStartDate.Year;

    const std::int32_t n = astro::Trunc(DayNumber(InputDay, InputMonth, InputYear) -
                                            DayNumber(YearStartDay, YearStartMonth, YearStartYear),
                                        "days since the year start");
    MonthPos60 = MonthPosition();
    DayPos60 = PositiveMod(n, 60);
    YearPos60 = PositiveMod(YearStartYear - BaseYear, 60);

    DayStem = PositiveMod(n, 10);
    MonthStem = MonthPos60 % 10;
    YearStem = PositiveMod(YearStartYear - BaseYear, 10);

    HourBranch = ((InputHour + 1) / 2) % 12;
    DayBranch = PositiveMod(n, 12);
    MonthBranch = MonthPos60 % 12;
    YearBranch = PositiveMod(YearStartYear - BaseYear, 12);
}

ResultPieces CycleCalculator::Pieces() const {
    using enum PieceKind;
    return {{
        {YearStart, 0}, {Solstice, 0},
        {Position, DayPos60}, {Position, MonthPos60}, {Position, YearPos60},
        {Empty, 0}, {StemLetter, DayStem}, {StemLetter, MonthStem}, {StemLetter, YearStem},
        {Empty, 0}, {StemName, DayStem}, {StemName, MonthStem}, {StemName, YearStem},
        {BranchLetter, HourBranch}, {BranchLetter, DayBranch}, {BranchLetter, MonthBranch},
        {BranchLetter, YearBranch},
        {BranchName, HourBranch}, {BranchName, DayBranch}, {BranchName, MonthBranch},
        {BranchName, YearBranch},
    }};
}

std::string CycleCalculator::PieceText(const ResultPiece& piece) const {
    switch (piece.kind) {
    case PieceKind::Empty: break;
    case PieceKind::YearStart: return YearStartText(YearStartDay, YearStartMonth, YearStartYear);
    case PieceKind::Solstice:
        return SolsticeText(WholeDay(SolsticeDate), SolsticeDate.Month, SolsticeDate.Year);
    case PieceKind::Position: return std::to_string(piece.index + 1);
    case PieceKind::StemLetter: return StemLetter(piece.index);
    case PieceKind::StemName: return StemText(piece.index);
    case PieceKind::BranchLetter: return BranchLetter(piece.index);
    case PieceKind::BranchName: return BranchText(piece.index);
    }
    return {};
}

void CycleCalculator::ShowResults(bool fill) {
    if (!fill) {
        for (const ResultField field : ResultFields) view_.SetText(field, "");
        return;
    }
    const ResultPieces pieces = Pieces();
    for (const ResultField field : ResultFields)
        view_.SetText(field, PieceText(pieces[IndexOf(field)]));
}

}  // namespace cycle
