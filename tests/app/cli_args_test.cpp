// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the hour and date parts and the options of tolvane-cli.
#include "app/cli_args.h"

#include <gtest/gtest.h>

#include "cli_test_support.h"

using cli::CalcInput;
using cli::UsageError;

namespace {

// The text of the UsageError `f` raises, or "" if it raises none.
template <typename F>
std::string ErrorOf(F f) {
    try {
        f();
    } catch (const UsageError& e) {
        return e.what();
    }
    return "";
}

}  // namespace

TEST(CliArgs, HourAndDateParts) {
    struct Case {
        std::vector<std::string> args;
        CalcInput expected;
    };
    const Case cases[] = {
        {{"24031998", "14"}, {14, 24, 3, 1998}},
        {{"0101-0500", "7"}, {7, 1, 1, -500}},         // sign before a four-digit year
        {{"01010000", "12"}, {12, 1, 1, 0}},
        {{"24031998", "7.9"}, {7, 24, 3, 1998}},       // truncated, not rounded
        {{"24031998", " 7"}, {7, 24, 3, 1998}},        // leading blank
        {{"24031998", "-7"}, {-7, 24, 3, 1998}},       // range is the calculator's business
        {{"24031998", "145"}, {14, 24, 3, 1998}},      // only characters 1-2 count
        {{"24031998", "7."}, {7, 24, 3, 1998}},
        {{"24031998", ".5"}, {0, 24, 3, 1998}},
        {{"3213199812", "23"}, {23, 32, 13, 19981}},   // parts are not range-checked
        {{"240319", "14"}, {14, 24, 3, 19}},           // a short year part
        {{"$A$B$10", "0"}, {0, 10, 11, 16}},           // hexadecimal as TryStrToInt reads it
        {{"24031998", "14", "extra"}, {14, 24, 3, 1998}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[1]);
        const CalcInput in = cli::ReadInput(c.args, clitest::FixedNow());
        EXPECT_EQ(in.hour, c.expected.hour);
        EXPECT_EQ(in.day, c.expected.day);
        EXPECT_EQ(in.month, c.expected.month);
        EXPECT_EQ(in.year, c.expected.year);
    }
}

TEST(CliArgs, FewerThanTwoArgumentsTakeTheClock) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{}, std::vector<std::string>{"24031998"},
          std::vector<std::string>{"garbage"}}) {
        const CalcInput in = cli::ReadInput(args, clitest::FixedNow());
        EXPECT_EQ(in.hour, 17);
        EXPECT_EQ(in.day, 9);
        EXPECT_EQ(in.month, 7);
        EXPECT_EQ(in.year, 2021);
    }
}

TEST(CliArgs, PartsThatDoNotConvert) {
    const std::string date = " ist ein falscher Datum-Parameter !";
    const std::string hour = " ist ein falscher Stunden-Parameter !";
    struct Case {
        std::string dateArg, hourArg, expected;
    };
    const Case cases[] = {
        {"2403", "14", "2403" + date},                         // year part empty
        {"24", "14", "24" + date + "\n24" + date},             // month and year empty
        {"", "14", date + "\n" + date + "\n" + date},
        {"xx031998", "14", "xx031998" + date},
        {"2403199x", "14", "2403199x" + date},
        {"24031998", "7x", "7x" + hour},
        {"24031998", "", hour},
        {"24031998", "inf", "inf" + hour},
        {"24031998", "nan", "nan" + hour},
        {"24031998", "0x1", "0x1" + hour},                     // no hexadecimal hours
        {"24031998", "1e", "1e" + hour},
        {"24031998", "1,", "1," + hour},
        {"24031998", "-.", "-." + hour},
        {"24031998", "7 ", "7 " + hour},                       // nothing after the number
        {"24031998", "  7", "  7" + hour},                     // characters 1-2 are blanks
        {"2403", "7x", "2403" + date + "\n7x" + hour},         // date and hour together
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("'" + c.dateArg + "' '" + c.hourArg + "'");
        EXPECT_EQ(ErrorOf([&] { cli::ReadInput({c.dateArg, c.hourArg}, clitest::FixedNow()); }),
                  c.expected);
    }
}

TEST(CliArgs, Options) {
    const cli::CliOptions o = cli::ParseOptions(
        {"--json", "--moonspeed", "$14", "24031998", "-5", "--moonspeed=200"});
    EXPECT_EQ(o.Format(), cli::OutputFormat::Json);
    EXPECT_FALSE(o.help);
    EXPECT_EQ(o.moonSpeed, 200);  // the last one counts
    EXPECT_EQ(o.positional, (std::vector<std::string>{"24031998", "-5"}));
    EXPECT_FALSE(o.IsRange());

    const cli::CliOptions r =
        cli::ParseOptions({"--from", "01012020", "--to=0201-0001", "--hour", "7"});
    EXPECT_TRUE(r.IsRange());
    EXPECT_EQ(r.Format(), cli::OutputFormat::Table);
    EXPECT_EQ(cli::ParseOptions({"--fields"}).Format(), cli::OutputFormat::Fields);
    EXPECT_EQ(r.from, "01012020");
    EXPECT_EQ(r.to, "0201-0001");
    EXPECT_EQ(r.hour, "7");
    EXPECT_EQ(cli::ParseOptions({"--", "24031998", "14"}).positional,
              (std::vector<std::string>{"24031998", "14"}));
    EXPECT_EQ(cli::ParseOptions({"--json", "--", "--json", "--"}).positional,
              (std::vector<std::string>{"--json", "--"}));
    EXPECT_TRUE(cli::ParseOptions({"--help"}).help);
    EXPECT_TRUE(cli::ParseOptions({"-h", "--moonspeed", "1"}).help);
    // --version answers whatever else is there, even a range cut in half.
    EXPECT_TRUE(cli::ParseOptions({"--from", "01012020", "--version"}).version);
    EXPECT_FALSE(cli::ParseOptions({"--help"}).version);
    EXPECT_EQ(cli::ParseOptions({"--moonspeed", "1"}).moonSpeed, 1);
    EXPECT_EQ(cli::ParseOptions({"--moonspeed", " 255"}).moonSpeed, 255);
}

TEST(CliArgs, OptionMistakes) {
    struct Case {
        std::vector<std::string> args;
        std::string expected;
    };
    const std::string bad = " ist ein falscher MoonSpeed-Parameter (erlaubt: 1 bis 255) !";
    const Case cases[] = {
        {{"--moonspeed", "256"}, "256" + bad},
        {{"--moonspeed", "0"}, "0" + bad},  // no year start is ever found
        {{"--moonspeed", "-1"}, "-1" + bad},
        {{"--moonspeed", "14x"}, "14x" + bad},
        {{"--moonspeed", ""}, bad},
        {{"--moonspeed"}, "Der Option --moonspeed fehlt ihr Wert (siehe --help)."},
        {{"--frob"}, "Unbekannte Option: --frob (siehe --help)"},
        {{"--json=1"}, "Unbekannte Option: --json=1"},
        {{"--fields", "--json"}, "--json und --fields schließen einander aus (siehe --help)."},
        {{"--from", "01012020"}, "--from und --to gehören zusammen (siehe --help)."},
        {{"--hour", "3", "24031998", "14"},
         "--hour gilt nur zusammen mit --from und --to (siehe --help)."},
        {{"--from", "01012020", "--to", "02012020", "24031998"},
         "Zu --from und --to passen keine weiteren Argumente: 24031998"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0]);
        EXPECT_EQ(ErrorOf([&] { cli::ParseOptions(c.args); }), c.expected);
    }
}

TEST(CliArgs, RangeParts) {
    const cli::RangeInput r = cli::ReadRange(
        cli::ParseOptions({"--from", "3112-0001", "--to", "02010000", "--hour", "23.5"}));
    EXPECT_EQ(r.from.day, 31);
    EXPECT_EQ(r.from.month, 12);
    EXPECT_EQ(r.from.year, -1);
    EXPECT_EQ(r.to.day, 2);
    EXPECT_EQ(r.to.month, 1);
    EXPECT_EQ(r.to.year, 0);
    EXPECT_EQ(r.from.hour, 23);
    EXPECT_EQ(r.to.hour, 23);
    EXPECT_EQ(cli::ReadRange(cli::ParseOptions({"--from", "01012020", "--to", "02012020"}))
                  .from.hour,
              0);
    EXPECT_EQ(ErrorOf([] {
                  cli::ReadRange(cli::ParseOptions({"--from", "0101", "--to", "020120x0",
                                                    "--hour", "x"}));
              }),
              "0101 ist ein falscher Datum-Parameter !\n"
              "020120x0 ist ein falscher Datum-Parameter !\n"
              "x ist ein falscher Stunden-Parameter !");
}

// Both ends of a range must be days of the calendar the program counts in: Julian up to
// 4.10.1582, Gregorian from 15.10.1582. Impossible days and months are the calculator's.
TEST(CliArgs, RangeEndsAreDaysOfTheCalendar) {
    const std::string gap = " gibt es nicht; auf den 4.10.1582 (julianisch) folgte der "
                            "15.10.1582 (gregorianisch).";
    struct Case {
        const char* from;
        const char* to;
        std::string expected;
    };
    const Case cases[] = {
        {"04101582", "15101582", ""},
        {"05101582", "20101582", "--from: den 5.10.1582" + gap},
        {"01101582", "14101582", "--to: den 14.10.1582" + gap},
        {"10101582", "10101582", "--from: den 10.10.1582" + gap + "\n--to: den 10.10.1582" + gap},
        {"31029999", "01039999", "--from: den 31.2.9999 gibt es nicht; der Monat hat 28 Tage."},
        {"29021900", "01031900", "--from: den 29.2.1900 gibt es nicht; der Monat hat 28 Tage."},
        {"29021500", "29022000", ""},   // Julian 1500 and Gregorian 2000 are leap years
        {"29020000", "2902-0004", ""},  // so are the Julian years 0 and -4
        {"2902-0001", "01010000", "--from: den 29.2.-1 gibt es nicht; der Monat hat 28 Tage."},
        {"01012024", "31042024", "--to: den 31.4.2024 gibt es nicht; der Monat hat 30 Tage."},
        {"32012024", "00132024", ""},  // left to the calculator's "ungültiger Tag/Monat"
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.from) + " " + c.to);
        EXPECT_EQ(ErrorOf([&] { cli::ReadRange(cli::ParseOptions({"--from", c.from, "--to", c.to})); }),
                  c.expected);
    }
    // Such a range ends with status 2 before any day is counted or written.
    const clitest::RunResult r = clitest::RunInProcess({"--from", "10101582", "--to", "10101582"});
    EXPECT_EQ(r.status, cli::ExitBadInput);
    EXPECT_EQ(r.out, "");
}
