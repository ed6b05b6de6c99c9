// SPDX-License-Identifier: GPL-3.0-or-later
// A rich text's snapshot keeps what it read of unchanged paragraphs: after any edit, the
// copy made from it is the copy made from the text read afresh.
#include "editor/document_snapshot.h"

#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <functional>

#include "editor/formats/rtf_format.h"

namespace {

std::string CopyOf(const QTextDocument& document) {
    return editor::RtfFormat().write(*editor::DocumentSnapshot(document).Rebuild()).toStdString();
}

// The same text read afresh: nothing kept from an earlier snapshot.
std::string FreshCopyOf(QTextDocument& document) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        block.setUserData(nullptr);
    return CopyOf(document);
}

TEST(DocumentSnapshot, EditsBetweenSnapshotsAreSeen) {
    using Edit = std::function<void(QTextDocument&, QTextCursor&)>;
    const auto at = [](QTextCursor& c, int position, int anchorLength = 0) {
        c.setPosition(position);
        if (anchorLength) c.setPosition(position + anchorLength, QTextCursor::KeepAnchor);
    };
    const struct {
        const char* name;
        Edit edit;
    } edits[] = {
        {"type inside", [&](auto&, auto& c) { at(c, 2); c.insertText("x"); }},
        {"Enter inside", [&](auto&, auto& c) { at(c, 3); c.insertBlock(); }},
        {"Enter at a start", [&](auto&, auto& c) { at(c, 0); c.insertBlock(); }},
        {"Enter at an end", [&](auto& d, auto& c) {
             at(c, d.begin().length() - 1); c.insertBlock(); }},
        {"join by Backspace", [&](auto& d, auto& c) {
             at(c, d.begin().next().position()); c.deletePreviousChar(); }},
        {"join by Delete", [&](auto& d, auto& c) {
             at(c, d.begin().length() - 1); c.deleteChar(); }},
        {"delete across", [&](auto&, auto& c) { at(c, 1, 12); c.removeSelectedText(); }},
        {"bold a word", [&](auto&, auto& c) {
             QTextCharFormat bold;
             bold.setFontWeight(QFont::Bold);
             at(c, 1, 3);
             c.mergeCharFormat(bold); }},
        {"centre", [&](auto&, auto& c) {
             QTextBlockFormat centre;
             centre.setAlignment(Qt::AlignHCenter);
             at(c, 1);
             c.mergeBlockFormat(centre); }},
        {"undo", [&](auto& d, auto&) { d.undo(); }},
        {"redo", [&](auto& d, auto&) { d.redo(); }},
        {"empty a paragraph", [&](auto& d, auto& c) {
             at(c, d.begin().position(), d.begin().length() - 1);
             c.removeSelectedText(); }},
        {"replace all", [&](auto& d, auto&) { d.setPlainText("neu\nganz neu"); }},
    };
    // Each edit alone, and each after all that came before it (undo and redo only so).
    for (const bool inOrder : {false, true}) {
        QTextDocument document;
        for (std::size_t i = 0; i < std::size(edits); ++i) {
            SCOPED_TRACE(testing::Message() << edits[i].name << (inOrder ? " in order" : ""));
            const std::string name = edits[i].name;
            if (!inOrder && (name == "undo" || name == "redo")) continue;
            if (!inOrder || i == 0) {
                document.clear();
                QTextCursor fill(&document);
                fill.insertText("eins zwei");
                fill.insertBlock();
                fill.insertText("drei vier");
                fill.insertBlock();
                fill.insertBlock();
                fill.insertText("fünf");
            }
            // What the next snapshot may keep: read by one before, or read ahead.
            if (inOrder)
                CopyOf(document);
            else
                while (!editor::DocumentSnapshot::ReadAhead(document, 0)) {
                }
            QTextCursor cursor(&document);
            edits[i].edit(document, cursor);
            const std::string copy = CopyOf(document);
            EXPECT_EQ(copy, FreshCopyOf(document));
        }
    }
}

}  // namespace
