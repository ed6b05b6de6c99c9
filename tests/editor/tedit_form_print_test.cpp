// SPDX-License-Identifier: GPL-3.0-or-later
// Printing: the margins in printer pixels (rounding halves to even), and multi-page texts
// printed to a PDF file, read back with pdftotext: every word once, the job's title, and the
// text's edges 2 cm from the paper's edges at 300 and 600 dpi, with word wrap on and off.
#include <QPageLayout>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <algorithm>
#include <map>
#include <set>

#include "edit_form_fixture.h"
#include "editor/print_margins.h"

using namespace editor_test;
using editor::GetPrintMargins;
using editor::PrinterMetrics;

TEST(PrintMargins, PixelsFromMillimetres) {
    const struct {
        int mmX, mmY;
        PrinterMetrics printer;
        int left, top;
    } cases[] = {
        {20, 20, {600, 600, 0, 0}, 472, 472},      // 236 pixels per cm
        {20, 20, {300, 300, 0, 0}, 236, 236},      // 118 pixels per cm
        {20, 20, {600, 300, 100, 50}, 372, 186},   // less the physical offsets
        {20, 20, {1200, 1200, 0, 0}, 944, 944},    // 472.44 -> 472
        {5, 15, {100, 100, 0, 0}, 20, 58},         // 39 per cm: 19.5 -> 20, 58.5 -> 58
        {5, 5, {94, 94, 0, 0}, 18, 18},            // 37 per cm: 18.5 -> 18
        {0, 0, {600, 600, 30, 40}, -30, -40},      // margins 0 before the settings are read
    };
    for (const auto& c : cases) {
        const editor::PrintMargins m = GetPrintMargins(c.mmX, c.mmY, c.printer);
        EXPECT_EQ(m.left, c.left) << c.mmX << " mm at " << c.printer.pixelsPerInchX;
        EXPECT_EQ(m.top, c.top) << c.mmY << " mm at " << c.printer.pixelsPerInchY;
    }
    EXPECT_THROW(GetPrintMargins(2'000'000'000, 20, {600, 600, 0, 0}), std::range_error);
}

TEST(PrintMargins, HalvesGoToTheEvenNeighbour) {
    const struct {
        long double in, out;
    } cases[] = {{0.5L, 0}, {1.5L, 2}, {2.5L, 2}, {3.5L, 4}, {-0.5L, 0}, {-1.5L, -2},
                 {2.4999L, 2}, {2.5001L, 3}, {-2.5001L, -3}, {7, 7}};
    for (const auto& c : cases) EXPECT_EQ(editor::RoundHalfEven(c.in), c.out) << double(c.in);
}

namespace {

// One word of pdftotext's -bbox output, in points from the page's top-left corner.
struct Word {
    int page;
    double xMin, yMin, xMax, yMax;
    QString text;
};

struct PdfText {
    QString title;
    std::vector<QSizeF> pages;
    std::vector<Word> words;
};

PdfText ReadPdf(const QString& pdf) {
    QProcess run;
    run.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    EXPECT_TRUE(run.waitForFinished(30'000));
    EXPECT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
    const QString html = QString::fromUtf8(run.readAllStandardOutput());
    PdfText out;
    const QRegularExpression title(QStringLiteral("<title>(.*)</title>"));
    out.title = title.match(html).captured(1);
    const QRegularExpression item(QString::fromLatin1(
        R"re(<page width="([\d.]+)" height="([\d.]+)">|<word xMin="([\d.]+)" yMin="([\d.]+)")re"
        R"re( xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    for (auto it = item.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (!m.captured(1).isEmpty()) {
            out.pages.emplace_back(m.captured(1).toDouble(), m.captured(2).toDouble());
        } else {
            out.words.push_back({static_cast<int>(out.pages.size()) - 1, m.captured(3).toDouble(),
                                 m.captured(4).toDouble(), m.captured(5).toDouble(),
                                 m.captured(6).toDouble(), m.captured(7)});
        }
    }
    return out;
}

constexpr double PointsPerMm = 72.0 / 25.4;

class Printing : public EditFormTest {
protected:
    // The print dialog's answer: a PDF file at `dpi`, A4 with the given printable margins.
    void PrintToPdf(const QString& file, int dpi, QMarginsF printableMm = {10, 7, 10, 7}) {
        dialogs.printAnswers.push_back([=](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(file);
            printer.setResolution(dpi);
            printer.setPageSize(QPageSize(QPageSize::A4));
            printer.setPageMargins(printableMm, QPageLayout::Millimeter);
            return true;
        });
        Trigger("Print1");
    }
};

}  // namespace

// Every word once, inside margins of 2 cm on every page: short lines, and long ones that the
// printer wraps whether or not the window does, with paragraphs that run over a page's end.
TEST_F(Printing, PdfWithTwoCentimetreMargins) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    const struct {
        const char* name;
        int lines, words;  // words per line: `words` + (line number % 7)
        bool wordWrap;
        int dpi;
    } cases[] = {
        {"short lines", 120, 1, true, 300},
        {"long lines, word wrap on", 100, 14, true, 300},
        {"long lines, word wrap off", 100, 14, false, 600},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name + std::string(" at ") + std::to_string(c.dpi));
        // Each word unique, so that a word printed twice or not at all is seen.
        QString text;
        std::map<QString, int> lineOf;
        for (int i = 1; i <= c.lines; ++i) {
            for (int k = 0; k < c.words + i % 7; ++k) {
                const QString word = QString::fromUtf8("Grüße%1.%2").arg(i).arg(k);
                lineOf[word] = i;
                text += (k ? " " : "") + word;
            }
            text += '\n';
        }
        folder.Write("notiz.txt", text.toLatin1().toStdString());
        form->LoadFile(Name("notiz.txt"));
        Setting([](editor::EditorSettings& s) { s.printMarginX = s.printMarginY = 20; });
        ShowAndActivate();
        if (form->WordWrap() != c.wordWrap) Trigger("Wordwrap1");
        dialogs.prompts.clear();
        PrintToPdf(Name("druck.pdf"), c.dpi);
        EXPECT_TRUE(Messages().empty());
        const PdfText read = ReadPdf(Name("druck.pdf"));
        EXPECT_EQ(read.title, form->FileName());
        ASSERT_GE(read.pages.size(), 2u);
        std::map<QString, int> count;
        std::map<int, std::set<int>> pagesOfLine;
        for (const Word& w : read.words) {
            ++count[w.text];
            pagesOfLine[lineOf[w.text]].insert(w.page);
        }
        EXPECT_EQ(count.size(), lineOf.size());
        for (const auto& [word, n] : count) EXPECT_EQ(n, 1) << word.toStdString();
        EXPECT_TRUE(c.words == 1 || std::any_of(pagesOfLine.begin(), pagesOfLine.end(), [](auto& l) {
                        return l.second.size() > 1;
                    })) << "no paragraph runs over a page's end";
        // On every page the text starts 2 cm from the left and the top edge and stays 2 cm
        // inside the right and the bottom one.
        for (int page = 0; page < static_cast<int>(read.pages.size()); ++page) {
            double left = 1e9, top = 1e9, right = 0, bottom = 0;
            for (const Word& w : read.words) {
                if (w.page != page) continue;
                left = std::min(left, w.xMin);
                top = std::min(top, w.yMin);
                right = std::max(right, w.xMax);
                bottom = std::max(bottom, w.yMax);
            }
            EXPECT_NEAR(left / PointsPerMm, 20.0, 0.5) << "page " << page;
            EXPECT_NEAR(top / PointsPerMm, 20.0, 0.5) << "page " << page;
            EXPECT_LE(right / PointsPerMm, read.pages[page].width() / PointsPerMm - 20.0 + 0.5);
            EXPECT_LE(bottom / PointsPerMm, read.pages[page].height() / PointsPerMm - 20.0 + 0.5);
        }
    }
}

TEST_F(Printing, CancelFailuresAndSetup) {
    folder.Write("notiz.txt", "Eine Zeile\n");
    form->LoadFile(Name("notiz.txt"));
    Setting([](editor::EditorSettings& s) { s.printMarginX = s.printMarginY = 20; });
    ShowAndActivate();
    Trigger("SpeedButton4");  // the tool bar's button; the dialog is cancelled
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_EQ(dialogs.prompts[0].type, testing_support::Prompt::PrintDialog);
    EXPECT_TRUE(Messages().empty());

    const struct {
        const char* name;
        QString file;
        int marginMm;
    } failures[] = {
        {"no such folder", Name("fehlt/druck.pdf"), 20},
        {"margins wider than the paper", Name("breit.pdf"), 120},
    };
    for (const auto& f : failures) {
        SCOPED_TRACE(f.name);
        dialogs.prompts.clear();
        Setting([&](editor::EditorSettings& s) { s.printMarginX = f.marginMm; });
        PrintToPdf(f.file, 300);
        ASSERT_EQ(Messages().size(), 1u);
        EXPECT_EQ(Messages()[0].text, "Error bei Drucker");
        EXPECT_EQ(Messages()[0].kind, platform::MessageKind::Error);
        EXPECT_EQ(Messages()[0].buttons, unsigned(platform::ButtonOk));
    }

    // The printer setup dialog runs on the printer that printing uses, and that is all.
    dialogs.prompts.clear();
    dialogs.setupAnswers.push_back([](QPrinter& printer) {
        printer.setPageOrientation(QPageLayout::Landscape);
        return true;
    });
    Trigger("Printersetup1");
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_EQ(dialogs.prompts[0].type, testing_support::Prompt::PrinterSetup);
    EXPECT_EQ(form->Printer().pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_FALSE(form->Modified());
}
