// SPDX-License-Identifier: GPL-3.0-or-later
// Our RTF reader. It interprets the tokens of RtfTokenizer; a stack holds the state of every
// open group: character format, alignment, destination and \uc count.
#include "editor/formats/rtf_reader.h"

#include <QStringList>
#include <QTextDocument>

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "editor/formats/rtf_character_forms.h"
#include "editor/formats/rtf_charsets.h"
#include "editor/formats/rtf_document_builder.h"
#include "editor/formats/rtf_fields.h"
#include "editor/formats/rtf_lists.h"
#include "editor/formats/rtf_paragraph_format.h"
#include "editor/formats/rtf_pictures.h"
#include "editor/formats/rtf_tokenizer.h"
#include "editor/formats/rtf_unkept.h"

namespace editor {

namespace {

// Real files nest a few dozen groups deep; deeper groups are read as part of their parent.
constexpr std::size_t kMaxDepth = 256;

// Beside the text and the tables: a picture (\pict), the list tables, a field's instruction,
// the groups of a shape that hold no text but may hold its picture or its text (\shp,
// \shpinst, \sp, \shppict), the name of a shape property (\sn), and the names of the
// authors of tracked changes (\revtbl).
enum class Destination {
    Text, FontTable, ColourTable, Skip, Picture, ListTable, FieldInstruction, Shape, ShapeName,
    RevisionTable
};

// Which properties \af, \afs, \ab and \ai set: those of East Asian characters after \dbch;
// after \rtlch those of right-to-left text, which we do not keep.
enum class CharType { Latin, DoubleByte, RightToLeft };

struct GroupState {
    RtfCharFormat format;
    RtfParagraphFormat paragraph;
    Destination destination = Destination::Text;
    int unicodeSkip = 1;  // \ucN: fallback characters after each \uN
    CharType charType = CharType::Latin;
    bool note = false;     // inside a footnote
    bool inTable = false;  // \intbl: paragraphs of a table cell
    bool listText = false;  // inside \listtext or \pntext: the mark of a list paragraph
    bool unknown = false;  // inside a destination we do not know, skipped as \* allows
};

enum class Word {
    Par, Pard, Plain, AlignLeft, AlignRight, AlignCentre, AlignJustify,
    Bold, Italic, Underline, UnderlineNone, Strike, Font, FontSize, Foreground, Background,
    FontTable, ColourTable, Red, Green, Blue, Charset, CodePage,
    Ansi, AnsiCodePage, Pc, Pca, Mac, DefaultFont, UnicodeSkip, Unicode,
    SkipDestination, Character, LatinChars, DoubleByteChars, RightToLeftChars,
    AsianFont, AsianFontSize, AsianBold, AsianItalic, FieldResult, Footnote,
    Cell, Row, InTable, Picture, ListTable, FieldInstruction, Shape, ShapeName, ShapeValue,
    ShapeText, ListText, RowDefinition, CellBoundary, Section, Hidden, Inserted, Deleted,
    InsertAuthor, DeleteAuthor, InsertTime, DeleteTime, Field, RevisionTable,
};

// Destinations we read even when \* marks them as optional.
bool ReadWhenStarred(Word word) {
    return word == Word::FieldResult || word == Word::Footnote || word == Word::FieldInstruction ||
           word == Word::ListTable || word == Word::Shape || word == Word::ShapeText ||
           word == Word::RevisionTable;
}

struct WordAction {
    Word word;
    char16_t character = 0;  // for Word::Character
};

const std::unordered_map<std::string_view, WordAction>& Words() {
    static const std::unordered_map<std::string_view, WordAction> words = {
        {"par", {Word::Par}}, {"sect", {Word::Section}}, {"page", {Word::Par}},
        {"row", {Word::Row}}, {"nestrow", {Word::Row}}, {"cell", {Word::Cell}},
        {"nestcell", {Word::Cell}}, {"intbl", {Word::InTable}}, {"trowd", {Word::RowDefinition}},
        {"cellx", {Word::CellBoundary}},
        {"pard", {Word::Pard}}, {"plain", {Word::Plain}},
        {"ql", {Word::AlignLeft}}, {"qr", {Word::AlignRight}}, {"qc", {Word::AlignCentre}},
        {"qj", {Word::AlignJustify}},
        {"b", {Word::Bold}}, {"i", {Word::Italic}}, {"strike", {Word::Strike}},
        {"ul", {Word::Underline}}, {"ulnone", {Word::UnderlineNone}},
        {"f", {Word::Font}}, {"fs", {Word::FontSize}}, {"cf", {Word::Foreground}},
        {"highlight", {Word::Background}}, {"cb", {Word::Background}},
        {"chcbpat", {Word::Background}},
        {"loch", {Word::LatinChars}}, {"hich", {Word::LatinChars}}, {"ltrch", {Word::LatinChars}},
        {"dbch", {Word::DoubleByteChars}}, {"rtlch", {Word::RightToLeftChars}},
        {"af", {Word::AsianFont}}, {"afs", {Word::AsianFontSize}}, {"ab", {Word::AsianBold}},
        {"ai", {Word::AsianItalic}}, {"fldrslt", {Word::FieldResult}},
        {"footnote", {Word::Footnote}},
        {"v", {Word::Hidden}}, {"revised", {Word::Inserted}}, {"deleted", {Word::Deleted}},
        {"revauth", {Word::InsertAuthor}}, {"revauthdel", {Word::DeleteAuthor}},
        {"revdttm", {Word::InsertTime}}, {"revdttmdel", {Word::DeleteTime}},
        {"field", {Word::Field}}, {"fldinst", {Word::FieldInstruction}},
        {"revtbl", {Word::RevisionTable}},
        {"fonttbl", {Word::FontTable}}, {"colortbl", {Word::ColourTable}},
        {"red", {Word::Red}}, {"green", {Word::Green}}, {"blue", {Word::Blue}},
        {"fcharset", {Word::Charset}}, {"cpg", {Word::CodePage}},
        {"ansi", {Word::Ansi}}, {"ansicpg", {Word::AnsiCodePage}}, {"pc", {Word::Pc}},
        {"pca", {Word::Pca}}, {"mac", {Word::Mac}}, {"deff", {Word::DefaultFont}},
        {"uc", {Word::UnicodeSkip}}, {"u", {Word::Unicode}},
        {"line", {Word::Character, 0x2028}}, {"tab", {Word::Character, u'\t'}},
        {"emdash", {Word::Character, 0x2014}}, {"endash", {Word::Character, 0x2013}},
        {"lquote", {Word::Character, 0x2018}}, {"rquote", {Word::Character, 0x2019}},
        {"ldblquote", {Word::Character, 0x201C}},
        {"rdblquote", {Word::Character, 0x201D}}, {"bullet", {Word::Character, 0x2022}},
        {"emspace", {Word::Character, 0x2003}}, {"enspace", {Word::Character, 0x2002}},
        {"qmspace", {Word::Character, 0x2005}},
        // Destinations that hold no text of the document.
        {"info", {Word::SkipDestination}}, {"stylesheet", {Word::SkipDestination}},
        {"pict", {Word::Picture}}, {"object", {Word::SkipDestination}},
        {"header", {Word::SkipDestination}}, {"headerl", {Word::SkipDestination}},
        {"headerr", {Word::SkipDestination}}, {"headerf", {Word::SkipDestination}},
        {"footer", {Word::SkipDestination}}, {"footerl", {Word::SkipDestination}},
        {"footerr", {Word::SkipDestination}}, {"footerf", {Word::SkipDestination}},
        {"listtable", {Word::ListTable}}, {"listoverridetable", {Word::ListTable}},
        {"fldinst", {Word::FieldInstruction}}, {"listtext", {Word::ListText}},
        {"pntext", {Word::ListText}}, {"shp", {Word::Shape}}, {"shpinst", {Word::Shape}},
        {"shppict", {Word::Shape}}, {"sp", {Word::Shape}}, {"sn", {Word::ShapeName}},
        {"sv", {Word::ShapeValue}}, {"shptxt", {Word::ShapeText}},
        {"annotation", {Word::SkipDestination}}, {"shpgrp", {Word::SkipDestination}},
        {"do", {Word::SkipDestination}}, {"mmath", {Word::SkipDestination}},
        {"rsidtbl", {Word::SkipDestination}}, {"filetbl", {Word::SkipDestination}},
        {"xe", {Word::SkipDestination}}, {"tc", {Word::SkipDestination}},
        {"txe", {Word::SkipDestination}}, {"rxe", {Word::SkipDestination}},
        {"template", {Word::SkipDestination}}, {"private", {Word::SkipDestination}},
        {"nonshppict", {Word::SkipDestination}}, {"shprslt", {Word::SkipDestination}},
        {"pn", {Word::SkipDestination}}, {"latentstyles", {Word::SkipDestination}},
        {"themedata", {Word::SkipDestination}}, {"colorschememapping", {Word::SkipDestination}},
        {"datastore", {Word::SkipDestination}}, {"xmlnstbl", {Word::SkipDestination}},
        {"generator", {Word::SkipDestination}}, {"ftnsep", {Word::SkipDestination}},
        {"ftnsepc", {Word::SkipDestination}}, {"aftnsep", {Word::SkipDestination}},
        {"aftnsepc", {Word::SkipDestination}}, {"bkmkstart", {Word::SkipDestination}},
        {"bkmkend", {Word::SkipDestination}}, {"userprops", {Word::SkipDestination}},
    };
    return words;
}

// Optional destinations of word processors that hold no text of the document: page styles,
// list numbering, document variables, line-break rules, metadata.
bool IsMetadata(std::string_view name) {
    static constexpr std::string_view kNames[] = {
        "pgdsctbl", "pnseclvl", "wgrffmtfilter", "fchars", "lchars", "docvar", "rdf",
        "defpap", "defchp", "listpicture", "password", "protusertbl", "ud", "fldtype",
        "listtag", "panose", "falt", "cs", "ts", "company", "blipuid", "mmathPr",
        "pgptbl", "oldcprops", "oldpprops", "oldsprops", "oldtprops", "pnseclvl", "atnid",
        "atnauthor", "atntime", "atnref", "atndate", "atnparent", "atnicn", "keywords",
        "bkmkstart", "bkmkend", "abicellprops", "abiendcell", "abitableprops", "abiendtable",
    };
    for (const std::string_view known : kNames) {
        if (known == name) return true;
    }
    return false;
}

constexpr QLatin1StringView kUnknownContent("unbekannte Inhalte");

class RtfReader {
public:
    RtfReader(const QByteArray& bytes, QTextDocument& document)
        : bytes_(bytes), builder_(document) {}

    void read();
    // The kinds of content skipped that the document showed, each once.
    QStringList unkept() const { return unkept_; }

private:
    GroupState& state() { return stack_.back(); }
    const GroupState& state() const { return stack_.back(); }

    void openGroup();
    void closeGroup();
    void controlSymbol(char symbol);
    void hexByte(const RtfToken& token);
    void binary(std::string_view data);
    void controlWord(std::string_view name, bool hasParameter, int parameter);
    void applyWord(const WordAction& action, bool hasParameter, int parameter);
    void applyTextWord(const WordAction& action, bool hasParameter, int parameter);
    void applyTableWord(Word word, int parameter);
    void text(std::string_view run);
    void unicodeCharacter(int parameter);
    bool skipFallback();

    void appendText(const QString& text);
    void deliver(const QString& text);
    void settleSurrogate();
    void flushBytes();
    int currentCodePage() const;
    void endFontEntry();
    void endColourEntry();
    void endParagraph();
    void settleTable();
    QString listMarker(const RtfParagraphFormat& paragraph);
    void endDestination(Destination ending);
    void shapeWord(std::string_view name, int parameter);
    void beginDestination(Word word);
    void openField();
    void endShape();
    void closeField();

    const QByteArray& bytes_;
    RtfDocumentBuilder builder_;
    std::vector<GroupState> stack_;
    std::size_t flatDepth_ = 0;  // groups beyond kMaxDepth, read as part of their parent
    bool finished_ = false;

    int documentCodePage_ = 1252;
    int fallbackToSkip_ = 0;
    QByteArray pendingBytes_;  // text bytes not yet decoded, all in one code page
    CodePageDecoder decoder_;
    char16_t highSurrogate_ = 0;
    bool afterStar_ = false;  // the last token was \*
    Destination starredFrom_ = Destination::Text;

    // In a table the end of a cell's last paragraph waits: the \cell after it makes it a
    // tab, and the tab after a row's last cell is dropped.
    bool pendingPar_ = false;
    RtfParagraphFormat pendingParagraph_;
    int pendingCells_ = 0;
    RtfTableRow row_;

    RtfPictureReader picture_;
    std::size_t pictureMemory_ = 0;  // what the pictures read so far take decoded
    RtfListTable lists_;
    QString fieldInstruction_;
    QString shapeName_;  // of the shape property being read
    int shapeLeft_ = 0, shapeTop_ = 0, shapeRight_ = 0, shapeBottom_ = 0;  // twips

    // The font or colour table entry being read.
    int fontIndex_ = 0;
    RtfFont font_;
    int fontCodePage_ = 0;  // \cpg, which wins over \fcharset
    bool fontOpen_ = false;
    int red_ = -1, green_ = -1, blue_ = -1;

    // The fields open around the text; a field's result is any text in its group outside
    // its instruction. A field ends with the group that holds \field.
    struct OpenField {
        std::size_t depth = 0;
        QString instruction;
        bool shown = false;  // its result holds text
    };
    std::vector<OpenField> fields_;
    QString author_;  // the \revtbl entry being read
    // The last paragraph end has no text after it yet: a \sect here ends no paragraph.
    bool atParagraphStart_ = true;
    // Text and pictures put into the document so far; a shape that added none is lost.
    std::size_t shown_ = 0;
    std::size_t shapeStart_ = 0;
    QStringList unkept_;
};

void RtfReader::read() {
    // Nothing before the first group is part of the document.
    const qsizetype first = bytes_.indexOf('{');
    if (first < 0) {
        builder_.finish(RtfParagraphFormat{});
        return;
    }
    RtfTokenizer tokens(std::string_view(bytes_.constData() + first,
                                         static_cast<std::size_t>(bytes_.size() - first)));
    while (!finished_) {
        const RtfToken token = tokens.next();
        switch (token.kind) {
        case RtfTokenKind::End: finished_ = true; break;
        case RtfTokenKind::GroupOpen: openGroup(); break;
        case RtfTokenKind::GroupClose: closeGroup(); break;
        case RtfTokenKind::ControlWord:
            controlWord(token.text, token.hasParameter, token.parameter);
            break;
        case RtfTokenKind::ControlSymbol: controlSymbol(token.symbol); break;
        case RtfTokenKind::HexByte: hexByte(token); break;
        case RtfTokenKind::Binary: binary(token.text); break;
        case RtfTokenKind::Text: text(token.text); break;
        }
    }
    flushBytes();
    settleSurrogate();
    if (pendingPar_) builder_.endParagraph(pendingParagraph_);
    builder_.collectMarker(false);
    builder_.finish(state().paragraph, listMarker(state().paragraph));
}

void RtfReader::openGroup() {
    flushBytes();
    fallbackToSkip_ = 0;
    afterStar_ = false;
    if (stack_.empty()) {
        stack_.emplace_back();
    } else if (stack_.size() >= kMaxDepth) {
        ++flatDepth_;
    } else {
        const GroupState parent = state();
        stack_.push_back(parent);
        // The groups inside a picture are its properties, not its data.
        if (parent.destination == Destination::Picture) state().destination = Destination::Skip;
        if (parent.destination == Destination::ListTable) lists_.openGroup();
    }
}

void RtfReader::closeGroup() {
    if (stack_.empty()) return;
    flushBytes();
    fallbackToSkip_ = 0;
    afterStar_ = false;
    if (flatDepth_ > 0) {
        --flatDepth_;
        return;
    }
    if (stack_.size() == 1) {
        finished_ = true;  // the end of the document; anything after it is not RTF
        return;
    }
    const Destination ending = state().destination;
    const bool noteEnds = state().note;
    const bool fieldEnds = !fields_.empty() && fields_.back().depth == stack_.size();
    stack_.pop_back();
    if (fieldEnds) closeField();
    if (ending == Destination::FontTable && fontOpen_) endFontEntry();
    if (ending == Destination::Shape && state().destination == Destination::Text) {
        endShape();
    } else if (ending != state().destination) {
        endDestination(ending);
    } else if (ending == Destination::ListTable) {
        lists_.closeGroup();
    }
    if (noteEnds && !state().note) {
        settleSurrogate();
        builder_.endNote();
    }
}

void RtfReader::controlSymbol(char symbol) {
    afterStar_ = false;
    flushBytes();
    if (skipFallback()) return;
    switch (symbol) {
    case '*':
        // An optional destination: skipped unless the next word names one we read. Inside
        // the list tables every one is read (Cocoa's \levelmarker among them).
        if (state().destination == Destination::ListTable) break;
        afterStar_ = true;
        starredFrom_ = state().destination;
        state().destination = Destination::Skip;
        break;
    case '~': appendText(QString(QChar(0x00A0))); break;
    case '-': appendText(QString(QChar(0x00AD))); break;
    case '_': appendText(QString(QChar(0x2011))); break;
    case '\r':
    case '\n': endParagraph(); break;
    default: break;
    }
}

void RtfReader::hexByte(const RtfToken& token) {
    afterStar_ = false;
    if (!token.hasParameter) return;  // a damaged \'hh is dropped
    if (skipFallback()) return;
    switch (state().destination) {
    case Destination::Text:
    case Destination::FontTable:
    case Destination::FieldInstruction:
    case Destination::RevisionTable:
    case Destination::ShapeName: pendingBytes_ += static_cast<char>(token.parameter); break;
    case Destination::ListTable:
        flushBytes();
        lists_.byte(token.parameter);
        break;
    default: break;
    }
}

// Binary data is never text; the whole block is one fallback character.
void RtfReader::binary(std::string_view data) {
    flushBytes();
    afterStar_ = false;
    if (skipFallback()) return;
    if (state().destination == Destination::Picture) {
        picture_.appendBinary(QByteArrayView(data.data(), static_cast<qsizetype>(data.size())));
    }
}

void RtfReader::controlWord(std::string_view name, bool hasParameter, int parameter) {
    flushBytes();
    const bool starred = std::exchange(afterStar_, false);
    if (skipFallback()) return;
    const Destination destination = state().destination;
    if (destination == Destination::Picture) {
        picture_.word(name, hasParameter, parameter);
        return;
    }
    if (destination == Destination::ListTable && name != "u" && name != "uc") {
        lists_.word(name, hasParameter, parameter);
        return;
    }
    const auto& words = Words();
    const auto found = words.find(name);
    if (found == words.end()) {
        if (starred && starredFrom_ == Destination::Text && !IsMetadata(name)) {
            state().unknown = true;
        }
        if (destination == Destination::Shape) shapeWord(name, parameter);
        if (destination != Destination::Text) return;
        if (!ApplyParagraphWord(name, hasParameter, parameter, state().paragraph)) {
            ApplyCharacterFormWord(name, hasParameter, parameter, state().format);
        }
        return;
    }
    if (starred && ReadWhenStarred(found->second.word)) state().destination = starredFrom_;
    if (found->second.word == Word::SkipDestination &&
        (starred ? starredFrom_ : state().destination) == Destination::Text) {
        const QString kind = UnkeptKind(name);
        if (!kind.isEmpty() && !unkept_.contains(kind)) unkept_ << kind;
        // A field whose result is a drawing has a result, though not one we keep.
        if (!kind.isEmpty() && !fields_.empty()) fields_.back().shown = true;
    }
    applyWord(found->second, hasParameter, parameter);
}

void RtfReader::applyWord(const WordAction& action, bool hasParameter, int parameter) {
    GroupState& group = state();
    if (group.destination == Destination::Skip) return;
    switch (action.word) {
    case Word::FontTable:
        group.destination = Destination::FontTable;
        return;
    case Word::ColourTable:
        group.destination = Destination::ColourTable;
        red_ = green_ = blue_ = -1;
        return;
    case Word::SkipDestination: group.destination = Destination::Skip; return;
    case Word::RevisionTable:
        group.destination = Destination::RevisionTable;
        author_.clear();
        return;
    case Word::Field:
        if (group.destination == Destination::Text && flatDepth_ == 0) openField();
        return;
    case Word::Ansi: documentCodePage_ = 1252; return;
    case Word::AnsiCodePage:
        if (parameter > 0) documentCodePage_ = parameter;
        return;
    case Word::Pc: documentCodePage_ = 437; return;
    case Word::Pca: documentCodePage_ = 850; return;
    case Word::Mac: documentCodePage_ = 10000; return;
    case Word::DefaultFont: builder_.setDefaultFont(parameter); return;
    case Word::UnicodeSkip: group.unicodeSkip = std::clamp(parameter, 0, 1000); return;
    case Word::Unicode: unicodeCharacter(parameter); return;
    case Word::Footnote:
        if (group.destination == Destination::Text && !group.note) {
            settleSurrogate();
            settleTable();
            group.note = true;
            builder_.beginNote(group.format);
        }
        return;
    case Word::Picture:
    case Word::ListTable:
    case Word::FieldInstruction:
    case Word::Shape:
    case Word::ShapeName:
    case Word::ShapeValue:
    case Word::ShapeText:
        beginDestination(action.word);
        return;
    // \tab, \line and the typographic characters are text wherever text is collected: in a
    // field's instruction a ruby base may hold a tab, and our writer writes it as \tab.
    case Word::Character: appendText(QString(QChar(action.character))); return;
    default: break;
    }
    if (group.destination == Destination::Text) {
        applyTextWord(action, hasParameter, parameter);
    } else {
        applyTableWord(action.word, parameter);
    }
}

void RtfReader::applyTextWord(const WordAction& action, bool hasParameter, int parameter) {
    GroupState& group = state();
    RtfCharFormat& format = group.format;
    const bool on = !hasParameter || parameter != 0;
    switch (action.word) {
    case Word::Par: endParagraph(); break;
    case Word::Section:
        if (!atParagraphStart_) endParagraph();
        break;
    case Word::Hidden: format.kept.hidden = on; break;
    case Word::Inserted: format.kept.inserted = on; break;
    case Word::Deleted: format.kept.deleted = on; break;
    case Word::InsertAuthor: format.kept.insertAuthor = parameter; break;
    case Word::DeleteAuthor: format.kept.deleteAuthor = parameter; break;
    case Word::InsertTime: format.kept.insertTime = parameter; break;
    case Word::DeleteTime: format.kept.deleteTime = parameter; break;
    case Word::Pard:
        group.paragraph = RtfParagraphFormat{};
        group.inTable = false;
        break;
    case Word::Plain: {
        const int link = format.link;  // a field's result stays its link
        format = RtfCharFormat{};
        format.link = link;
        group.charType = CharType::Latin;
        break;
    }
    case Word::AlignLeft: group.paragraph.alignment = Qt::AlignLeft; break;
    case Word::AlignRight: group.paragraph.alignment = Qt::AlignRight; break;
    case Word::AlignCentre: group.paragraph.alignment = Qt::AlignHCenter; break;
    case Word::AlignJustify: group.paragraph.alignment = Qt::AlignJustify; break;
    case Word::Bold: format.bold = on; break;
    case Word::Italic: format.italic = on; break;
    case Word::Underline:
        format.underline = on;
        format.underlineKind = 0;
        break;
    case Word::UnderlineNone:
        format.underline = false;
        format.underlineKind = 0;
        break;
    case Word::ListText: group.listText = true; break;
    case Word::Strike: format.strike = on; break;
    case Word::Font: format.font = std::max(parameter, 0); break;
    case Word::FontSize: format.halfPoints = parameter > 0 ? std::min(parameter, 3276) : 24; break;
    case Word::Foreground: format.foreground = parameter; break;
    case Word::Background: format.background = parameter; break;
    case Word::LatinChars: group.charType = CharType::Latin; break;
    case Word::DoubleByteChars: group.charType = CharType::DoubleByte; break;
    case Word::RightToLeftChars: group.charType = CharType::RightToLeft; break;
    case Word::InTable: group.inTable = true; break;
    case Word::Cell:
        if (group.note) break;
        settleSurrogate();
        pendingPar_ = false;
        ++pendingCells_;
        row_.cellEnds(group.paragraph.alignment);
        break;
    case Word::Row: {
        if (group.note) break;
        settleSurrogate();
        pendingPar_ = false;
        pendingCells_ = 0;
        builder_.collectMarker(false);
        const RtfParagraphFormat paragraph = row_.format(group.paragraph);
        row_.ends();
        builder_.endParagraph(paragraph, listMarker(paragraph), group.format);
        atParagraphStart_ = true;
        break;
    }
    case Word::RowDefinition: row_.define(); break;
    case Word::CellBoundary: row_.cellBoundary(parameter); break;
    default: break;
    }
    if (group.charType != CharType::DoubleByte) return;
    switch (action.word) {
    case Word::AsianFont: format.asianFont = std::max(parameter, 0); break;
    case Word::AsianFontSize:
        format.asianHalfPoints = parameter > 0 ? std::min(parameter, 3276) : 24;
        break;
    case Word::AsianBold: format.asianBold = on ? 1 : 0; break;
    case Word::AsianItalic: format.asianItalic = on ? 1 : 0; break;
    default: break;
    }
}

// Inside the font table: \fN starts an entry, \fcharset and \cpg give its code page. Inside
// the colour table: the components of the entry that the next ";" ends.
void RtfReader::applyTableWord(Word word, int parameter) {
    switch (word) {
    case Word::Font:
        if (state().destination != Destination::FontTable) break;
        if (fontOpen_) endFontEntry();
        fontIndex_ = parameter;
        fontOpen_ = true;
        break;
    case Word::Charset:
        font_.codePage = CodePageOfCharset(parameter);
        font_.charset = parameter;
        break;
    case Word::CodePage: fontCodePage_ = std::max(parameter, 0); break;
    case Word::Red: red_ = std::clamp(parameter, 0, 255); break;
    case Word::Green: green_ = std::clamp(parameter, 0, 255); break;
    case Word::Blue: blue_ = std::clamp(parameter, 0, 255); break;
    default: break;
    }
}

// Each byte of a run counts as one fallback character.
void RtfReader::text(std::string_view run) {
    afterStar_ = false;
    const auto skipped = std::min(run.size(), static_cast<std::size_t>(fallbackToSkip_));
    fallbackToSkip_ -= static_cast<int>(skipped);
    run.remove_prefix(skipped);
    switch (state().destination) {
    case Destination::Text:
    case Destination::ListTable:
    case Destination::FieldInstruction:
    case Destination::ShapeName:
        pendingBytes_.append(run.data(), static_cast<qsizetype>(run.size()));
        break;
    case Destination::RevisionTable:
        // A ";" ends an author's name.
        for (std::size_t end = run.find(';'); end != std::string_view::npos; end = run.find(';')) {
            pendingBytes_.append(run.data(), static_cast<qsizetype>(end));
            run.remove_prefix(end + 1);
            flushBytes();
            builder_.addRevisionAuthor(author_.trimmed());
            author_.clear();
        }
        pendingBytes_.append(run.data(), static_cast<qsizetype>(run.size()));
        break;
    case Destination::Picture: picture_.readHex(run); break;
    case Destination::FontTable:
        // A ";" ends the entry; the name may come in pieces.
        for (std::size_t end = run.find(';'); end != std::string_view::npos; end = run.find(';')) {
            pendingBytes_.append(run.data(), static_cast<qsizetype>(end));
            run.remove_prefix(end + 1);
            flushBytes();
            endFontEntry();
        }
        pendingBytes_.append(run.data(), static_cast<qsizetype>(run.size()));
        break;
    case Destination::ColourTable:
        for (const char byte : run) {
            if (byte == ';') endColourEntry();
        }
        break;
    case Destination::Skip:
        if (state().unknown && !unkept_.contains(kUnknownContent) &&
            run.find_first_not_of(" \t") != std::string_view::npos) {
            unkept_ << QString(kUnknownContent);
        }
        break;
    default: break;
    }
}

// \uN: N is a signed 16-bit number; two of them may form a surrogate pair. The next \ucN
// characters are the fallback for readers without Unicode.
void RtfReader::unicodeCharacter(int parameter) {
    const auto unit = static_cast<char16_t>(static_cast<std::uint16_t>(parameter));
    fallbackToSkip_ = state().unicodeSkip;
    if (QChar::isHighSurrogate(unit)) {
        settleSurrogate();
        highSurrogate_ = unit;
    } else if (QChar::isLowSurrogate(unit) && highSurrogate_ != 0) {
        const char16_t pair[2] = {highSurrogate_, unit};
        highSurrogate_ = 0;
        deliver(QString(reinterpret_cast<const QChar*>(pair), 2));
    } else if (QChar::isLowSurrogate(unit)) {
        appendText(QString(QChar::ReplacementCharacter));
    } else {
        appendText(QString(QChar(unit)));
    }
}

// Group ends stop the skip; everything else inside it counts as one character.
bool RtfReader::skipFallback() {
    if (fallbackToSkip_ == 0) return false;
    --fallbackToSkip_;
    return true;
}

void RtfReader::appendText(const QString& text) {
    settleSurrogate();
    deliver(text);
}

void RtfReader::deliver(const QString& text) {
    switch (state().destination) {
    case Destination::Text:
        if (!state().note) settleTable();
        builder_.collectMarker(state().listText);
        if (!fields_.empty()) fields_.back().shown = true;
        atParagraphStart_ = false;
        ++shown_;
        builder_.appendText(text, state().format);
        break;
    case Destination::FontTable: font_.name += text; break;
    case Destination::ListTable: lists_.text(text); break;
    case Destination::FieldInstruction: fieldInstruction_ += text; break;
    case Destination::ShapeName: shapeName_ += text; break;
    case Destination::RevisionTable: author_ += text; break;
    default: break;
    }
}

// A high surrogate without its low half is no character.
void RtfReader::settleSurrogate() {
    if (highSurrogate_ == 0) return;
    highSurrogate_ = 0;
    deliver(QString(QChar::ReplacementCharacter));
}

void RtfReader::flushBytes() {
    if (pendingBytes_.isEmpty()) return;
    const QString text = decoder_.decode(currentCodePage(), pendingBytes_);
    pendingBytes_.clear();
    appendText(text);
}

// \'hh and text bytes are in the code page of the current font, else of the document.
int RtfReader::currentCodePage() const {
    if (state().destination == Destination::FontTable) {
        if (fontCodePage_ != 0) return fontCodePage_;
        return font_.codePage != 0 ? font_.codePage : documentCodePage_;
    }
    const int index = state().format.font < 0 ? builder_.defaultFont() : state().format.font;
    const RtfFont* font = builder_.font(index);
    if (font == nullptr) font = builder_.font(builder_.defaultFont());  // as the builder does
    if (font != nullptr && font->codePage != 0) return font->codePage;
    return documentCodePage_;
}

void RtfReader::endFontEntry() {
    font_.name = font_.name.trimmed();
    if (fontCodePage_ != 0) font_.codePage = fontCodePage_;
    builder_.setFont(fontIndex_, font_);
    font_ = RtfFont{};
    fontCodePage_ = 0;
    fontOpen_ = false;
}

void RtfReader::endColourEntry() {
    if (red_ < 0 && green_ < 0 && blue_ < 0) {
        builder_.addColour(QColor());  // automatic
    } else {
        builder_.addColour(QColor(std::max(red_, 0), std::max(green_, 0), std::max(blue_, 0)));
    }
    red_ = green_ = blue_ = -1;
}

void RtfReader::endParagraph() {
    if (state().destination != Destination::Text) return;
    settleSurrogate();
    if (state().note) {
        builder_.appendText(QStringLiteral(" "), state().format);
        return;
    }
    if (pendingPar_) builder_.endParagraph(pendingParagraph_);
    pendingPar_ = false;
    pendingCells_ = 0;
    atParagraphStart_ = true;
    if (state().inTable) {
        pendingPar_ = true;
        pendingParagraph_ = state().paragraph;
    } else {
        builder_.collectMarker(false);
        builder_.endParagraph(state().paragraph, listMarker(state().paragraph), state().format);
    }
}

// The number or bullet of a list paragraph from the list table; it counts the paragraph,
// and shows where the file left out the mark (no or a blank \listtext).
QString RtfReader::listMarker(const RtfParagraphFormat& paragraph) {
    return paragraph.list > 0 ? lists_.nextMarker(paragraph.list, paragraph.listLevel) : QString();
}

void RtfReader::beginDestination(Word word) {
    GroupState& group = state();
    const bool text = group.destination == Destination::Text && !group.note;
    const bool shape = group.destination == Destination::Shape;
    switch (word) {
    case Word::Picture:
        if (text || shape) {
            group.destination = Destination::Picture;
            picture_.begin();
        } else {
            group.destination = Destination::Skip;
        }
        break;
    case Word::ListTable: group.destination = Destination::ListTable; break;
    case Word::FieldInstruction:
        group.destination = text ? Destination::FieldInstruction : Destination::Skip;
        fieldInstruction_.clear();
        break;
    case Word::Shape:
        if (text) {
            shapeLeft_ = shapeTop_ = shapeRight_ = shapeBottom_ = 0;
            shapeStart_ = shown_;
        }
        group.destination = text || shape ? Destination::Shape : Destination::Skip;
        break;
    case Word::ShapeName:
        group.destination = shape ? Destination::ShapeName : Destination::Skip;
        shapeName_.clear();
        break;
    case Word::ShapeValue:
        // Of a shape's properties only its picture ("pib") is shown.
        group.destination = shape && shapeName_.trimmed() == QLatin1String("pib") ? Destination::Shape
                                                                                 : Destination::Skip;
        break;
    case Word::ShapeText:
        // A text frame's text stands where the frame stands.
        if (shape) group.destination = Destination::Text;
        break;
    default: break;
    }
}

// The place of a shape; a picture in it without a size of its own takes the shape's.
void RtfReader::shapeWord(std::string_view name, int parameter) {
    if (name == "shpleft") shapeLeft_ = parameter;
    if (name == "shptop") shapeTop_ = parameter;
    if (name == "shpright") shapeRight_ = parameter;
    if (name == "shpbottom") shapeBottom_ = parameter;
}

// The group of a destination ends: a picture goes into the text, a field's instruction
// makes its result a link.
void RtfReader::endDestination(Destination ending) {
    if (ending == Destination::Picture) {
        if (state().destination == Destination::Shape) {
            picture_.setFrame(shapeRight_ - shapeLeft_, shapeBottom_ - shapeTop_);
        }
        const QTextImageFormat picture = picture_.finish(builder_.document(), pictureMemory_);
        picture_.begin();
        settleTable();
        builder_.collectMarker(state().listText);
        builder_.appendPicture(picture, state().format);
        if (!fields_.empty()) fields_.back().shown = true;  // a SHAPE field's picture
        atParagraphStart_ = false;
        ++shown_;
    } else if (ending == Destination::FieldInstruction) {
        if (!fields_.empty()) fields_.back().instruction = fieldInstruction_;
        const QString target = HyperlinkTarget(fieldInstruction_);
        fieldInstruction_.clear();
        if (!target.isEmpty()) state().format.link = builder_.addLink(target);
    }
}

// Text follows: the paragraph end or the cells before it take effect.
void RtfReader::settleTable() {
    if (pendingPar_) {
        pendingPar_ = false;
        builder_.endParagraph(pendingParagraph_);
        row_.split();
    }
    for (; pendingCells_ > 0; --pendingCells_) {
        builder_.appendText(QStringLiteral("\t"), state().format);
    }
}

// A drawing that gave neither a picture nor text (a text in its properties, lines and
// areas) is lost; as a SHAPE field's result it is that field's result all the same.
void RtfReader::endShape() {
    if (shown_ != shapeStart_) return;
    const QString kind = UnkeptKind("shp");
    if (!unkept_.contains(kind)) unkept_ << kind;
    if (!fields_.empty()) fields_.back().shown = true;
}

void RtfReader::openField() {
    // Real files nest fields a few deep; deeper ones are read as text.
    if (fields_.size() >= 16) return;
    settleSurrogate();
    fields_.push_back({stack_.size(), QString(), false});
}

// A field without result shows its ruby base or nothing, and keeps its instruction.
void RtfReader::closeField() {
    flushBytes();
    settleSurrogate();
    OpenField field = std::move(fields_.back());
    fields_.pop_back();
    if (field.shown) {
        if (!fields_.empty()) fields_.back().shown = true;
        return;
    }
    if (field.instruction.trimmed().isEmpty() || state().destination != Destination::Text) return;
    const EmptyField empty = ReadEmptyField(field.instruction);
    RtfCharFormat format = state().format;
    format.kept.field = builder_.addField(empty.field);
    const QString shown = empty.shown.isEmpty() ? QString(QChar(kFieldMark)) : empty.shown;
    if (!state().note) settleTable();
    if (!fields_.empty()) fields_.back().shown = true;
    atParagraphStart_ = false;
    builder_.collectMarker(state().listText);
    builder_.appendText(shown, format);
}

}  // namespace

QStringList ReadRtf(const QByteArray& bytes, QTextDocument& document) {
    RtfReader reader(bytes, document);
    reader.read();
    return reader.unkept();
}

}  // namespace editor
