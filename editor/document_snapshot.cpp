// SPDX-License-Identifier: GPL-3.0-or-later
// A rich text's snapshot: its paragraphs' characters and runs, each kept with its paragraph
// and shared (not copied) as long as the paragraph does not change; its formats as indices
// into the document's table of formats.
#include "editor/document_snapshot.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QTextDocument>

#include <algorithm>

namespace editor {

namespace {

// A paragraph's content as last read, kept with the paragraph until it changes. Reading a
// paragraph walks the document's tree several times, which for 250,000 paragraphs costs
// some 200 ms; the whole text at once (toRawText) some 30 ms for 10 million characters.
struct KeptContent : QTextBlockUserData {
    std::shared_ptr<const DocumentSnapshot::Content> content;
};

// Drops the kept content of every paragraph a change touches. (A paragraph's revision is
// no guide: joining two paragraphs or changing the format of some characters leaves it as
// it was.) The document tells its changes only once it has a layout, which a shown
// document has anyway.
class ContentKeeper : public QObject {
public:
    // Its name, found among the document's children (a class without its own meta-object
    // cannot be told apart by type).
    static inline const QString Name = QStringLiteral("tolvane-content-keeper");

    // The paragraph a read-ahead goes on with.
    int nextToRead = 0;

    static ContentKeeper& Of(const QTextDocument& document) {
        if (auto* keeper = static_cast<ContentKeeper*>(
                document.findChild<QObject*>(Name, Qt::FindDirectChildrenOnly)))
            return *keeper;
        return *new ContentKeeper(const_cast<QTextDocument&>(document));
    }

private:
    explicit ContentKeeper(QTextDocument& document) : QObject(&document) {
        setObjectName(Name);
        document.documentLayout();
        connect(&document, &QTextDocument::contentsChange, this,
                [this, document = &document](int position, int, int added) {
                    QTextBlock block = document->findBlock(position);
                    nextToRead = std::min(nextToRead, std::max(0, block.blockNumber()));
                    for (int at = block.position(); block.isValid() && at <= position + added;
                         at += block.length(), block = block.next()) {
                        if (auto* kept = dynamic_cast<KeptContent*>(block.userData()))
                            kept->content.reset();
                    }
                });
    }
};

// A plain text saved as rich text keeps its layout, whose long paragraphs keep their pieces
// as user data as well: those give way (and take it back when laid out).
KeptContent& KeptOf(QTextBlock& block) {
    auto* kept = dynamic_cast<KeptContent*>(block.userData());
    if (!kept) {
        kept = new KeptContent;
        block.setUserData(kept);
    }
    return *kept;
}

std::shared_ptr<const DocumentSnapshot::Content> Read(const QTextBlock& block) {
    auto content = std::make_shared<DocumentSnapshot::Content>();
    content->text = block.text();
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        content->runs.emplace_back(fragment.length(), fragment.charFormatIndex());
    }
    return content;
}

}  // namespace

// Only an empty paragraph keeps the format of its mark, which decides its height.
DocumentSnapshot::DocumentSnapshot(const QTextDocument& document)
    : formats_(document.allFormats()), font_(document.defaultFont()) {
    ContentKeeper::Of(document);
    paragraphs_.reserve(static_cast<std::size_t>(document.blockCount()));
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        KeptContent& kept = KeptOf(block);
        if (!kept.content) kept.content = Read(block);
        const bool empty = block.length() == 1;
        paragraphs_.push_back(
            {block.blockFormatIndex(), empty ? block.charFormatIndex() : -1, kept.content});
    }
}

bool DocumentSnapshot::ReadAhead(const QTextDocument& document, int budgetMs) {
    ContentKeeper& keeper = ContentKeeper::Of(document);
    QElapsedTimer timer;
    timer.start();
    QTextBlock block = document.findBlockByNumber(keeper.nextToRead);
    for (int n = 0; block.isValid(); block = block.next(), ++keeper.nextToRead, ++n) {
        KeptContent& kept = KeptOf(block);
        if (!kept.content) kept.content = Read(block);
        if (n % 64 == 63 && timer.elapsed() >= budgetMs) return false;
    }
    return true;
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
    for (const Paragraph& paragraph : paragraphs_) {
        const QTextBlockFormat block = format(paragraph.format).toBlockFormat();
        const QTextCharFormat chars = paragraph.charFormat < 0
                                          ? QTextCharFormat()
                                          : format(paragraph.charFormat).toCharFormat();
        if (first) {
            cursor.setBlockFormat(block);
            cursor.setBlockCharFormat(chars);
        } else {
            cursor.insertBlock(block, chars);
        }
        first = false;
        int position = 0;
        for (const auto& [length, run] : paragraph.content->runs) {
            cursor.insertText(paragraph.content->text.mid(position, length),
                              format(run).toCharFormat());
            position += length;
        }
    }
    return document;
}

}  // namespace editor
