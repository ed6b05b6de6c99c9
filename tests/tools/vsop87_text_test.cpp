// SPDX-License-Identifier: GPL-3.0-or-later
// Tests of the VSOP87 text parser and the term file encoder on small texts, and of the
// tolvane-mkterms command on a good and a bad file.
#include "tools/mkterms/vsop87_text.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <utility>

#include "support/temp_folder.h"

namespace tolvane::mkterms {
namespace {

using ::testing::HasSubstr;

std::string Header(int variable, int power, int count) {
    char line[160];
    std::snprintf(line, sizeof line,
                  " VSOP87 VERSION D4    EARTH     VARIABLE %d (LBR)       *T**%d%7d TERMS    "
                  "HELIOCENTRIC DYNAMICAL ECLIPTIC AND EQUINOX OF THE DATE\n",
                  variable, power, count);
    return line;
}

// A 132-column term line as the published files write it (S and K zero).
std::string Term(int variable, int power, double a, double b, double c, int code = 3) {
    char line[160];
    std::snprintf(
        line, sizeof line,
        " 4%d%d%d%5d  0  0  0  0  0  0  0  0  0  0  0  0%15.11f%18.11f%18.11f%14.11f%20.11f \n",
        code, variable, power, 1, 0.0, 0.0, a, b, c);
    return line;
}

// A series whose term i has A = 1000 * variable + 100 * power + i, so that its place
// in PLANETS.DAT shows where it came from.
std::string Series(int variable, int power, int count, int code = 3) {
    std::string text = Header(variable, power, count);
    for (int i = 0; i < count; ++i)
        text += Term(variable, power, 1000 * variable + 100 * power + i, 0.5, i, code);
    return text;
}

Vsop87Body Parse(const std::string& text) {
    std::istringstream in(text);
    return ParseVsop87(in, "t.ear");
}

std::string ErrorOf(const std::string& text) {
    try {
        Parse(text);
    } catch (const Vsop87Error& error) {
        return error.what();
    }
    return "no error";
}

// Decodes the (start, count) entries of one index record.
std::vector<std::pair<int, int>> Entries(const TermFiles& files, int record) {
    std::vector<std::pair<int, int>> entries;
    for (int slot = 0; slot < 18; ++slot) {
        const auto* p = &files.ndx.at(record * 72 + slot * 4);
        entries.emplace_back(p[0] | p[1] << 8, p[2] | p[3] << 8);
    }
    return entries;
}

double DatA(const TermFiles& files, std::size_t term) {
    double a;
    std::memcpy(&a, &files.dat.at(term * 24), sizeof a);  // the test host is little-endian
    return a;
}

TEST(Vsop87Text, ParsesSeriesInTextOrderWithCrLfAndShortenedLines) {
    std::string text = Series(3, 0, 2) + Series(1, 0, 3) + Series(2, 1, 1) + "\n\n";
    std::string crlf;
    for (char ch : text) crlf += ch == '\n' ? std::string(" \r\n") : std::string(1, ch);
    for (const std::string& variant : {text, crlf}) {
        const Vsop87Body body = Parse(variant);
        EXPECT_EQ(body.code, 3);
        EXPECT_EQ(body.version, "D4");
        EXPECT_EQ(body.name, "EARTH");
        ASSERT_EQ(body.series.size(), 3u);
        EXPECT_EQ(body.series[1].variable, 1);
        EXPECT_EQ(body.series[1].power, 0);
        ASSERT_EQ(body.series[1].terms.size(), 3u);
        EXPECT_EQ(body.series[1].terms[2], (Vsop87Term{1002, 0.5, 2}));
        EXPECT_EQ(body.TermCount(), 6u);
    }
    // Trailing blanks stripped: the C field still ends in column 131.
    const Vsop87Body body =
        Parse(Header(1, 0, 1) + Term(1, 0, -0.25, 6.28318530718, 1e5).substr(0, 131));
    EXPECT_EQ(body.series[0].terms[0], (Vsop87Term{-0.25, 6.28318530718, 1e5}));
}

TEST(Vsop87Text, BuildsContiguousSeriesInIndexOrder) {
    // Out of order, with gaps (L1..L5, B0, B2..B5, R1..R5 absent); Mars first, Earth second.
    const Vsop87Body earth = Parse(Series(3, 0, 2) + Series(1, 0, 3) + Series(2, 1, 1));
    const Vsop87Body mars = Parse(Series(1, 5, 2, 4));
    const TermFiles files = BuildTermFiles({{4, mars}, {3, earth}});
    ASSERT_EQ(files.ndx.size(), 9u * 72);
    ASSERT_EQ(files.dat.size(), 8u * 24);

    const auto marsEntries = Entries(files, 4);
    EXPECT_EQ(marsEntries[5], std::make_pair(0, 2));
    EXPECT_EQ(marsEntries[17], std::make_pair(2, 0));
    const auto earthEntries = Entries(files, 3);
    EXPECT_EQ(earthEntries[0], std::make_pair(2, 3));   // L0
    EXPECT_EQ(earthEntries[7], std::make_pair(5, 1));   // B1
    EXPECT_EQ(earthEntries[12], std::make_pair(6, 2));  // R0
    for (const auto& entries : {marsEntries, earthEntries}) {
        for (std::size_t slot = 1; slot < entries.size(); ++slot) {
            EXPECT_EQ(entries[slot].first, entries[slot - 1].first + entries[slot - 1].second)
                << slot;
        }
    }
    for (int record : {0, 1, 2, 5, 6, 7, 8}) {
        for (const auto& entry : Entries(files, record))
            EXPECT_EQ(entry, std::make_pair(0, 0)) << record;
    }
    const double expectedA[] = {1500, 1501, 1000, 1001, 1002, 2100, 3000, 3001};
    for (std::size_t i = 0; i < std::size(expectedA); ++i)
        EXPECT_EQ(DatA(files, i), expectedA[i]) << i;
}

TEST(Vsop87Text, EncodesLittleEndian) {
    const Vsop87Body body = Parse(Series(1, 0, 300) + Header(1, 1, 1) + Term(1, 1, 1.0, -2.0, 0.5));
    const TermFiles files = BuildTermFiles({{3, body}});
    const std::vector<std::uint8_t> l1Entry(files.ndx.begin() + 3 * 72 + 4,
                                             files.ndx.begin() + 3 * 72 + 8);
    EXPECT_EQ(l1Entry, (std::vector<std::uint8_t>{0x2C, 0x01, 0x01, 0x00}));  // start 300, count 1
    const std::vector<std::uint8_t> term(files.dat.begin() + 300 * 24, files.dat.end());
    EXPECT_EQ(term, (std::vector<std::uint8_t>{0, 0, 0, 0, 0, 0, 0xF0, 0x3F,     // 1.0
                                               0, 0, 0, 0, 0, 0, 0x00, 0xC0,     // -2.0
                                               0, 0, 0, 0, 0, 0, 0xE0, 0x3F}));  // 0.5
}

TEST(Vsop87Text, RejectsMalformedTextNamingTheLine) {
    const std::string l0 = Series(1, 0, 2);
    const std::string header = Header(2, 0, 1);
    const std::string noCount = header.substr(0, header.find("*T**") + 5) + "\n";
    std::string badA = Term(1, 0, 1, 2, 3);
    badA.replace(79, 18, "              1.x5");
    std::string badC = Term(1, 0, 1, 2, 3);
    badC.replace(125, 3, "abc");
    const struct {
        std::string text;
        std::string message;
    } cases[] = {
        {"", "t.ear: no series found"},
        {"\n  \n", "t.ear: no series found"},
        {Term(1, 0, 1, 2, 3) + l0, "t.ear:1: term line before any series header"},
        {l0 + Header(4, 0, 1), "t.ear:4: series header: the variable"},
        {l0 + Header(2, 6, 1), "t.ear:4: series header: the power of t"},
        {l0 + noCount, "t.ear:4: series header: the number of terms"},
        {Header(1, 0, 2) + Term(1, 0, 1, 2, 3) + Term(1, 0, 1, 2, 3).substr(0, 120),
         "t.ear:3: term line expected"},
        {Header(1, 0, 2) + Term(1, 0, 1, 2, 3) + "\n" + Term(1, 0, 1, 2, 3),
         "t.ear:3: term line expected"},
        {Header(1, 0, 1) + badA,
         "t.ear:2: term line: A (columns 80-97) is not a number: \"1.x5\""},
        {Header(1, 0, 1) + badC, "t.ear:2: term line: C (columns 112-131) is not a number"},
        {Header(1, 0, 3) + Term(1, 0, 1, 2, 3) + Term(1, 0, 1, 2, 3) + l0,
         "t.ear:4: term line expected, but a series header follows; the series L0 (header on "
         "line 1) has 2 of its 3 terms"},
        {Header(1, 0, 3) + Term(1, 0, 1, 2, 3) + Term(1, 0, 1, 2, 3) + "\n",
         "t.ear:4: term line expected, found a line of 0 characters"},
        {Header(1, 0, 3) + Term(1, 0, 1, 2, 3) + Term(1, 0, 1, 2, 3),
         "t.ear:4: term line expected, but the file ends"},
        {Header(1, 0, 2) + Term(1, 0, 1, 2, 3) + Term(1, 1, 1, 2, 3),
         "t.ear:3: term line for variable 1 power 1"},
        {Header(1, 0, 2) + Term(1, 0, 1, 2, 3) + Term(2, 0, 1, 2, 3),
         "t.ear:3: term line for variable 2 power 0"},
        {l0 + Header(3, 0, 2) + Term(3, 0, 1, 2, 3) + Term(3, 0, 1, 2, 3, 4),
         "t.ear:6: term line for body 4"},
        {l0 + Term(1, 0, 1, 2, 3), "t.ear:4: series header expected"},
        {l0 + Series(2, 0, 1) + l0, "t.ear:6: the series L0 appears twice"},
    };
    for (const auto& c : cases) EXPECT_THAT(ErrorOf(c.text), HasSubstr(c.message)) << c.text;
}

TEST(Vsop87Text, EnforcesLimitsAndRecordPlacement) {
    const Vsop87Body full = Parse(Series(1, 0, 2000) + Series(3, 0, 637));
    EXPECT_EQ(BuildTermFiles({{3, full}}).dat.size(), 2637u * 24);
    const Vsop87Body over = Parse(Series(1, 0, 2000) + Series(3, 0, 638));
    try {
        BuildTermFiles({{3, over}});
        ADD_FAILURE() << "2638 terms accepted";
    } catch (const Vsop87Error& error) {
        EXPECT_THAT(
            error.what(),
            HasSubstr("t.ear: body 3 (Earth) has 2638 terms; the program holds at most 2637"));
    }

    const Vsop87Body earth = Parse(Series(1, 0, 1));
    const Vsop87Body barycentre = Parse(Series(1, 0, 1, 9));
    EXPECT_EQ(RecordFor(earth, std::nullopt), 3);
    EXPECT_EQ(RecordFor(earth, 0), 0);
    EXPECT_EQ(RecordFor(barycentre, 8), 8);
    EXPECT_THROW(RecordFor(barycentre, std::nullopt), Vsop87Error);
    EXPECT_THROW(RecordFor(Parse(Series(1, 0, 1, 0)), std::nullopt), Vsop87Error);
    EXPECT_THROW(RecordFor(earth, 9), Vsop87Error);
    EXPECT_THROW(BuildTermFiles({{3, earth}, {3, barycentre}}), Vsop87Error);
}

// Runs the real tool in a scratch folder.
class MktermsCommand : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directories(dir_ / "out"); }

    std::string Write(const std::string& name, const std::string& text) {
        std::ofstream(dir_ / name, std::ios::binary) << text;
        return (dir_ / name).string();
    }
    int Run(const std::string& arguments) {
        const std::string command = std::string("'") + TOLVANE_MKTERMS + "' --out-dir '" +
                                    (dir_ / "out").string() + "' " + arguments + " 2>'" +
                                    (dir_ / "stderr").string() + "'";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string Read(const std::filesystem::path& path) {
        std::ostringstream text;
        text << std::ifstream(path, std::ios::binary).rdbuf();
        return text.str();
    }

    const testing_support::TempFolder folder_;
    const std::filesystem::path dir_ = folder_.Path();
};

TEST_F(MktermsCommand, WritesGoodFilesAndNothingOnError) {
    const std::string bad = Write("bad.ear", Header(1, 0, 3) + Term(1, 0, 1, 2, 3));
    EXPECT_EQ(Run("'" + bad + "'"), 1);
    EXPECT_THAT(Read(dir_ / "stderr"), HasSubstr("tolvane-mkterms: bad.ear:3: term line expected"));
    EXPECT_TRUE(std::filesystem::is_empty(dir_ / "out"));

    const std::string good = Write("good.ear", Series(1, 0, 2) + Series(3, 5, 1));
    const std::string emb = Write("emb.ear", Series(1, 0, 4, 9));
    EXPECT_EQ(Run("'" + good + "'"), 0);
    EXPECT_EQ(Read(dir_ / "stderr"), "");
    EXPECT_EQ(std::filesystem::file_size(dir_ / "out" / "PLANETS.NDX"), 648u);
    EXPECT_EQ(std::filesystem::file_size(dir_ / "out" / "PLANETS.DAT"), 3u * 24);

    // Failed runs leave the earlier files as they were, with no temporary files.
    const std::string dat = Read(dir_ / "out" / "PLANETS.DAT");
    EXPECT_EQ(Run("'" + emb + "'"), 1);
    EXPECT_THAT(Read(dir_ / "stderr"), HasSubstr("give --record N"));
    EXPECT_EQ(Run("--record 8 '" + good + "' '" + emb + "'"), 1);
    EXPECT_EQ(Run("'" + good + "' '" + bad + "'"), 1);
    EXPECT_EQ(Read(dir_ / "out" / "PLANETS.DAT"), dat);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_ / "out"), {}), 2);

    EXPECT_EQ(Run("--record 8 '" + emb + "'"), 0);
    EXPECT_EQ(std::filesystem::file_size(dir_ / "out" / "PLANETS.DAT"), 4u * 24);
}

}  // namespace
}  // namespace tolvane::mkterms

namespace tolvane::mkterms {
namespace {

// Inputs that are no files end the run at once; an output that cannot be replaced stops it
// before either term file changes.
TEST_F(MktermsCommand, UnusableInputsAndOutputsChangeNothing) {
    const std::string good = Write("good.ear", Series(1, 0, 2) + Series(3, 5, 1));
    ASSERT_EQ(Run("'" + good + "'"), 0);
    const std::string dat = Read(dir_ / "out" / "PLANETS.DAT");
    ASSERT_EQ(::mkfifo((dir_ / "fifo.ear").c_str(), 0600), 0);
    std::filesystem::create_directory(dir_ / "folder.ear");
    const struct {
        const char* input;
        const char* message;
    } inputs[] = {
        {"/dev/zero", "cannot read /dev/zero: not a readable regular file"},
        {"fifo.ear", "fifo.ear: not a readable regular file"},
        {"folder.ear", "folder.ear: not a readable regular file"},
        {"missing.ear", "missing.ear: no such file"},
    };
    for (const auto& c : inputs) {
        SCOPED_TRACE(c.input);
        const std::string path = c.input[0] == '/' ? c.input : (dir_ / c.input).string();
        EXPECT_EQ(Run("'" + path + "'"), 1);
        EXPECT_THAT(Read(dir_ / "stderr"), HasSubstr(c.message));
    }
    // PLANETS.NDX is a folder: PLANETS.DAT must stay as it was.
    std::filesystem::remove(dir_ / "out" / "PLANETS.NDX");
    std::filesystem::create_directory(dir_ / "out" / "PLANETS.NDX");
    const std::string other = Write("other.ear", Series(1, 0, 4));
    EXPECT_EQ(Run("'" + other + "'"), 1);
    EXPECT_THAT(Read(dir_ / "stderr"), HasSubstr("PLANETS.NDX: it is a folder"));
    EXPECT_EQ(Read(dir_ / "out" / "PLANETS.DAT"), dat);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_ / "out"), {}), 2);
}

}  // namespace
}  // namespace tolvane::mkterms
