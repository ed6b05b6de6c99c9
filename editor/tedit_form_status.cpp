// The status line: line and column of the caret as displayed (a wrapped paragraph counts
// as several lines), and the refresh after every change of the text.
#include <QFontMetrics>
#include <QLabel>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>

#include "editor/tedit_form.h"

namespace editor {

namespace {

// Line and column (both from 0) of `position`. The block's first line number is kept by the
// document's layout in its block tree, so this costs no more than one block's lines,
// whatever the length of the text. A block not laid out yet counts as one line.
std::pair<int, int> LineAndColumn(const QTextDocument& document, int position) {
    const QTextBlock block = document.findBlock(position);
    if (!block.isValid()) return {0, 0};
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

void TEditForm::UpdateCursorPos() {
    const auto [line, column] =
        LineAndColumn(*editor_->document(), editor_->textCursor().position());
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
