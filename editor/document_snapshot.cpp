// SPDX-License-Identifier: GPL-3.0-or-later
// A rich text's snapshot: its characters in one string, its paragraphs and runs as indices
// into the document's table of formats (shared, not copied).
#include "editor/document_snapshot.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace editor {

DocumentSnapshot::DocumentSnapshot(const QTextDocument& document)
    : text_(document.toRawText()), formats_(document.allFormats()), font_(document.defaultFont()) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        runs_.push_back({-1, -1, block.blockFormatIndex(), block.charFormatIndex()});
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            runs_.push_back({fragment.position(), fragment.length(), fragment.charFormatIndex(), 0});
        }
    }
}

std::unique_ptr<QTextDocument> DocumentSnapshot::Rebuild() const {
    auto document = std::make_unique<QTextDocument>();
    document->setDefaultFont(font_);
    document->setUndoRedoEnabled(false);
    QTextCursor cursor(document.get());
    const auto format = [this](int index) {
        return index >= 0 && index < formats_.size() ? formats_[index] : QTextFormat();
    };
    bool first = true;
    for (const Run& run : runs_) {
        if (run.length < 0) {
            const QTextBlockFormat block = format(run.format).toBlockFormat();
            const QTextCharFormat chars = format(run.charFormat).toCharFormat();
            if (first) {
                cursor.setBlockFormat(block);
                cursor.setBlockCharFormat(chars);
            } else {
                cursor.insertBlock(block, chars);
            }
            first = false;
            continue;
        }
        cursor.insertText(text_.mid(run.position, run.length), format(run.format).toCharFormat());
    }
    return document;
}

}  // namespace editor
