// SPDX-License-Identifier: GPL-3.0-or-later
// The lines of a paragraph counted from its words against the lines of Qt's own layout.
#include <gtest/gtest.h>

#include <QFont>
#include <QTextLayout>
#include <vector>

#include "editor/quick_line_count.h"

namespace {

int LaidOutLines(const QString& text, const QFont& font, qreal width) {
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    int lines = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine(), ++lines)
        line.setLineWidth(width);
    layout.endLayout();
    return lines;
}

// Every count given is the layout's; words of letters are counted at some widths at least,
// what the layout may break elsewhere than after a blank never is.
TEST(QuickLineCount, AgreesWithTheLayoutOrLeavesItToIt) {
    const QString words =
        QString::fromUtf8("Termin im Büro: Grüße an die Kollegin, morgen früh um 9 Uhr! Und dann? ");
    struct Case {
        const char* name;
        QString text;
        bool counted;  // the count is sure
    } const cases[] = {
        {"one word", "Notiz", true},
        {"empty", "", true},
        {"words with closing signs", words.repeated(6), true},
        {"blanks in a row", QString("Wort   ").repeated(40), true},
        {"a blank at the start", " Einzug" + words.repeated(3), false},
        {"a hyphen may break", QString("Ost-West ").repeated(30), false},
        {"a tab", words + "\t" + words, false},
        {"a quotation mark", words + "\"Zitat\" " + words, false},
        {"a word wider than a line", QString(400, u'x'), false},
        {"a sign before a letter", QString("Hallo!Welt ").repeated(20), false},
        {"words ending in letters that reach past them", QString("Brief Hof Schiff tief ").repeated(8),
         true},
    };
    // Every quarter pixel from 100 to 300, so that some decision falls where a last letter's
    // overhang decides.
    std::vector<qreal> widths = {60.0, 151.5, 233.0, 400.0, 1000.0};
    for (qreal w = 100; w < 300; w += 0.25) widths.push_back(w);
    // Two fonts with kerning and without, and an italic one whose letters reach past their
    // advances.
    QFont italic(QStringLiteral("DejaVu Serif"), 14);
    italic.setItalic(true);
    for (const QFont& font : {QFont(QStringLiteral("DejaVu Sans"), 10),
                              QFont(QStringLiteral("Nimbus Sans"), 10), italic}) {
        const std::string family = font.family().toStdString() + (font.italic() ? " italic" : "");
        editor::QuickLineCount quick(font);
        for (const Case& c : cases) {
            int sure = 0;
            for (const qreal width : widths) {
                const int lines = quick.Lines(c.text, width);
                if (lines == 0) continue;
                ++sure;
                EXPECT_EQ(lines, LaidOutLines(c.text, font, width))
                    << family << ", " << c.name << ", width " << width;
            }
            EXPECT_EQ(sure > 0, c.counted) << family << ", " << c.name;
            if (!c.counted) continue;
            // Without wrap the width is that of the one line, or a little more.
            QTextLayout one(c.text, font);
            one.beginLayout();
            QTextLine line = one.createLine();
            line.setLineWidth(1e6);
            const qreal natural = line.naturalTextWidth();
            one.endLayout();
            EXPECT_GE(quick.Width(c.text), natural) << family << ", " << c.name;
            EXPECT_LE(quick.Width(c.text), natural * 1.05 + 2) << family << ", " << c.name;
        }
    }
}

}  // namespace
