// SPDX-License-Identifier: GPL-3.0-or-later
// Puts the runs and paragraphs the RTF reader finds into a QTextDocument. A paragraph goes
// in once it is complete, as one block in its final alignment, so that no block needs to be
// changed afterwards.
#include "editor/formats/rtf_document_builder.h"

#include <QTextBlockFormat>
#include <QTextDocument>

#include <algorithm>
#include <iterator>

#include "editor/formats/rtf_character_forms.h"
#include "editor/formats/rtf_properties.h"

namespace editor {

namespace {

// Formats kept converted; more distinct formats than this in one file are converted again.
constexpr std::size_t kCachedFormats = 32;

// Han, kana, Hangul, their punctuation and the fullwidth forms, and the symbols East Asian
// text takes from its own fonts (Roman numerals Ⅻ, circled numbers ①, as LibreOffice
// counts them); a low surrogate belongs to the character it ends, a high one is East Asian
// in the planes of the rarer ideographs.
bool IsEastAsian(char16_t unit, bool previous) {
    if (QChar::isLowSurrogate(unit)) return previous;
    return (unit >= 0x1100 && unit <= 0x11FF) || (unit >= 0x2160 && unit <= 0x218F) ||
           (unit >= 0x2460 && unit <= 0x24FF) || (unit >= 0x2E80 && unit <= 0xA4CF) ||
           (unit >= 0xAC00 && unit <= 0xD7AF) || (unit >= 0xD840 && unit <= 0xD8BF) ||
           (unit >= 0xF900 && unit <= 0xFAFF) || (unit >= 0xFE30 && unit <= 0xFE4F) ||
           (unit >= 0xFF00 && unit <= 0xFFEF);
}

}  // namespace

bool RtfDocumentBuilder::BlankMark(const std::vector<Run>& marker) {
    return std::all_of(marker.begin(), marker.end(), [](const Run& run) { return run.text.trimmed().isEmpty(); });
}

RtfCharFormat RtfCharFormat::latin() const {
    RtfCharFormat result = *this;
    result.asianFont = result.asianHalfPoints = result.asianBold = result.asianItalic = -1;
    return result;
}

RtfCharFormat RtfCharFormat::asian() const {
    RtfCharFormat result = latin();
    if (asianFont >= 0) result.font = asianFont;
    if (asianHalfPoints >= 0) result.halfPoints = asianHalfPoints;
    if (asianBold >= 0) result.bold = asianBold != 0;
    if (asianItalic >= 0) result.italic = asianItalic != 0;
    return result;
}

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

void RtfDocumentBuilder::addRevisionAuthor(const QString& name) {
    flushRun();
    authors_ << name;
    charFormats_.clear();
}

int RtfDocumentBuilder::addField(const RtfField& field) {
    fields_.push_back(field);
    return static_cast<int>(fields_.size() - 1);
}

void RtfDocumentBuilder::appendText(const QString& text, const RtfCharFormat& format) {
    if (text.isEmpty()) return;
    if (inNote_) {
        appendNoteText(text, format);
    } else {
        appendScripts(text, format);
    }
}

void RtfDocumentBuilder::appendPicture(const QTextImageFormat& picture, const RtfCharFormat& format) {
    flushRun();
    pictures_.push_back(picture);
    paragraph_.push_back({QString(QChar::ObjectReplacementCharacter), format,
                          static_cast<int>(pictures_.size() - 1)});
}

int RtfDocumentBuilder::addLink(const QString& target) {
    links_.push_back(target);
    return static_cast<int>(links_.size() - 1);
}

void RtfDocumentBuilder::beginNote(const RtfCharFormat& outer) {
    inNote_ = true;
    noteOpened_ = false;
    noteBlank_ = false;
    noteOuter_ = outer;
    // The brackets stand on the line, also where the mark was raised.
    noteOuter_.script = 0;
    noteOuter_.raise = 0;
}

void RtfDocumentBuilder::endNote() {
    if (inNote_ && noteOpened_) appendScripts(QStringLiteral("]"), noteOuter_);
    inNote_ = false;
}

// Nothing is taken back once appended, so that a file cut short gives the beginning of what
// the whole file gives: blanks wait until a word follows them.
void RtfDocumentBuilder::appendNoteText(const QString& text, const RtfCharFormat& format) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].isSpace()) ++begin;
    if (begin == end) {
        noteBlank_ = noteOpened_;
        return;
    }
    while (text[end - 1].isSpace()) --end;
    if (!noteOpened_) {
        appendScripts(QStringLiteral("["), noteOuter_);
        noteOpened_ = true;
    } else if (noteBlank_ || begin > 0) {
        appendScripts(QStringLiteral(" "), format);
    }
    noteBlank_ = end < text.size();
    appendScripts(text.sliced(begin, end - begin), format);
}

void RtfDocumentBuilder::appendScripts(const QString& text, const RtfCharFormat& format) {
    if (!format.hasAsian()) {
        appendRun(text, format);
        return;
    }
    const RtfCharFormat latin = format.latin();
    RtfCharFormat asian = format.asian();
    // LibreOffice names an Asian font its table lacks; such text keeps the other font.
    if (font(asian.font) == nullptr) asian.font = latin.font;
    qsizetype start = 0;
    bool startAsian = IsEastAsian(text[0].unicode(), false);
    for (qsizetype i = 1; i <= text.size(); ++i) {
        const bool asianHere = i < text.size() && IsEastAsian(text[i].unicode(), startAsian);
        if (i < text.size() && asianHere == startAsian) continue;
        appendRun(text.sliced(start, i - start), startAsian ? asian : latin);
        start = i;
        startAsian = asianHere;
    }
}

void RtfDocumentBuilder::appendRun(const QString& text, const RtfCharFormat& format) {
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
    (collecting_ ? marker_ : paragraph_).push_back({std::move(run_), runFormat_});
    run_.clear();
}

void RtfDocumentBuilder::endParagraph(const RtfParagraphFormat& paragraph, const QString& marker,
                                      const RtfCharFormat& markerFormat) {
    flushRun();
    if (!marker.isEmpty() && BlankMark(marker_)) {
        const RtfCharFormat& format = paragraph_.empty() ? markerFormat : paragraph_.front().format;
        marker_.assign(1, Run{marker, format});
    }
    paragraph_.insert(paragraph_.begin(), std::make_move_iterator(marker_.begin()),
                      std::make_move_iterator(marker_.end()));
    marker_.clear();
    const QTextBlockFormat block = ToBlockFormat(paragraph);
    if (firstParagraph_) {
        cursor_.setBlockFormat(block);  // the document's first block exists already
        firstParagraph_ = false;
    } else {
        cursor_.insertBlock(block, QTextCharFormat());
    }
    for (const Run& run : paragraph_) {
        if (run.picture < 0) {
            cursor_.insertText(run.text, charFormat(run.format));
            continue;
        }
        QTextImageFormat picture = charFormat(run.format).toImageFormat();
        picture.merge(pictures_[run.picture]);
        cursor_.insertImage(picture);
    }
    paragraph_.clear();
    pictures_.clear();
}

void RtfDocumentBuilder::finish(const RtfParagraphFormat& paragraph, const QString& marker) {
    flushRun();
    // A list's mark alone is no paragraph yet: its number comes with the text.
    if (!paragraph_.empty() || !BlankMark(marker_)) endParagraph(paragraph, marker);
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
    // A font the table lacks (Word's theme fonts, \f31506) is the default font, as in Word.
    const RtfFont* font = this->font(format.font < 0 ? defaultFont_ : format.font);
    if (font == nullptr) font = this->font(defaultFont_);
    if (font != nullptr && !font->name.isEmpty()) result.setFontFamilies(QStringList{font->name});
    if (font != nullptr && font->charset > 2) result.setProperty(rtf_property::kFontCharset, font->charset);
    result.setFontPointSize(format.halfPoints / 2.0);
    result.setFontWeight(format.bold ? QFont::Bold : QFont::Normal);
    result.setFontItalic(format.italic);
    result.setFontUnderline(format.underline);
    result.setFontStrikeOut(format.strike);
    SetCharacterForms(format, result);
    if (format.link >= 0 && static_cast<std::size_t>(format.link) < links_.size()) {
        result.setAnchor(true);
        result.setAnchorHref(links_[format.link]);
    }
    const auto colour = [this](int index) {
        const bool known = index >= 0 && static_cast<std::size_t>(index) < colours_.size();
        return known ? colours_[index] : QColor();
    };
    if (const QColor fg = colour(format.foreground); fg.isValid()) result.setForeground(fg);
    // The first entry is never a highlight, even where it is a colour (AbiWord's black).
    if (format.background > 0) {
        if (const QColor bg = colour(format.background); bg.isValid()) result.setBackground(bg);
    }
    if (format.kept.any()) {
        const int field = format.kept.field;
        const bool known = field >= 0 && static_cast<std::size_t>(field) < fields_.size();
        ApplyKept(result, format.kept, known ? &fields_[field] : nullptr, field, [this](int author) {
            return author >= 0 && author < authors_.size() ? authors_[author] : QStringLiteral("Unknown");
        });
    }
    return result;
}

}  // namespace editor
