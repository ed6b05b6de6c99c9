// SPDX-License-Identifier: GPL-3.0-or-later
// The DOS/Windows conversion's walk over the lines of a document.
#include "editor/line_conversion.h"

#include <QTextBlock>
#include <string_view>
#include <vector>

#include "editor/edit_batch.h"
#include "platform/code_pages_oem_ansi.h"

namespace editor {

namespace {

// Characters that carry the document's structure (a line break inside a paragraph, an
// embedded object) are no text of either character set and stay as they are.
bool IsStructure(QChar c) {
    return c == QChar::LineSeparator || c == QChar::ObjectReplacementCharacter ||
           c == QChar::ParagraphSeparator || c.unicode() == 0xFDD0 || c.unicode() == 0xFDD1;
}

// One piece of a line in one character format.
struct FormatRun {
    int position;
    QString text;
    QTextCharFormat format;
};

}  // namespace

QString ConvertCharset(const QString& text, Charset way) {
    const std::u16string_view in(reinterpret_cast<const char16_t*>(text.constData()),
                                 static_cast<std::size_t>(text.size()));
    const std::u16string out = way == Charset::OemToAnsi ? platform::ConvertOemToAnsi(in)
                                                         : platform::ConvertAnsiToOem(in);
    QString result = QString::fromUtf16(out.data(), static_cast<qsizetype>(out.size()));
    // The conversion keeps one code unit for one, so the places are the same.
    for (qsizetype i = 0; i < text.size(); ++i)
        if (IsStructure(text[i])) result[i] = text[i];
    return result;
}

int LineConversion::LinesOf(const QTextDocument& document) {
    const int blocks = document.blockCount();
    return blocks > 1 && document.lastBlock().length() <= 1 ? blocks - 1 : blocks;
}

QTextCursor LineConversion::Run(const Pass& pass) {
    const int lines = LinesOf(document_);
    QTextCursor caret(&document_);
    for (int i = 0; i < lines; ++i) {
        // After the events of a tenth line that stopped it not even that line is converted.
        if (i % 10 == 0 && !pass(caret)) break;
        ConvertLine(i, caret);
    }
    return caret;
}

// Rewrites the runs of the line that change; the caret ends at the end of the line. A line
// past the end of a text that has become shorter is passed over.
void LineConversion::ConvertLine(int line, QTextCursor& caret) {
    const QTextBlock block = document_.findBlockByNumber(line);
    if (!block.isValid()) return;
    std::vector<FormatRun> runs;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (fragment.isValid())
            runs.push_back({fragment.position(), fragment.text(), fragment.charFormat()});
    }
    for (const FormatRun& run : runs) {
        const QString converted = ConvertCharset(run.text, way_);
        if (converted == run.text) continue;
        QTextCursor& cursor = batch_.Edit();
        cursor.setPosition(run.position);
        cursor.setPosition(run.position + static_cast<int>(run.text.size()),
                           QTextCursor::KeepAnchor);
        cursor.insertText(converted, run.format);
    }
    caret.setPosition(block.position() + block.length() - 1);
}

}  // namespace editor
