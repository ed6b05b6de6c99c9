// Puts the runs and paragraphs the RTF reader finds into a QTextDocument.
#include "editor/rtf_document_builder.h"

#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextDocument>

namespace editor {

RtfDocumentBuilder::RtfDocumentBuilder(QTextDocument& document) : document_(document) {
    // Without undo records and with one change notice at the end, a long file fills fast.
    document_.setUndoRedoEnabled(false);
    document_.clear();
    cursor_ = QTextCursor(&document_);
    cursor_.beginEditBlock();
}

void RtfDocumentBuilder::appendText(const QString& text, const RtfCharFormat& format) {
    if (text.isEmpty()) return;
    if (!(format == runFormat_)) flushRun();
    startPendingParagraph();
    runFormat_ = format;
    run_ += text;
}

void RtfDocumentBuilder::endParagraph(Qt::Alignment alignment) {
    flushRun();
    startPendingParagraph();
    QTextBlockFormat block = cursor_.blockFormat();
    block.setAlignment(alignment);
    cursor_.setBlockFormat(block);
    paragraphPending_ = true;
}

void RtfDocumentBuilder::finish(Qt::Alignment alignment) {
    flushRun();
    if (!paragraphPending_) {
        QTextBlockFormat block = cursor_.blockFormat();
        block.setAlignment(alignment);
        cursor_.setBlockFormat(block);
    }
    cursor_.endEditBlock();
    document_.setUndoRedoEnabled(true);
    document_.setModified(false);
}

void RtfDocumentBuilder::startPendingParagraph() {
    if (!paragraphPending_) return;
    paragraphPending_ = false;
    cursor_.insertBlock(QTextBlockFormat(), QTextCharFormat());
}

void RtfDocumentBuilder::flushRun() {
    if (run_.isEmpty()) return;
    // Characters QTextCursor would take as paragraph or frame boundaries (from \u10 or
    // \'0d, say) stay line breaks inside the paragraph; the frame markers are dropped.
    for (QChar& ch : run_) {
        if (ch == u'\n' || ch == u'\r' || ch == QChar::ParagraphSeparator) ch = QChar::LineSeparator;
    }
    run_.remove(QChar(0xFDD0));
    run_.remove(QChar(0xFDD1));
    cursor_.insertText(run_, toCharFormat(runFormat_));
    run_.clear();
}

QTextCharFormat RtfDocumentBuilder::toCharFormat(const RtfCharFormat& format) const {
    QTextCharFormat result;
    const auto font = fonts.find(format.font < 0 ? defaultFont : format.font);
    if (font != fonts.end() && !font->second.name.isEmpty()) {
        result.setFontFamilies(QStringList{font->second.name});
    }
    result.setFontPointSize(format.halfPoints / 2.0);
    result.setFontWeight(format.bold ? QFont::Bold : QFont::Normal);
    result.setFontItalic(format.italic);
    result.setFontUnderline(format.underline);
    result.setFontStrikeOut(format.strike);
    const auto colour = [this](int index) {
        return index >= 0 && static_cast<std::size_t>(index) < colours.size() ? colours[index] : QColor();
    };
    if (const QColor fg = colour(format.foreground); fg.isValid()) result.setForeground(fg);
    if (const QColor bg = colour(format.background); bg.isValid()) result.setBackground(bg);
    return result;
}

}  // namespace editor
