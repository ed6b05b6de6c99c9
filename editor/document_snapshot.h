// SPDX-License-Identifier: GPL-3.0-or-later
// A rich text's content taken on the UI thread at little cost (its paragraphs' characters
// and runs of formats, no layout, no clone) and made into a document again on another
// thread.
#pragma once

#include <QList>
#include <QString>
#include <QTextFormat>
#include <memory>
#include <utility>
#include <vector>

class QTextDocument;

namespace editor {

class DocumentSnapshot {
public:
    // Reads `document` (on the thread it belongs to).
    explicit DocumentSnapshot(const QTextDocument& document);
    // A new document with the same text, paragraphs and formats, on the calling thread.
    std::unique_ptr<QTextDocument> Rebuild() const;
    // Reads ahead, for about `budgetMs`, the paragraphs of `document` that a snapshot would
    // have to read, going on where the last call stopped; true once it has reached the end.
    // Run while the text rests, so that the first snapshot after a load is as quick as any.
    static bool ReadAhead(const QTextDocument& document, int budgetMs);

    // A paragraph's characters and its runs (length, format), as last read. Shared between
    // the document's paragraph and the snapshots, never changed once made.
    struct Content {
        QString text;
        std::vector<std::pair<int, int>> runs;
    };

private:
    // A paragraph: its block format, the format of its mark (-1: not needed) and content.
    struct Paragraph {
        int format;
        int charFormat;
        std::shared_ptr<const Content> content;
    };
    std::vector<Paragraph> paragraphs_;
    QList<QTextFormat> formats_;
    QFont font_;
};

}  // namespace editor
