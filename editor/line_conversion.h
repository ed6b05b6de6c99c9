// SPDX-License-Identifier: GPL-3.0-or-later
// The DOS/Windows conversion of a whole text, line by line, on a QTextDocument.
#pragma once

#include <QTextCursor>
#include <QTextDocument>
#include <functional>

namespace editor {

class EditBatch;

enum class Charset { OemToAnsi, AnsiToOem };

// The lines are the text's own lines, between line breaks: the lines as displayed would move
// while the text is rewritten (the converted characters have other widths), leaving
// characters unconverted or converting them twice. Each line is rewritten run by run, each
// run keeping its character format, so a rich text keeps its bold words and fonts; line
// breaks inside a paragraph and embedded objects stay.
class LineConversion {
public:
    // Called before the lines 0, 10, 20, ... with the caret at the end of the line converted
    // last; false stops the conversion, and the lines from there on stay as they are. The
    // document must still be there when it returns true.
    using Pass = std::function<bool(const QTextCursor& caret)>;

    LineConversion(QTextDocument& document, Charset way, EditBatch& batch)
        : document_(document), way_(way), batch_(batch) {}

    // Converts the lines counted at the start; returns the caret at the end of the last
    // line converted (at the start when none was).
    QTextCursor Run(const Pass& pass);

    // The lines to convert: an empty last line after a final line break does not count.
    static int LinesOf(const QTextDocument& document);

private:
    void ConvertLine(int line, QTextCursor& caret);

    QTextDocument& document_;
    Charset way_;
    EditBatch& batch_;
};

// One text from one character set to the other, one code unit for one; the characters that
// carry the document's structure stay.
QString ConvertCharset(const QString& text, Charset way);

}  // namespace editor
