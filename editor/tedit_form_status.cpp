// SPDX-License-Identifier: GPL-3.0-or-later
// The status line: line and column of the caret as displayed (a wrapped paragraph counts
// as several lines), and the refresh after every change of the text.
#include <QFontMetrics>
#include <QLabel>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>

#include "editor/plain_notes_layout.h"
#include "editor/tedit_form.h"

namespace editor {

namespace {

// Stores the block's displayed lines in the document's block tree, which sums them for
// QTextBlock::firstLineNumber (the rich-text layout does not). A block not laid out yet
// counts as one line.
void CountLines(QTextBlock block) {
    const QTextLayout* layout = block.layout();
    const int lines = layout && layout->lineCount() > 0 ? layout->lineCount() : 1;
    if (block.lineCount() != lines) block.setLineCount(lines);
}

// A plain text's own layout keeps every paragraph's displayed lines itself; only the rich-text
// layout leaves them to the status line.
bool LayoutKeepsLineCounts(const QTextDocument& document) {
    return dynamic_cast<const PlainNotesLayout*>(document.documentLayout()) != nullptr;
}

// Line and column (both from 0) of `position`. The lines before the caret's block are
// summed by the block tree, so this costs no more than one block's lines, whatever the
// length of the text.
std::pair<int, int> LineAndColumn(const QTextDocument& document, int position) {
    // A plain text's layout knows its lines, long paragraphs laid out in pieces among them.
    if (const auto* plain = dynamic_cast<const PlainNotesLayout*>(document.documentLayout())) {
        const PlainNotesLayout::ShownLine shown = plain->LineOf(position);
        return {shown.number, position - shown.start};
    }
    const QTextBlock block = document.findBlock(position);
    if (!block.isValid()) return {0, 0};
    CountLines(block);
    const int inBlock = position - block.position();
    int line = block.firstLineNumber();
    int column = inBlock;
    if (const QTextLayout* layout = block.layout(); layout && layout->lineCount() > 0) {
        const QTextLine shown = layout->lineForTextPosition(inBlock);
        if (shown.isValid()) {
            line += shown.lineNumber();
            column = inBlock - shown.textStart();
        }
    }
    return {line, column};
}

}  // namespace

void TEditForm::NoteChangedBlocks(int position, int added) {
    changedFrom_ = changedFrom_ < 0 ? position : std::min(changedFrom_, position);
    changedTo_ = std::max(changedTo_, position + added);
}

// The paragraphs an edit touched; the layout has redone them before the change is reported.
void TEditForm::CountChangedLines() {
    if (changedFrom_ < 0) return;
    const QTextDocument& document = *editor_->document();
    if (LayoutKeepsLineCounts(document)) {
        changedFrom_ = changedTo_ = -1;
        return;
    }
    const QTextBlock last = document.findBlock(std::min(changedTo_, document.characterCount() - 1));
    for (QTextBlock b = document.findBlock(changedFrom_); b.isValid(); b = b.next()) {
        CountLines(b);
        if (b == last) break;
    }
    changedFrom_ = changedTo_ = -1;
}

void TEditForm::ScheduleCountAllLines() {
    countAllLines_ = true;
    lineCountTimer_.start();
}

// Every paragraph (50 ms for 10 MB): after a load or a resize, never per key.
void TEditForm::CountAllLines() {
    if (LayoutKeepsLineCounts(*editor_->document())) return;
    for (QTextBlock b = editor_->document()->begin(); b.isValid(); b = b.next()) CountLines(b);
}

void TEditForm::UpdateCursorPos() {
    CountChangedLines();
    // The caret is the selection's start, wherever the selection was made from.
    const auto [line, column] =
        LineAndColumn(*editor_->document(), editor_->textCursor().selectionStart());
    panel1_->setText(QStringLiteral("Zeile: %1   Spalte: %2")
                         .arg(line + 1, 3, 10, QChar(u' '))
                         .arg(column + 1, 3, 10, QChar(u' ')));
    FitStatusPanel();
}

// The first panel is as wide as its text and two "W"s in the status bar's font.
void TEditForm::FitStatusPanel() {
    const QFontMetrics metrics(statusBar()->font());
    panel1_->setFixedWidth(metrics.horizontalAdvance(panel1_->text()) +
                           2 * metrics.horizontalAdvance(u'W'));
}

void TEditForm::EditorChange() {
    UpdateCursorPos();
    textLength_ = editor_->document()->characterCount() - 1;
    FollowModified();
}

}  // namespace editor
