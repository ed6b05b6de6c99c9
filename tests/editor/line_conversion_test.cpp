// SPDX-License-Identifier: GPL-3.0-or-later
// The DOS/Windows conversion's walk over a document, without a window: what it converts,
// what it keeps, where a stop leaves it, and its one step for undo.
#include "editor/line_conversion.h"

#include <gtest/gtest.h>

#include <QTextBlock>

#include "editor/edit_batch.h"

using namespace editor;

namespace {

// Converts `document` and stops at the pass `stopAt` (0: never); the passes in order.
std::vector<int> Convert(QTextDocument& document, Charset way, int stopAt = 0) {
    std::vector<int> passes;
    EditBatch batch(&document);
    LineConversion(document, way, batch).Run([&](const QTextCursor& caret) {
        passes.push_back(caret.blockNumber());
        return static_cast<int>(passes.size()) != stopAt;
    });
    return passes;
}

}  // namespace

TEST(LineConversion, TextsBothWays) {
    struct Case {
        const char* name;
        const char* in;  // a DOS text as read, in Windows-1252
        Charset way;
        const char* out;
    };
    const Case cases[] = {
        {"DOS umlauts and a box corner", "„ ” \u0081 á Ž\nÚÄ", Charset::OemToAnsi,
         "ä ö ü ß Ä\n┌─"},
        {"and back", "ä ö ü ß Ä", Charset::AnsiToOem, "„ ” \u0081 á Ž"},
        {"the empty text", "", Charset::OemToAnsi, ""},
        {"a final line break is no line of its own", "„\n", Charset::OemToAnsi, "ä\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTextDocument document;
        document.setPlainText(QString::fromUtf8(c.in));
        Convert(document, c.way);
        EXPECT_EQ(document.toPlainText(), QString::fromUtf8(c.out));
    }
}

// A line break inside a paragraph and an embedded object are no characters of either set.
TEST(LineConversion, StructureStays) {
    const QString in =
        QString::fromUtf8("„") + QChar::LineSeparator + QChar::ObjectReplacementCharacter;
    EXPECT_EQ(ConvertCharset(in, Charset::OemToAnsi),
              QString::fromUtf8("ä") + QChar::LineSeparator + QChar::ObjectReplacementCharacter);
}

// Passes before the lines 0, 10, 20; a stop at the third leaves the lines from 20 on as
// they were. The whole walk is one step for undo.
TEST(LineConversion, PassesStopAndUndo) {
    QString text;
    for (int i = 0; i < 25; ++i) text += QString::fromUtf8("„\n");
    QTextDocument document;
    document.setPlainText(text);
    EXPECT_EQ(Convert(document, Charset::OemToAnsi, 3), (std::vector<int>{0, 9, 19}));
    for (int i = 0; i < 25; ++i) {
        const QChar expected = i < 20 ? QChar(u'ä') : QChar(0x201E);
        EXPECT_EQ(document.findBlockByNumber(i).text(), QString(expected)) << i;
    }
    document.undo();
    EXPECT_EQ(document.toPlainText(), text);
    EXPECT_FALSE(document.isUndoAvailable());
}
