// SPDX-License-Identifier: GPL-3.0-or-later
#include "astro/term_files.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <functional>

#include "astro/errors.h"
#include "support/unprivileged.h"
#include "term_file_builder.h"

using astro::PlanetTerms;
using astro::TSeriesTerm;
using namespace testing_support;

namespace {

int OpenFileCount() {
    int n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator("/proc/self/fd")) ++n;
    return n;
}

// A body with `counts[c][j]` terms in series (c + 1, j); term k of the body is (k, 0, 0).
BodySeries BodyWithCounts(const std::vector<std::array<int, 3>>& series) {
    BodySeries body;
    double k = 1;
    for (const auto& [c, j, count] : series)
        for (int i = 0; i < count; ++i) body[c - 1][j].push_back({k++, 0.0, 0.0});
    return body;
}

}  // namespace

TEST(TermFiles, LoadsEachSeriesIntoConsecutiveSlots) {
    TempFolder folder;
    WriteTermFiles(folder, BodyWithCounts({{1, 0, 3}, {1, 2, 2}, {2, 0, 1}, {3, 5, 4}}));
    PlanetTerms terms(folder.Path().string());
    terms.InitTermBuffer();
    terms.LoadPlanetTerms(3);
    EXPECT_EQ(terms.NextTerm(), 11);

    const auto& index = terms.PlanetIndex()[3];
    EXPECT_EQ(index[0][0].Start, 0);
    EXPECT_EQ(index[0][0].Count, 3);
    EXPECT_EQ(index[0][1].Start, 3);
    EXPECT_EQ(index[0][2].Start, 3);
    EXPECT_EQ(index[1][0].Start, 5);
    EXPECT_EQ(index[2][5].Start, 6);
    EXPECT_EQ(index[2][5].Count, 4);

    auto amplitudes = [&](int c, int j) {
        std::vector<double> a;
        for (const TSeriesTerm& t : terms.Series(3, c, j)) a.push_back(t.A);
        return a;
    };
    EXPECT_THAT(amplitudes(1, 0), testing::ElementsAre(1, 2, 3));
    EXPECT_THAT(amplitudes(1, 1), testing::IsEmpty());
    EXPECT_THAT(amplitudes(1, 2), testing::ElementsAre(4, 5));
    EXPECT_THAT(amplitudes(2, 0), testing::ElementsAre(6));
    EXPECT_THAT(amplitudes(3, 5), testing::ElementsAre(7, 8, 9, 10));

    // Bodies never loaded keep their zeros.
    for (int p : {0, 1, 2, 4, 8})
        for (const auto& coordinate : terms.PlanetIndex()[p])
            for (const auto& s : coordinate) EXPECT_EQ(s.Start + s.Count, 0);
}

TEST(TermFiles, BodyBehindOthersInTheDataFileAndRepeatedLoads) {
    // Body 1 occupies records 0..4, body 3 follows from record 5.
    TempFolder folder;
    const EncodedBody first = Encode(BodyWithCounts({{1, 0, 5}}));
    const EncodedBody second = Encode(BodyWithCounts({{1, 0, 2}, {3, 1, 1}}), 5);
    std::vector<astro::TPlanetIndex> records(9, astro::TPlanetIndex{});
    records[1] = first.index;
    records[3] = second.index;
    std::vector<TSeriesTerm> all = first.terms;
    for (TSeriesTerm t : second.terms) all.push_back({t.A + 100, 0, 0});
    WriteBytes(folder.File("PLANETS.NDX"), IndexBytes(records));
    WriteBytes(folder.File("PLANETS.DAT"), TermBytes(all));

    PlanetTerms terms(folder.Path().string());
    terms.InitTermBuffer();
    terms.LoadPlanetTerms(3);
    EXPECT_EQ(terms.NextTerm(), 4);
    EXPECT_EQ(terms.PlanetIndex()[3][0][0].Start, 0);
    EXPECT_EQ(terms.Series(3, 1, 0)[0].A, 101);
    EXPECT_EQ(terms.Series(3, 3, 1)[0].A, 103);

    // A second load before the buffer is released appends behind the first one.
    terms.LoadPlanetTerms(1);
    EXPECT_EQ(terms.NextTerm(), 9);
    EXPECT_EQ(terms.PlanetIndex()[1][0][0].Start, 3);
    EXPECT_EQ(terms.Series(1, 1, 0)[4].A, 5);
    EXPECT_EQ(terms.Series(3, 1, 0)[1].A, 102);

    // Loading the same body again reads its index afresh: no accumulated shift.
    terms.InitTermBuffer();
    terms.LoadPlanetTerms(3);
    terms.LoadPlanetTerms(3);
    EXPECT_EQ(terms.NextTerm(), 7);
    EXPECT_EQ(terms.PlanetIndex()[3][0][0].Start, 3);
    EXPECT_EQ(terms.PlanetIndex()[3][2][1].Start, 5);
}

TEST(TermFiles, EmptyBodyAndIgnoredBodies) {
    TempFolder folder;
    WriteTermFiles(folder, BodySeries{});
    PlanetTerms terms(folder.Path().string());
    terms.InitTermBuffer();
    terms.LoadPlanetTerms(3);
    EXPECT_EQ(terms.NextTerm(), 1);
    EXPECT_TRUE(terms.Series(3, 1, 0).empty());

    // Bodies 9 and above are ignored without touching any file: the folder is empty.
    TempFolder empty;
    PlanetTerms none(empty.Path().string());
    none.InitTermBuffer();
    EXPECT_NO_THROW(none.LoadPlanetTerms(9));
    EXPECT_NO_THROW(none.LoadPlanetTerms(1000));
    EXPECT_EQ(none.NextTerm(), 1);
    EXPECT_THROW(none.LoadPlanetTerms(-1), astro::RangeError);
}

TEST(TermFiles, CapacityIsExactly2637Terms) {
    TempFolder folder;
    WriteTermFiles(folder, BodyWithCounts({{1, 0, 2000}, {3, 0, 637}}));
    PlanetTerms terms(folder.Path().string());
    terms.InitTermBuffer();
    testing::internal::CaptureStdout();
    terms.LoadPlanetTerms(3);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(terms.NextTerm(), 2638);
    EXPECT_EQ(terms.Series(3, 3, 0).back().A, 2637);

    // One term more: the line goes to standard output and the load fails, so the
    // incomplete series is never evaluated.
    WriteTermFiles(folder, BodyWithCounts({{1, 0, 2000}, {3, 0, 638}}));
    terms.InitTermBuffer();
    testing::internal::CaptureStdout();
    try {
        terms.LoadPlanetTerms(3);
        ADD_FAILURE() << "no error";
    } catch (const astro::TermCapacityError& e) {
        EXPECT_STREQ(e.what(), "!!! ERROR !!! Too many planetary terms !");
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "!!! ERROR !!! Too many planetary terms !\n");
    EXPECT_EQ(terms.NextTerm(), 2638);
    EXPECT_EQ(terms.Series(3, 1, 0).size(), 2000u);
    EXPECT_THROW(terms.Series(3, 3, 0), astro::RangeError);

    // The files were closed: a new buffer loads a good pair again.
    WriteTermFiles(folder, BodyWithCounts({{1, 0, 4}}));
    terms.InitTermBuffer();
    terms.LoadPlanetTerms(3);
    EXPECT_EQ(terms.NextTerm(), 5);
}

TEST(TermFiles, CorruptFilesRaiseInputOutputErrorsAndCloseTheFiles) {
    const BodySeries body = BodyWithCounts({{1, 0, 3}, {2, 1, 2}, {3, 0, 4}});
    const EncodedBody good = Encode(body);
    std::vector<astro::TPlanetIndex> records(9, astro::TPlanetIndex{});
    records[3] = good.index;
    const auto ndx = IndexBytes(records);
    const auto dat = TermBytes(good.terms);

    struct Case {
        const char* name;
        std::function<void(const TempFolder&)> make;
        const char* text;
    };
    auto files = [](std::vector<unsigned char> n, std::vector<unsigned char> d) {
        return [n, d](const TempFolder& f) {
            WriteBytes(f.File("PLANETS.NDX"), n);
            WriteBytes(f.File("PLANETS.DAT"), d);
        };
    };
    auto cut = [](std::vector<unsigned char> v, std::size_t size) {
        v.resize(size);
        return v;
    };
    auto withEntry = [&](int c, int j, std::uint16_t start, std::uint16_t count) {
        auto r = records;
        r[3][c][j] = {start, count};
        return IndexBytes(r);
    };
    const Case cases[] = {
        {"no index file", [&](const TempFolder& f) { WriteBytes(f.File("PLANETS.DAT"), dat); },
         "File not found"},
        {"no data file", [&](const TempFolder& f) { WriteBytes(f.File("PLANETS.NDX"), ndx); },
         "File not found"},
        {"empty index file", files({}, dat), "Read beyond end of file"},
        {"empty data file", files(ndx, {}), "Read beyond end of file"},
        {"index of three records", files(cut(ndx, 3 * 72), dat), "Read beyond end of file"},
        {"index record cut short", files(cut(ndx, 3 * 72 + 40), dat), "Read beyond end of file"},
        {"data file one term short", files(ndx, cut(dat, dat.size() - 24)), "Read beyond end of file"},
        {"data file half a term short", files(ndx, cut(dat, dat.size() - 12)),
         "Read beyond end of file"},
        {"first series starts past the end", files(withEntry(0, 0, 60000, 3), dat),
         "Read beyond end of file"},
        {"count runs past the end", files(withEntry(2, 0, 5, 400), dat), "Read beyond end of file"},
        {"index file is a folder",
         [&](const TempFolder& f) {
             std::filesystem::create_directory(f.File("PLANETS.NDX"));
             WriteBytes(f.File("PLANETS.DAT"), dat);
         },
         "File is a folder"},
        {"data file is a FIFO",
         [&](const TempFolder& f) {
             WriteBytes(f.File("PLANETS.NDX"), ndx);
             ASSERT_EQ(mkfifo(f.File("PLANETS.DAT").c_str(), 0600), 0);
         },
         "File not found"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        c.make(folder);
        PlanetTerms terms(folder.Path().string());
        terms.InitTermBuffer();
        const int before = OpenFileCount();
        try {
            terms.LoadPlanetTerms(3);
            ADD_FAILURE() << "no error";
        } catch (const astro::InOutError& e) {
            EXPECT_STREQ(e.what(), c.text);
        }
        EXPECT_EQ(OpenFileCount(), before);
        // Whatever was read, no series can be taken from outside the loaded slots.
        for (int coordinate = 1; coordinate <= 3; ++coordinate)
            for (int power = 0; power <= 5; ++power) {
                try {
                    for (const TSeriesTerm& t : terms.Series(3, coordinate, power))
                        EXPECT_GE(t.A, 1.0);
                } catch (const astro::RangeError&) {
                }
            }
    }
}

TEST(TermFiles, IndexThatBreaksTheLayoutCannotReachOutsideTheBuffer) {
    TempFolder folder;
    std::vector<astro::TPlanetIndex> records(9, astro::TPlanetIndex{});
    const auto dat = TermBytes({{1, 0, 0}, {2, 0, 0}, {3, 0, 0}});

    // A later series claims records far behind the ones read in order.
    records[3][0][0] = {0, 1};
    records[3][0][1] = {10, 1};
    WriteBytes(folder.File("PLANETS.NDX"), IndexBytes(records));
    WriteBytes(folder.File("PLANETS.DAT"), dat);
    PlanetTerms terms(folder.Path().string());
    terms.InitTermBuffer();
    terms.LoadPlanetTerms(3);
    EXPECT_EQ(terms.Series(3, 1, 0)[0].A, 1);
    EXPECT_THROW(terms.Series(3, 1, 1), astro::RangeError);

    // A rewritten Start that no longer fits 16 bits is a range error …
    records[2][0][0] = {0, 1};
    records[3][0][0] = {0, 1};
    records[3][0][1] = {65535, 0};
    WriteBytes(folder.File("PLANETS.NDX"), IndexBytes(records));
    terms.InitTermBuffer();
    terms.LoadPlanetTerms(2);
    EXPECT_THROW(terms.LoadPlanetTerms(3), astro::RangeError);

    // … and so is one that would fall below the buffer.
    records[3][0][0] = {2, 1};
    records[3][0][1] = {0, 0};
    WriteBytes(folder.File("PLANETS.NDX"), IndexBytes(records));
    terms.InitTermBuffer();
    EXPECT_THROW(terms.LoadPlanetTerms(3), astro::RangeError);
}

TEST(TermFiles, WriteProtectedFilesAreRead) {
    TempFolder folder;
    WriteTermFiles(folder, BodyWithCounts({{1, 0, 2}}));
    namespace fs = std::filesystem;
    fs::permissions(folder.File("PLANETS.NDX"), fs::perms::owner_read | fs::perms::group_read);
    fs::permissions(folder.File("PLANETS.DAT"), fs::perms::owner_read | fs::perms::group_read);
    fs::permissions(folder.Path(), fs::perms::owner_read | fs::perms::owner_exec);
    PlanetTerms terms(folder.Path().string());
    terms.InitTermBuffer();
    EXPECT_NO_THROW(terms.LoadPlanetTerms(3));
    EXPECT_EQ(terms.NextTerm(), 3);
}

TEST(TermFiles, UnreadableFileIsAccessDenied) {
    EXPECT_STREQ(astro::InOutError::FromErrno(EACCES).what(), "File access denied");
    EXPECT_STREQ(astro::InOutError::FromErrno(EPERM).what(), "File access denied");
    EXPECT_STREQ(astro::InOutError::FromErrno(ENOENT).what(), "File not found");
    EXPECT_STREQ(astro::InOutError::FromErrno(EIO).what(), "I/O error 5");
    EXPECT_EQ(astro::InOutError::FromErrno(EIO).code(), EIO);

    // As root the load runs in a child process that has given up root's powers.
    TempFolder folder;
    WriteTermFiles(folder, BodyWithCounts({{1, 0, 2}}));
    std::filesystem::permissions(folder.File("PLANETS.DAT"), std::filesystem::perms::none);
    const std::string failure = AsUnprivilegedUser(folder.Path(), [&]() -> std::string {
        PlanetTerms terms(folder.Path().string());
        terms.InitTermBuffer();
        try {
            terms.LoadPlanetTerms(3);
            return "no error";
        } catch (const astro::InOutError& e) {
            return e.what() == std::string("File access denied") ? "" : e.what();
        }
    });
    EXPECT_EQ(failure, "");
}

// Only regular files (or a folder, which the load then names) count as term files.
TEST(TermFiles, ExistMeansRegularFilesOrAFolder) {
    TempFolder folder;
    WriteTermFiles(folder, BodyWithCounts({{1, 0, 2}}));
    EXPECT_TRUE(astro::TermFilesExist(folder.Folder()));
    std::filesystem::remove(folder.File("PLANETS.NDX"));
    ASSERT_EQ(mkfifo(folder.File("PLANETS.NDX").c_str(), 0600), 0);
    EXPECT_FALSE(astro::TermFilesExist(folder.Folder()));
    std::filesystem::remove(folder.File("PLANETS.NDX"));
    std::filesystem::create_symlink("/dev/zero", folder.File("PLANETS.NDX"));
    EXPECT_FALSE(astro::TermFilesExist(folder.Folder()));
    std::filesystem::remove(folder.File("PLANETS.NDX"));
    std::filesystem::create_directory(folder.File("PLANETS.NDX"));
    EXPECT_TRUE(astro::TermFilesExist(folder.Folder()));
}

TEST(TermFiles, BufferLifetime) {
    TempFolder folder;
    WriteTermFiles(folder, BodyWithCounts({{1, 0, 2}}));
    PlanetTerms terms(folder.Path().string());
    EXPECT_FALSE(terms.HasTermBuffer());
    EXPECT_THROW(terms.LoadPlanetTerms(3), std::logic_error);

    terms.InitTermBuffer();
    terms.LoadPlanetTerms(3);
    ASSERT_EQ(terms.Series(3, 1, 0).size(), 2u);

    // A second InitTermBuffer starts afresh; the old terms are gone, not readable.
    terms.InitTermBuffer();
    EXPECT_EQ(terms.NextTerm(), 1);
    EXPECT_THROW(terms.Series(3, 1, 0), astro::RangeError);

    terms.LoadPlanetTerms(3);
    terms.FreeTermBuffer();
    EXPECT_FALSE(terms.HasTermBuffer());
    EXPECT_THROW(terms.Series(3, 1, 0), astro::RangeError);

    // The folder is given with or without its final separator.
    EXPECT_EQ(PlanetTerms("/a/b").Folder(), "/a/b/");
    EXPECT_EQ(PlanetTerms("/a/b/").Folder(), "/a/b/");
}
