// SPDX-License-Identifier: GPL-3.0-or-later
// A rich text's snapshot: its characters in one string, its paragraphs and runs as indices
// into the document's table of formats (shared, not copied).
#include "editor/document_snapshot.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace editor {

namespace {

// A paragraph's runs as last taken, kept with the paragraph: only paragraphs changed since
// (their revision moved on) are read again. Reading a paragraph's runs walks the document's
// tree several times, which for 250,000 paragraphs costs some 200 ms.
struct KeptRuns : QTextBlockUserData {
    int revision = -1;
    std::vector<std::pair<int, int>> runs;  // length, format
};

}  // namespace

// Positions are counted along (each paragraph ends in one separator character). Only an
// empty paragraph keeps the format of its mark, which decides its height.
DocumentSnapshot::DocumentSnapshot(const QTextDocument& document)
    : text_(document.toRawText()), formats_(document.allFormats()), font_(document.defaultFont()) {
    int position = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        auto* kept = static_cast<KeptRuns*>(block.userData());
        if (!kept) {
            kept = new KeptRuns;
            block.setUserData(kept);
        }
        const bool empty = block.length() == 1;
        if (kept->revision != block.revision() || empty) {
            kept->revision = block.revision();
            kept->runs.clear();
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment fragment = it.fragment();
                kept->runs.emplace_back(fragment.length(), fragment.charFormatIndex());
            }
        }
        runs_.push_back({-1, -1, block.blockFormatIndex(), empty ? block.charFormatIndex() : -1});
        for (const auto& [length, format] : kept->runs) {
            runs_.push_back({position, length, format, 0});
            position += length;
        }
        ++position;
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
            const QTextCharFormat chars =
                run.charFormat < 0 ? QTextCharFormat() : format(run.charFormat).toCharFormat();
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
