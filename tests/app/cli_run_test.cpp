// SPDX-License-Identifier: GPL-3.0-or-later
// Whole runs of tolvane-cli in-process: output formats, messages and exit statuses, ranges.
#include "app/cli_run.h"

#include <gtest/gtest.h>

#include <array>

#include <nlohmann/json.hpp>

#include "app/cli_progress.h"
#include "cli_test_support.h"
#include "cycle/view.h"

using clitest::Lines;
using clitest::RunInProcess;
using clitest::RunResult;

namespace {

std::vector<std::string> Args(std::vector<std::string> rest) {
    rest.insert(rest.begin(), {"--moonspeed", "14"});
    return rest;
}

// The texts of the default output, checked for names and order on the way.
std::vector<std::string> TextsOfNamedLines(const std::string& out) {
    const std::vector<std::string> lines = Lines(out);
    EXPECT_EQ(lines.size(), cycle::ResultFieldNames.size());
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < lines.size() && i < cycle::ResultFieldNames.size(); ++i) {
        const std::string name(cycle::ResultFieldNames[i]);
        EXPECT_EQ(lines[i].substr(0, name.size() + 1), name + "\t");
        texts.push_back(lines[i].substr(std::min(lines[i].size(), name.size() + 1)));
    }
    return texts;
}

}  // namespace

TEST(CliRun, NamedTextLinesAgreeWithJson) {
    const RunResult text = RunInProcess(Args({"--fields", "24031998", "14"}));
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(text.err, "");
    const std::vector<std::string> texts = TextsOfNamedLines(text.out);
    ASSERT_EQ(texts.size(), 21u);
    EXPECT_EQ(texts[0], "das Jahr beginnt am 28.1.1998");
    EXPECT_EQ(texts[10], "6  fruchtbare Erde");  // StemTEdit2

    const RunResult json = RunInProcess(Args({"--json", "24031998", "14"}));
    ASSERT_EQ(json.status, 0) << json.err;
    ASSERT_EQ(Lines(json.out).size(), 1u);
    const auto parsed = nlohmann::ordered_json::parse(json.out);
    std::size_t i = 0;
    for (const auto& [key, value] : parsed["texts"].items()) {
        EXPECT_EQ(key, cycle::ResultFieldNames.at(i));
        EXPECT_EQ(value.get<std::string>(), texts.at(i)) << key;
        ++i;
    }
    EXPECT_EQ(i, 21u);
}

// Without --fields or --json: the window's table for one calculation, a line of the four
// pillars per day for a range; the characters take two cells each.
TEST(CliRun, TableForPeople) {
    const RunResult one = RunInProcess(Args({"24031998", "14"}));
    ASSERT_EQ(one.status, 0) << one.err;
    EXPECT_EQ(one.out, R"(24.3.1998, 14 Uhr
                  Periode 60   himmlische Zeichen       irdische Zeichen
Std.-Rhythmus                                           未  8  Schaf
Tages-Rhythmus    56           己  6  fruchtbare Erde   未  8  Schaf
Monats-Rhythmus   52           乙  2  weiches Holz      卯  4  Hase
Jahres-Rhythmus   15           戊  5  harte Erde        寅  3  Tiger
das Jahr beginnt am 28.1.1998
Wintersolstitium am 22.12.1993
)");
    const RunResult range = RunInProcess(Args({"--from", "3112-0001", "--to", "01010000",
                                               "--hour", "23"}));
    ASSERT_EQ(range.status, 0) << range.err;
    EXPECT_EQ(range.out, R"(Datum     Uhr  Jahr     Monat    Tag      Stunde
31.12.-1  23   己未 56  丙子 13  癸巳 30  子
1.1.0     23   己未 56  丙子 13  甲午 31  子
)");
}

TEST(CliRun, FewerThanTwoArgumentsCalculateTheClocksHour) {
    const RunResult explicitly = RunInProcess(Args({"--json", "09072021", "17"}));
    ASSERT_EQ(explicitly.status, 0) << explicitly.err;
    for (const std::vector<std::string>& rest :
         {std::vector<std::string>{"--json"}, std::vector<std::string>{"--json", "31129999"}}) {
        const RunResult r = RunInProcess(Args(rest));
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, explicitly.out);
    }
}

TEST(CliRun, MistakesAndInvalidInputEndWithStatusTwo) {
    struct Case {
        std::vector<std::string> args;
        std::string err;
    };
    const Case cases[] = {
        {{"24031998", "24"}, "ungültige Stunde: 24"},
        {{"32031998", "5"}, "ungültiger Tag: 32"},
        {{"24131998", "5"}, "ungültiger Monat: 13"},
        {{"010110000", "5"}, "ungültiges Jahr: 10000"},
        {{"0101$FFFF", "5"}, "ungültiges Jahr: 65535"},
        {{"00131998", "24"}, "ungültiger Monat: 13"},  // checked before day and hour
        {{"2403", "14"}, "2403 ist ein falscher Datum-Parameter !"},
        {{"24031998", "7x"}, "7x ist ein falscher Stunden-Parameter !"},
        {{"--moonspeed", "256", "24031998", "14"},
         "256 ist ein falscher MoonSpeed-Parameter (erlaubt: 1 bis 255) !"},
        {{"--frob", "24031998", "14"}, "Unbekannte Option: --frob (siehe --help)"},
        {{"--from", "05012020", "--to", "04012020"},
         "--to liegt vor --from: der Bereich ist leer."},
        {{"--from", "30129999", "--to", "020110000"}, "ungültiges Jahr: 10000"},
        {{"--from", "01012020", "--to", "02012020", "--hour", "24"}, "ungültige Stunde: 24"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[1]);
        const RunResult r = RunInProcess(c.args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err, c.err + "\n");
        EXPECT_EQ(r.out, "");
    }
}

TEST(CliRun, MissingTermFilesEndWithStatusOne) {
    const clitest::TempFolder empty;
    const RunResult none = RunInProcess(Args({"24031998", "14"}), empty.Folder());
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.err, empty.Folder() + "PLANETS.NDX und .DAT nicht gefunden !\n");
    empty.Write("PLANETS.NDX", clitest::ReadAll(platform::ProgramFolder() + "PLANETS.NDX"));
    const RunResult half = RunInProcess(Args({"24031998", "14"}), empty.Folder());
    EXPECT_EQ(half.status, 1);
    EXPECT_EQ(half.err, none.err);
}

TEST(CliRun, HelpExplainsArgumentsOptionsAndStatuses) {
    const RunResult r = RunInProcess({"--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    for (const char* word : {"TTMMJJJJ", "--json", "--fields", "--moonspeed", "--from", "--to",
                             "--hour", "tolvane.INI", "PLANETS.NDX", "Exit-Status", "  2  "}) {
        EXPECT_NE(r.out.find(word), std::string::npos) << word;
    }
    // The example table of the help is what the program writes, indented.
    std::string table;
    for (const std::string& line : Lines(RunInProcess(Args({"24031998", "14"})).out))
        table += "    " + line + "\n";
    EXPECT_NE(r.out.find(table), std::string::npos) << table;
}

TEST(CliRun, RangeAcrossAYearStartEqualsSingleCalls) {
    const RunResult json = RunInProcess(Args({"--json", "--from", "22012020", "--to", "28012020"}));
    const RunResult text = RunInProcess(Args({"--fields", "--from", "22012020", "--to=28012020"}));
    ASSERT_EQ(json.status, 0) << json.err;
    ASSERT_EQ(text.status, 0) << text.err;
    const std::vector<std::string> jsonLines = Lines(json.out), rows = Lines(text.out);
    ASSERT_EQ(jsonLines.size(), 7u);
    ASSERT_EQ(rows.size(), 8u);
    std::string header = "Datum\tStunde";
    for (const std::string_view f : cycle::ResultFieldNames) (header += '\t') += f;
    EXPECT_EQ(rows[0], header);
    for (int day = 22; day <= 28; ++day) {
        SCOPED_TRACE(day);
        const std::string date = std::to_string(day) + "012020";
        const RunResult single = RunInProcess(Args({"--json", date, "0"}));
        EXPECT_EQ(jsonLines.at(day - 22) + "\n", single.out);
        std::string row = std::to_string(day) + ".1.2020\t0";
        for (const std::string& t :
             TextsOfNamedLines(RunInProcess(Args({"--fields", date, "0"})).out)) {
            (row += '\t') += t;
        }
        EXPECT_EQ(rows.at(day - 21), row);
    }
    // The range really crosses the year start of 25 January 2020.
    const auto firstDay = nlohmann::json::parse(jsonLines.front());
    const auto lastDay = nlohmann::json::parse(jsonLines.back());
    EXPECT_EQ(lastDay["texts"]["JstLabel"], "das Jahr beginnt am 25.1.2020");
    EXPECT_NE(firstDay["yearStart"]["year"], lastDay["yearStart"]["year"]);
}

TEST(CliRun, RangeStepsThroughTheEnginesCalendar) {
    struct Case {
        std::string from, to;
        std::vector<std::array<int, 3>> dates;  // day, month, year
    };
    const Case cases[] = {
        {"03101582", "16101582", {{3, 10, 1582}, {4, 10, 1582}, {15, 10, 1582}, {16, 10, 1582}}},
        {"3112-0001", "02010000", {{31, 12, -1}, {1, 1, 0}, {2, 1, 0}}},
        {"27022024", "01032024", {{27, 2, 2024}, {28, 2, 2024}, {29, 2, 2024}, {1, 3, 2024}}},
        {"28021900", "01031900", {{28, 2, 1900}, {1, 3, 1900}}},
        {"28021500", "01031500", {{28, 2, 1500}, {29, 2, 1500}, {1, 3, 1500}}},  // Julian
        {"14051990", "14051990", {{14, 5, 1990}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.from + " " + c.to);
        const RunResult text =
            RunInProcess(Args({"--fields", "--from", c.from, "--to", c.to, "--hour", "9"}));
        const RunResult json = RunInProcess(Args({"--from", c.from, "--to", c.to, "--hour", "9",
                                                  "--json"}));
        ASSERT_EQ(text.status, 0) << text.err;
        ASSERT_EQ(json.status, 0) << json.err;
        const std::vector<std::string> rows = Lines(text.out), objects = Lines(json.out);
        ASSERT_EQ(rows.size(), c.dates.size() + 1);
        ASSERT_EQ(objects.size(), c.dates.size());
        for (std::size_t i = 0; i < c.dates.size(); ++i) {
            const auto [day, month, year] = c.dates[i];
            const std::string date = std::to_string(day) + "." + std::to_string(month) + "." +
                                     std::to_string(year);
            EXPECT_EQ(rows[i + 1].rfind(date + "\t9\t", 0), 0u) << rows[i + 1];
            const auto input = nlohmann::json::parse(objects[i])["input"];
            EXPECT_EQ(input, (nlohmann::json{{"hour", 9}, {"day", day}, {"month", month},
                                             {"year", year}}));
        }
    }
}

// A range written straight from the fast searches is byte for byte the range the reference
// way gives (every day searched day by day, shown through the view and written from its
// fields): every day of a few years around the calendar reform and around 2000, as JSON, as
// pillar lines and as field lines, and a stretch with MoonSpeed 1.
TEST(CliRun, FastRangeEqualsTheReferenceByteForByte) {
    const std::vector<std::vector<std::string>> cases = {
        {"--json", "--from", "01011581", "--to", "31121583", "--hour", "23"},
        {"--from", "01011581", "--to", "31121583"},
        {"--json", "--from", "01011999", "--to", "31122001", "--hour", "12"},
        {"--fields", "--from", "15121999", "--to", "15022001", "--hour", "1"},
        {"--json", "--moonspeed", "1", "--from", "01011995", "--to", "31121996"},
    };
    for (const std::vector<std::string>& args : cases) {
        SCOPED_TRACE(args[1] + " " + args[2] + " " + args[3]);
        std::ostringstream fastOut, fastErr, refOut, refErr;
        cli::CliContext fast{platform::ProgramFolder(), clitest::FixedNow};
        cli::CliContext reference = fast;
        reference.referenceSearch = true;
        ASSERT_EQ(cli::RunCli(args, fastOut, fastErr, fast), 0) << fastErr.str();
        ASSERT_EQ(cli::RunCli(args, refOut, refErr, reference), 0) << refErr.str();
        EXPECT_GT(fastOut.str().size(), 50000u);
        EXPECT_TRUE(fastOut.str() == refOut.str());
        EXPECT_EQ(fastErr.str(), "");
    }
}

TEST(CliRun, ProgressLine) {
    struct Case {
        long long done, total;
        double elapsed;
        const char* line;
    };
    const Case cases[] = {
        {0, 36525, 0.0, "0 von 36525 Tagen, 0 %"},
        {18262, 36525, 1.5, "18262 von 36525 Tagen, 49 %, noch etwa 2 s"},
        {1000, 73050, 2.0, "1000 von 73050 Tagen, 1 %, noch etwa 2 min"},
        {36525, 36525, 3.0, "36525 von 36525 Tagen, 100 %"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(cli::Progress::Line(c.done, c.total, c.elapsed), c.line);
    // Never on a stream that is not a terminal: nothing is written at all.
    std::ostringstream err;
    {
        cli::Progress progress(err, false, 1 << 20);
        for (long long i = 0; i < (1 << 20); ++i) progress.Update(i);
    }
    EXPECT_EQ(err.str(), "");
}
