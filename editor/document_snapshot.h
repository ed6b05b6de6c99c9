// SPDX-License-Identifier: GPL-3.0-or-later
// A rich text's content taken on the UI thread at little cost (its characters and its runs
// of formats, no layout, no clone) and made into a document again on another thread.
#pragma once

#include <QList>
#include <QString>
#include <QTextFormat>
#include <memory>
#include <vector>

class QTextDocument;

namespace editor {

class DocumentSnapshot {
public:
    // Reads `document` (on the thread it belongs to).
    explicit DocumentSnapshot(const QTextDocument& document);
    // A new document with the same text, paragraphs and formats, on the calling thread.
    std::unique_ptr<QTextDocument> Rebuild() const;

private:
    // A run of characters in one format; length -1: a paragraph begins, with its block
    // format and the format of its paragraph mark.
    struct Run {
        int position;
        int length;
        int format;
        int charFormat;
    };
    QString text_;
    std::vector<Run> runs_;
    QList<QTextFormat> formats_;
    QFont font_;
};

}  // namespace editor
