// SPDX-License-Identifier: GPL-3.0-or-later
#include "cycle/calculator.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "astro/errors.h"
#include "cycle/names.h"
#include "fake_view.h"
#include "support/temp_folder.h"

using cycle::CycleCalculator;
using testing_support::FakeView;

namespace {

class Calculator : public testing::Test {
protected:
    // Calculates hour, day, month, year as the window does and returns the result texts.
    std::map<std::string, std::string> Calc(int hour, int day, int month, int year) {
        view.SetInput(hour, day, month, year);
        calc.CalcReturnPress();
        return view.results;
    }

    FakeView view;
    CycleCalculator calc{view};
};

}  // namespace

TEST_F(Calculator, ShowsEveryResultText) {
    const auto r = Calc(14, 24, 3, 1998);
    const std::map<std::string, std::string> expected = {
        {"JstLabel", "das Jahr beginnt am 28.1.1998"},
        {"SoLabel", "Wintersolstitium am 22.12.1993"},
        {"T60Edit", "56"}, {"M60Edit", "52"}, {"J60Edit", "15"},
        {"StemSEdit", ""}, {"StemTEdit", "f"}, {"StemMEdit", "b"}, {"StemJEdit", "e"},
        {"StemSEdit2", ""}, {"StemTEdit2", "6  fruchtbare Erde"},
        {"StemMEdit2", "2  weiches Holz"}, {"StemJEdit2", "5  harte Erde"},
        {"BranchSEdit", "r"}, {"BranchTEdit", "r"}, {"BranchMEdit", "n"}, {"BranchJEdit", "m"},
        {"BranchSEdit2", "8  Schaf"}, {"BranchTEdit2", "8  Schaf"},
        {"BranchMEdit2", "4  Hase"}, {"BranchJEdit2", "3  Tiger"},
    };
    EXPECT_EQ(r, expected);
    EXPECT_EQ(calc.InputHour, 14);
    EXPECT_EQ(calc.InputYear, 1998);
    // The busy state is shown once around the searches and always taken back.
    EXPECT_EQ(view.busyCalls, (std::vector<bool>{true, false}));
}

TEST_F(Calculator, YearStartDayBelongsToTheNewYear) {
    auto r = Calc(12, 10, 2, 2024);
    EXPECT_EQ(r["JstLabel"], "das Jahr beginnt am 10.2.2024");
    EXPECT_EQ(calc.DayPos60, 0);
    EXPECT_EQ(calc.DayStem, 0);
    EXPECT_EQ(calc.DayBranch, 0);
    EXPECT_EQ(r["T60Edit"], "1");
    EXPECT_EQ(calc.YearStartYear, 2024);
    EXPECT_EQ(calc.YearPos60, 40);

    // The day before lies in the cycle year that began on 22 January 2023.
    r = Calc(12, 9, 2, 2024);
    EXPECT_EQ(r["JstLabel"], "das Jahr beginnt am 22.1.2023");
    EXPECT_EQ(calc.YearStartYear, 2023);
    EXPECT_EQ(calc.DayPos60, 383 % 60);  // 22.1.2023 to 9.2.2024: 383 days
    EXPECT_EQ(calc.YearPos60, 39);

    // A January date before the year start counts from the previous year's start.
    r = Calc(0, 15, 1, 2024);
    EXPECT_EQ(r["JstLabel"], "das Jahr beginnt am 22.1.2023");
}

TEST_F(Calculator, ReferenceSolsticeOfTheFiveYearGroup) {
    // Every date from 1 January 2024 to the December switch of 2028 counts its months
    // from the solstice of 22 December 2023.
    const int dates[][3] = {{1, 1, 2024}, {30, 6, 2025}, {31, 12, 2027}, {20, 12, 2028}};
    for (const auto& d : dates) {
        const auto r = Calc(12, d[0], d[1], d[2]);
        EXPECT_EQ(r.at("SoLabel"), "Wintersolstitium am 22.12.2023") << d[0] << "." << d[1];
    }
    // In the group's last year the reference moves on the day of the month on which the
    // solstice fell five years before (the 22nd).
    EXPECT_EQ(Calc(12, 21, 12, 2028)["SoLabel"], "Wintersolstitium am 22.12.2023");
    EXPECT_EQ(Calc(12, 22, 12, 2028)["SoLabel"], "Wintersolstitium am 21.12.2028");
    // The month containing the solstice is position 0, stem 0, branch 0.
    EXPECT_EQ(calc.MonthPos60, 0);
    EXPECT_EQ(calc.MonthStem, 0);
    EXPECT_EQ(calc.MonthBranch, 0);
    // 1924 to 1928 count from December 1923.
    EXPECT_EQ(Calc(12, 5, 2, 1924)["SoLabel"], "Wintersolstitium am 23.12.1923");
}

TEST_F(Calculator, YearCycleCountsFrom1924ThroughZeroAndNegativeYears) {
    Calc(12, 1, 6, 1984);
    EXPECT_EQ(calc.YearPos60, 0);
    EXPECT_EQ(calc.YearStem, 0);
    EXPECT_EQ(calc.YearBranch, 0);
    Calc(12, 1, 6, 1923);
    EXPECT_EQ(calc.YearPos60, 59);
    EXPECT_EQ(calc.YearStem, 9);
    EXPECT_EQ(calc.YearBranch, 11);
    Calc(12, 1, 6, 2000);
    EXPECT_EQ(calc.YearPos60, 16);
    EXPECT_EQ(calc.YearStem, 6);
    EXPECT_EQ(calc.YearBranch, 4);
    // (0 - 1924) mod 60 = 56, (-500 - 1924) mod 60 = 36.
    Calc(12, 1, 6, 0);
    EXPECT_EQ(calc.YearPos60, 56);
    Calc(12, 1, 6, -500);
    EXPECT_EQ(calc.YearPos60, 36);
    EXPECT_EQ(calc.YearStem, 6);
    EXPECT_EQ(calc.YearBranch, 0);
}

TEST_F(Calculator, HourBranchesInDoubleHours) {
    const int cases[][2] = {{23, 0}, {0, 0}, {1, 1}, {2, 1}, {12, 6}, {22, 11}};
    for (const auto& c : cases) {
        const auto r = Calc(c[0], 24, 3, 1998);
        EXPECT_EQ(calc.HourBranch, c[1]) << "hour " << c[0];
        EXPECT_EQ(r.at("BranchSEdit2"), cycle::BranchText(c[1]));
        EXPECT_EQ(r.at("StemSEdit"), "");
    }
}

TEST_F(Calculator, ImpossibleDatesCountOnPastTheMonthsEnd) {
    Calc(12, 31, 2, 2023);
    const int day = calc.DayPos60, month = calc.MonthPos60;
    Calc(12, 3, 3, 2023);
    EXPECT_EQ(calc.DayPos60, day);
    EXPECT_EQ(calc.MonthPos60, month);
}

TEST_F(Calculator, FarPastMonthsRunOnOneByOne) {
    // Far in the past the Julian calendar has drifted against the seasons: the solstice
    // search from 1 December -8002 ends in February -8001, so January -8001 lies before the
    // reference month. Counted downward, every month still lasts 30 or 31 days.
    const auto r = Calc(12, 1, 1, -8001);
    EXPECT_EQ(r.at("SoLabel"), "Wintersolstitium am 21.2.-8001");
    EXPECT_EQ(calc.MonthPos60, 58);
    EXPECT_EQ(r.at("M60Edit"), "59");
    EXPECT_EQ(calc.MonthStem, 8);
    EXPECT_EQ(calc.MonthBranch, 10);

    const int monthLengths[] = {31, 28, 31, 30, 31};  // January to May -8001, Julian
    int previous = -1, run = 0, runs = 0;
    for (int month = 1; month <= 5; ++month) {
        for (int day = 1; day <= monthLengths[month - 1]; ++day) {
            Calc(12, day, month, -8001);
            const int position = calc.MonthPos60;
            if (previous >= 0 && position != previous) {
                SCOPED_TRACE(std::to_string(day) + "." + std::to_string(month));
                EXPECT_EQ(position, (previous + 1) % 60);
                if (runs++ > 0) {  // the first run started before 1 January
                    EXPECT_GE(run, 30);
                    EXPECT_LE(run, 31);
                }
                run = 0;
            }
            previous = position;
            ++run;
        }
    }
    // 58, 59, 0 (the reference month, around 21 February), 1, 2, 3.
    EXPECT_EQ(runs, 5);
    EXPECT_EQ(previous, 3);
}

TEST_F(Calculator, ValidationLimits) {
    struct Case {
        const char *hour, *day, *month, *year;
        bool valid;
    };
    const Case cases[] = {
        {"12", "1", "1", "-9999", true},  {"12", "1", "1", "9999", true},
        {"12", "1", "1", "-10000", false}, {"12", "1", "1", "10000", false},
        {"0", "1", "1", "2000", true},    {"23", "1", "1", "2000", true},
        {"24", "1", "1", "2000", false},  {"-1", "1", "1", "2000", false},
        {"12", "1", "0", "2000", false},  {"12", "1", "13", "2000", false},
        {"12", "0", "1", "2000", false},  {"12", "32", "1", "2000", false},
        {"12", "31", "2", "2000", true},  {"12", "31", "11", "2000", true},
        {"", "1", "1", "2000", false},    {"12a", "1", "1", "2000", false},
        {"12 ", "1", "1", "2000", false}, {" 12", "1", "1", "2000", true},
        {"12", "1", "1", "$7D0", true},   {"12", "+1", "1", "2000", true},
    };
    for (const Case& c : cases) {
        view.SetInput(c.hour, c.day, c.month, c.year);
        EXPECT_EQ(calc.ValidateInput(), c.valid)
            << c.hour << "|" << c.day << "|" << c.month << "|" << c.year;
    }
    view.SetInput("24", "32", "13", "10000");
    const auto invalid = calc.FirstInvalidInput();
    ASSERT_TRUE(invalid);
    EXPECT_EQ(invalid->field, cycle::InputField::JEdit);
    EXPECT_EQ(invalid->text, "10000");
    view.SetInput("24", "32", "13", "2000");
    EXPECT_EQ(calc.FirstInvalidInput()->field, cycle::InputField::MEdit);
    view.SetInput("24", "32", "12", "2000");
    EXPECT_EQ(calc.FirstInvalidInput()->field, cycle::InputField::TEdit);
    view.SetInput("24", "31", "12", "2000");
    EXPECT_EQ(calc.FirstInvalidInput()->field, cycle::InputField::SEdit);
}

TEST_F(Calculator, FailedCheckAndEditsLeaveEveryResultEmpty) {
    Calc(14, 24, 3, 1998);
    view.results["S60Edit"] = "untouched";
    view.SetInput("14", "24", "3", "10000");
    calc.CalcReturnPress();
    EXPECT_EQ(view.results.size(), 22u);
    for (const auto& [field, text] : view.results) {
        if (field != "S60Edit") {
            EXPECT_EQ(text, "") << field;
        }
    }
    EXPECT_EQ(view.results["S60Edit"], "untouched");
    // The stored input values keep the last successful calculation.
    EXPECT_EQ(calc.InputYear, 1998);

    Calc(14, 24, 3, 1998);
    calc.ZeitEditChange();
    for (std::string_view field : cycle::ResultFieldNames)
        EXPECT_EQ(view.results[std::string(field)], "") << field;
}

TEST(CalculatorErrors, ErrorInASearchLeavesTheResultsEmpty) {
    const testing_support::TempFolder empty;
    FakeView view;
    CycleCalculator calc(view, empty.Folder());
    view.SetInput(14, 24, 3, 1998);
    EXPECT_THROW(calc.CalcReturnPress(), astro::InOutError);
    for (std::string_view field : cycle::ResultFieldNames)
        EXPECT_EQ(view.results[std::string(field)], "") << field;
    EXPECT_EQ(view.busyCalls, (std::vector<bool>{true, false}));

    FakeView view2;
    CycleCalculator calc2(view2);
    calc2.SetMoonSpeed(0);
    view2.SetInput(14, 24, 3, 1998);
    try {
        calc2.CalcReturnPress();
        ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Jahresbeginn nicht gefunden (MoonSpeed 0)");
    }
    EXPECT_EQ(view2.results["JstLabel"], "");
}
