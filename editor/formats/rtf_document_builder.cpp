// Puts the runs and paragraphs the RTF reader finds into a QTextDocument. A paragraph goes
// in once it is complete, as one block in its final alignment, so that no block needs to be
// changed afterwards.
#include "editor/formats/rtf_document_builder.h"

#include <QTextBlockFormat>
#include <QTextDocument>

namespace editor {

namespace {

// Formats kept converted; more distinct formats than this in one file are converted again.
constexpr std::size_t kCachedFormats = 32;

}  // namespace

RtfDocumentBuilder::RtfDocumentBuilder(QTextDocument& document) : document_(document) {
    // Without undo records and with one change notice at the end, a long file fills fast.
    document_.setUndoRedoEnabled(false);
    document_.clear();
    cursor_ = QTextCursor(&document_);
    cursor_.beginEditBlock();
}

void RtfDocumentBuilder::setFont(int index, const RtfFont& font) {
    flushRun();
    fonts_[index] = font;
    charFormats_.clear();
}

const RtfFont* RtfDocumentBuilder::font(int index) const {
    const auto found = fonts_.find(index);
    return found == fonts_.end() ? nullptr : &found->second;
}

void RtfDocumentBuilder::addColour(const QColor& colour) {
    flushRun();
    colours_.push_back(colour);
    charFormats_.clear();
}

void RtfDocumentBuilder::setDefaultFont(int index) {
    flushRun();
    defaultFont_ = index;
    charFormats_.clear();
}

void RtfDocumentBuilder::appendText(const QString& text, const RtfCharFormat& format) {
    if (text.isEmpty()) return;
    if (!(format == runFormat_)) flushRun();
    runFormat_ = format;
    run_ += text;
}

void RtfDocumentBuilder::flushRun() {
    if (run_.isEmpty()) return;
    // Characters QTextCursor would take as paragraph or frame boundaries (from \u10 or
    // \'0d, say) stay line breaks inside the paragraph; the frame markers are dropped.
    for (QChar& ch : run_) {
        if (ch == u'\n' || ch == u'\r' || ch == QChar::ParagraphSeparator) {
            ch = QChar::LineSeparator;
        }
    }
    run_.remove(QChar(0xFDD0));
    run_.remove(QChar(0xFDD1));
    paragraph_.emplace_back(std::move(run_), runFormat_);
    run_.clear();
}

void RtfDocumentBuilder::endParagraph(Qt::Alignment alignment) {
    flushRun();
    QTextBlockFormat block;
    block.setAlignment(alignment);
    if (firstParagraph_) {
        cursor_.setBlockFormat(block);  // the document's first block exists already
        firstParagraph_ = false;
    } else {
        cursor_.insertBlock(block, QTextCharFormat());
    }
    for (const auto& [text, format] : paragraph_) cursor_.insertText(text, charFormat(format));
    paragraph_.clear();
}

void RtfDocumentBuilder::finish(Qt::Alignment alignment) {
    flushRun();
    if (!paragraph_.empty()) endParagraph(alignment);
    cursor_.endEditBlock();
    document_.setUndoRedoEnabled(true);
    document_.setModified(false);
}

const QTextCharFormat& RtfDocumentBuilder::charFormat(const RtfCharFormat& format) {
    for (const auto& [rtf, qt] : charFormats_) {
        if (rtf == format) return qt;
    }
    if (charFormats_.size() == kCachedFormats) charFormats_.clear();
    charFormats_.emplace_back(format, toCharFormat(format));
    return charFormats_.back().second;
}

QTextCharFormat RtfDocumentBuilder::toCharFormat(const RtfCharFormat& format) const {
    QTextCharFormat result;
    const RtfFont* font = this->font(format.font < 0 ? defaultFont_ : format.font);
    if (font != nullptr && !font->name.isEmpty()) result.setFontFamilies(QStringList{font->name});
    result.setFontPointSize(format.halfPoints / 2.0);
    result.setFontWeight(format.bold ? QFont::Bold : QFont::Normal);
    result.setFontItalic(format.italic);
    result.setFontUnderline(format.underline);
    result.setFontStrikeOut(format.strike);
    const auto colour = [this](int index) {
        const bool known = index >= 0 && static_cast<std::size_t>(index) < colours_.size();
        return known ? colours_[index] : QColor();
    };
    if (const QColor fg = colour(format.foreground); fg.isValid()) result.setForeground(fg);
    if (const QColor bg = colour(format.background); bg.isValid()) result.setBackground(bg);
    return result;
}

}  // namespace editor
