// SPDX-License-Identifier: GPL-3.0-or-later
// Our RTF writer: a font table and a colour table of what the text uses, then one \pard
// paragraph after the other, each character format written as the changes from the last.
#include "editor/formats/rtf_writer.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>

#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

#include "editor/formats/rtf_character_forms.h"
#include "editor/formats/rtf_charsets.h"
#include "editor/formats/rtf_fields.h"
#include "editor/formats/rtf_paragraph_format.h"
#include "editor/formats/rtf_pictures.h"
#include "editor/formats/rtf_properties.h"
#include "editor/formats/rtf_kept.h"
#include "platform/cp1252.h"

namespace editor {

namespace {

// The character format of a fragment as the writer needs it, completed from the document's
// default font.
struct RunFormat {
    int font = 0;
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int foreground = 0;  // colour table index, 0 = automatic
    int background = 0;  // 0 = none
    QByteArray forms;    // superscript, small capitals, underline kinds ...: in a group
    QString link;        // the target of a hyperlink
    bool picture = false;
    bool hidden = false;
    bool field = false;  // a kept field (writeField)
    // Tracked changes: author (an index into the \revtbl, -1 = none) and packed time.
    int insertAuthor = -1;
    int insertTime = 0;
    int deleteAuthor = -1;
    int deleteTime = 0;

    bool inGroup() const {
        return background != 0 || !forms.isEmpty() || hidden || insertAuthor >= 0 ||
               deleteAuthor >= 0;
    }
};

// The point size Qt shows: HTML's size steps (<h1>, <small>) scale the document's font as
// Qt's own layout does, and a size in pixels is taken at 96 dpi.
qreal ShownPoints(const QTextCharFormat& format, const QFont& font, const QFont& defaultFont) {
    if (format.hasProperty(QTextFormat::FontSizeAdjustment)) {
        static constexpr qreal kSteps[7] = {0.7, 0.8, 1.0, 1.2, 1.5, 2.0, 2.4};
        const int step = std::clamp(format.intProperty(QTextFormat::FontSizeAdjustment) + 2, 0, 6);
        if (defaultFont.pointSizeF() > 0) return kSteps[step] * defaultFont.pointSizeF();
        if (defaultFont.pixelSize() > 0) return kSteps[step] * defaultFont.pixelSize() * 0.75;
    }
    if (font.pointSizeF() > 0) return font.pointSizeF();
    if (font.pixelSize() > 0) return font.pixelSize() * 0.75;
    return 12.0;
}

class RtfWriter {
public:
    explicit RtfWriter(const QTextDocument& document);
    QByteArray write();

private:
    int fontIndex(const QString& family, int charset);
    int colourIndex(const QBrush& brush);
    RunFormat runFormat(const QTextCharFormat& format);
    const RunFormat& runFormat(const QTextFragment& fragment);
    void collectTables();
    void writeTables();
    void writeParagraph(const QTextBlock& block);
    // A kept field from `it` on, over the fragments that show it; `it` ends on the last.
    void writeField(QTextBlock::iterator& it);
    int authorIndex(const QString& author);
    void writeFormatChange(const RunFormat& format);
    void writeRun(const QTextFragment& fragment, const RunFormat& format);
    void openLink(const QString& target);
    void closeLink();
    // In a font name a ";" would end the name; there it goes as \'3b. In a font of another
    // character set than Windows-1252, \'hh would be read in that one: all goes as \uN.
    void writeText(QStringView text, bool fontName = false, bool unicodeOnly = false);
    // Whether the font was declared with a character set of its own: its text is read in
    // that set, so everything beyond ASCII goes as \uN.
    bool inCharset(int font) const {
        return static_cast<std::size_t>(font) < charsets_.size() && charsets_[font] != 0;
    }
    void word(const char* name, int parameter);
    void word(const char* name);

    const QTextDocument& document_;
    const QFont defaultFont_;
    QStringList fonts_;
    std::vector<int> declared_;  // the \fcharset each font was read with, 0 for none
    std::vector<int> charsets_;  // of each font, found when the table is written
    std::vector<QColor> colours_;
    QStringList authors_{QStringLiteral("Unknown")};  // as LibreOffice begins it
    bool revisions_ = false;
    std::unordered_map<int, RunFormat> runFormats_;  // by the document's format index
    RunFormat written_;
    QString openLink_;  // the link whose field is open
    RunFormat outsideLink_;
    QByteArray out_;
};

RtfWriter::RtfWriter(const QTextDocument& document)
    : document_(document), defaultFont_(document.defaultFont()) {
    fonts_ << defaultFont_.family();
    declared_.push_back(0);
}

QByteArray RtfWriter::write() {
    collectTables();
    out_.reserve(document_.characterCount() * 2 + 1024);
    out_ += "{\\rtf1\\ansi\\ansicpg1252\\deff0";
    writeTables();
    out_ += "\\uc1\r\n";
    for (QTextBlock block = document_.begin(); block.isValid(); block = block.next()) {
        writeParagraph(block);
    }
    out_ += "}\r\n";
    return out_;
}

int RtfWriter::fontIndex(const QString& family, int charset) {
    const qsizetype index = fonts_.indexOf(family);
    if (index >= 0) return static_cast<int>(index);
    fonts_ << family;
    declared_.push_back(charset);
    return static_cast<int>(fonts_.size() - 1);
}

// Index 0 of the colour table is the empty entry: automatic colour, no highlight.
int RtfWriter::colourIndex(const QBrush& brush) {
    if (brush.style() == Qt::NoBrush) return 0;
    const QColor colour = brush.color().toRgb();
    for (std::size_t i = 0; i < colours_.size(); ++i) {
        if (colours_[i].rgb() == colour.rgb()) return static_cast<int>(i + 1);
    }
    colours_.push_back(colour);
    return static_cast<int>(colours_.size());
}

int RtfWriter::authorIndex(const QString& author) {
    revisions_ = true;
    const qsizetype index = authors_.indexOf(author);
    if (index >= 0) return static_cast<int>(index);
    authors_ << author;
    return static_cast<int>(authors_.size() - 1);
}

RunFormat RtfWriter::runFormat(const QTextCharFormat& shown) {
    const QTextCharFormat format = OwnFormat(shown);
    const QFont font = format.font().resolve(defaultFont_);
    RunFormat run;
    const QStringList families = font.families();
    run.font = fontIndex(families.isEmpty() ? font.family() : families.first(),
                         format.intProperty(rtf_property::kFontCharset));
    run.halfPoints = qRound(ShownPoints(format, font, defaultFont_) * 2);
    run.bold = font.weight() > QFont::Medium;
    run.italic = font.italic();
    run.forms = CharacterFormWords(format);
    // Underline kinds and double strike-through are among the forms.
    run.underline = format.fontUnderline() && !format.hasProperty(rtf_property::kUnderlineWord);
    run.strike = font.strikeOut() && !format.boolProperty(rtf_property::kDoubleStrike);
    run.foreground = colourIndex(format.foreground());
    run.background = colourIndex(format.background());
    if (format.isAnchor()) run.link = format.anchorHref();
    run.picture = format.isImageFormat();
    run.hidden = format.hasProperty(kept::Hidden);
    run.field = format.hasProperty(kept::FieldId);
    if (format.hasProperty(kept::InsertAuthor)) {
        run.insertAuthor = authorIndex(format.stringProperty(kept::InsertAuthor));
        run.insertTime = format.intProperty(kept::InsertTime);
    }
    if (format.hasProperty(kept::DeleteAuthor)) {
        run.deleteAuthor = authorIndex(format.stringProperty(kept::DeleteAuthor));
        run.deleteTime = format.intProperty(kept::DeleteTime);
    }
    return run;
}

// A document has few distinct formats; each is worked out once.
const RunFormat& RtfWriter::runFormat(const QTextFragment& fragment) {
    const int index = fragment.charFormatIndex();
    auto found = runFormats_.find(index);
    if (found == runFormats_.end()) {
        found = runFormats_.emplace(index, runFormat(fragment.charFormat())).first;
    }
    return found->second;
}

// One pass before writing, so that both tables stand in the header.
void RtfWriter::collectTables() {
    for (QTextBlock block = document_.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) runFormat(it.fragment());
    }
}

void RtfWriter::writeTables() {
    out_ += "{\\fonttbl";
    for (qsizetype i = 0; i < fonts_.size(); ++i) {
        const bool cp1252 = std::all_of(fonts_[i].begin(), fonts_[i].end(), [](QChar ch) {
            return ch.unicode() < 0x80 || platform::CodePointToCp1252(ch.unicode()).has_value();
        });
        const auto [charset, bytes] = cp1252 ? std::pair<int, QByteArray>{} : EncodeInCharset(fonts_[i], declared_[i]);
        charsets_.push_back(charset);
        out_ += "{\\f" + QByteArray::number(i) + "\\fnil\\fcharset" + QByteArray::number(charset) + ' ';
        if (charset == 0) {
            writeText(fonts_[i], true);
        } else {
            out_ += bytes;
        }
        out_ += ";}";
    }
    out_ += "}\r\n{\\colortbl ;";
    for (const QColor& colour : colours_) {
        out_ += "\\red" + QByteArray::number(colour.red());
        out_ += "\\green" + QByteArray::number(colour.green());
        out_ += "\\blue" + QByteArray::number(colour.blue()) + ';';
    }
    out_ += "}\r\n";
    if (revisions_) {
        out_ += "{\\*\\revtbl ";
        for (const QString& author : authors_) {
            out_ += '{';
            writeText(author, true);
            out_ += ";}";
        }
        out_ += "}\r\n";
    }
}

void RtfWriter::writeParagraph(const QTextBlock& block) {
    out_ += "\\pard";
    AppendParagraphWords(block.blockFormat(), out_);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const RunFormat& format = runFormat(fragment);
        if (format.link != openLink_) {
            closeLink();
            if (!format.link.isEmpty()) openLink(format.link);
        }
        if (format.field) {
            writeField(it);
            continue;
        }
        if (!format.inGroup()) {
            writeFormatChange(format);
            writeRun(fragment, format);
            continue;
        }
        // A highlight ends with its group: AbiWord takes \highlight0 for black. The other
        // forms, hidden text and tracked changes go the same way, so that nothing needs to
        // be switched off (LibreOffice takes \revised0 for another insertion).
        const RunFormat outside = written_;
        out_ += '{';
        writeFormatChange(format);
        writeRun(fragment, format);
        out_ += '}';
        written_ = outside;
    }
    closeLink();
    out_ += "\\par\r\n";
}

void RtfWriter::writeRun(const QTextFragment& fragment, const RunFormat& format) {
    if (!format.picture) {
        writeText(fragment.text(), false, inCharset(format.font));
        return;
    }
    const QTextImageFormat image = fragment.charFormat().toImageFormat();
    for (qsizetype i = 0; i < fragment.length(); ++i) out_ += PictureGroup(document_, image);
}

// A link is a HYPERLINK field with its text as the field's result.
void RtfWriter::openLink(const QString& target) {
    out_ += "{\\field{\\*\\fldinst{";
    writeText(HyperlinkInstruction(target), false, inCharset(written_.font));
    out_ += "}}{\\fldrslt{";
    outsideLink_ = written_;
    openLink_ = target;
}

void RtfWriter::closeLink() {
    if (openLink_.isEmpty()) return;
    out_ += "}}}";
    written_ = outsideLink_;
    openLink_.clear();
}

// The instruction as it was read, the text shown in place of a ruby's base, and an empty
// result that word processors fill in again.
void RtfWriter::writeField(QTextBlock::iterator& it) {
    const QTextFragment firstFragment = it.fragment();
    const QTextCharFormat first = firstFragment.charFormat();
    const int id = first.intProperty(kept::FieldId);
    QString text;
    for (;;) {
        text += it.fragment().text();
        auto next = it;
        ++next;
        if (next.atEnd() || !next.fragment().charFormat().hasProperty(kept::FieldId) ||
            next.fragment().charFormat().intProperty(kept::FieldId) != id) {
            break;
        }
        it = next;
    }
    // A field that shows nothing has only its mark; text that took its format (typed, or a
    // list's number) stays where it stands, before or after the field.
    const bool showsNothing = first.stringProperty(kept::FieldAfter).isEmpty();
    const qsizetype mark = showsNothing ? std::max<qsizetype>(text.indexOf(QChar(kFieldMark)), 0) : 0;
    QString before = text.left(mark);
    QString after = text.mid(mark);
    before.remove(QChar(kFieldMark));
    after.remove(QChar(kFieldMark));
    const RunFormat outside = written_;
    out_ += '{';
    writeFormatChange(runFormat(firstFragment));
    const bool unicodeOnly = inCharset(written_.font);
    writeText(before, false, unicodeOnly);
    out_ += "{\\field{\\*\\fldinst ";
    writeText(first.stringProperty(kept::FieldBefore), false, unicodeOnly);
    if (!showsNothing) writeText(after, false, unicodeOnly);
    writeText(first.stringProperty(kept::FieldAfter), false, unicodeOnly);
    out_ += "}{\\fldrslt }}";
    if (showsNothing) writeText(after, false, unicodeOnly);
    out_ += '}';
    written_ = outside;
}

void RtfWriter::writeFormatChange(const RunFormat& format) {
    const auto size = out_.size();
    if (format.font != written_.font) word("f", format.font);
    if (format.halfPoints != written_.halfPoints) word("fs", format.halfPoints);
    if (format.bold != written_.bold) word(format.bold ? "b" : "b0");
    if (format.italic != written_.italic) word(format.italic ? "i" : "i0");
    if (format.underline != written_.underline) word(format.underline ? "ul" : "ulnone");
    if (format.strike != written_.strike) word(format.strike ? "strike" : "strike0");
    if (format.foreground != written_.foreground) word("cf", format.foreground);
    if (format.background != written_.background) word("highlight", format.background);
    out_ += format.forms;  // only ever in a group of its own
    if (format.hidden) word("v");
    if (format.insertAuthor >= 0) {
        word("revised");
        word("revauth", format.insertAuthor);
        word("revdttm", format.insertTime);
    }
    if (format.deleteAuthor >= 0) {
        word("deleted");
        word("revauthdel", format.deleteAuthor);
        word("revdttmdel", format.deleteTime);
    }
    if (out_.size() != size) out_ += ' ';  // ends the last control word
    written_ = format;
}

void RtfWriter::word(const char* name, int parameter) {
    out_ += '\\';
    out_ += name;
    out_ += QByteArray::number(parameter);
}

void RtfWriter::word(const char* name) {
    out_ += '\\';
    out_ += name;
}

void RtfWriter::writeText(QStringView text, bool fontName, bool unicodeOnly) {
    static constexpr char kHex[] = "0123456789abcdef";
    for (const QChar ch : text) {
        const char16_t unit = ch.unicode();
        // In another character set the backslash, the tilde and DEL may be other characters
        // (Shift-JIS: yen, overline).
        const bool plain = !unicodeOnly || (unit != u'\\' && unit != u'~' && unit != 0x7F);
        if (!plain) {
            out_ += "\\u" + QByteArray::number(static_cast<std::int16_t>(unit)) + "\\'3f";
        } else if (unit == u'\\' || unit == u'{' || unit == u'}') {
            out_ += '\\';
            out_ += static_cast<char>(unit);
        } else if (unit == u';' && fontName) {
            out_ += "\\'3b";
        } else if (unit == u'\t') {
            out_ += "\\tab ";
        } else if (unit == QChar::LineSeparator) {
            out_ += "\\line ";
        } else if (unit >= 0x20 && unit < 0x80) {
            out_ += static_cast<char>(unit);
        } else if (const auto byte = platform::CodePointToCp1252(unit); byte && unit >= 0x80 && !unicodeOnly) {
            const auto b = static_cast<unsigned char>(*byte);
            out_ += "\\'";
            out_ += kHex[b >> 4];
            out_ += kHex[b & 0x0F];
        } else if (unit == 0xFDD0 || unit == 0xFDD1 || unit == QChar::ObjectReplacementCharacter) {
            continue;  // frame markers and embedded objects are no text
        } else {
            // Signed 16 bits, a surrogate pair as two of them; "?" is the fallback, written
            // as \'3f: some readers (pandoc's) take a blank after a plain "?" for part of
            // the control word and drop it.
            out_ += "\\u" + QByteArray::number(static_cast<std::int16_t>(unit)) + "\\'3f";
        }
    }
}

}  // namespace

QByteArray WriteRtf(const QTextDocument& document) { return RtfWriter(document).write(); }

}  // namespace editor
