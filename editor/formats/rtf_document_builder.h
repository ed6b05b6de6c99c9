// SPDX-License-Identifier: GPL-3.0-or-later
// The receiving end of the RTF reader: collects the runs of one paragraph (text in one
// character format) and puts each finished paragraph into a QTextDocument.
#pragma once

#include <QColor>
#include <QString>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QStringList>
#include <QTextImageFormat>

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "editor/formats/rtf_kept.h"
#include "editor/formats/rtf_paragraph_format.h"

class QTextDocument;

namespace editor {

// The character properties an RTF group carries, as indices into the font and colour tables.
struct RtfCharFormat {
    int font = -1;  // -1: the default font (\deff)
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int foreground = -1;  // colour table index; -1 or an entry without colour: automatic
    int background = 0;   // colour table index; 0: none, as \highlight0 and \cb0 say
    // The properties of East Asian characters where they differ (\dbch with \af, \afs, \ab
    // and \ai): -1 for "as the others".
    int asianFont = -1;
    int asianHalfPoints = -1;
    int asianBold = -1;
    int asianItalic = -1;
    // The forms of rtf_character_forms.h: 1 superscript, 2 subscript; the raise of \up and
    // \dn in half-points; the underline kind (an index of that file's table, 0 single).
    std::uint8_t script = 0;
    std::int16_t raise = 0;
    std::uint8_t underlineKind = 0;
    bool smallCaps = false;
    bool allCaps = false;
    bool doubleStrike = false;
    int link = -1;  // the target of a hyperlink field, an index of the builder's links
    RtfKept kept;  // hidden, tracked changes, the field shown
    bool operator==(const RtfCharFormat&) const = default;

    bool hasAsian() const {
        return asianFont >= 0 || asianHalfPoints >= 0 || asianBold >= 0 || asianItalic >= 0;
    }
    // The format of the other characters, and of the East Asian ones.
    RtfCharFormat latin() const;
    RtfCharFormat asian() const;
};

struct RtfFont {
    QString name;
    int codePage = 0;  // 0: the document's code page
    int charset = 0;   // \fcharset, kept for the writer
};

class RtfDocumentBuilder {
public:
    // Empties the document; its undo history is off until finish().
    explicit RtfDocumentBuilder(QTextDocument& document);

    // The font and colour tables; an invalid colour is "automatic".
    void setFont(int index, const RtfFont& font);
    const RtfFont* font(int index) const;
    void addColour(const QColor& colour);
    void setDefaultFont(int index);
    // The \revtbl's next author, and a field to show (its index for RtfKept::field).
    void addRevisionAuthor(const QString& name);
    int addField(const RtfField& field);
    int defaultFont() const { return defaultFont_; }
    QTextDocument& document() { return document_; }

    // Text in a format; East Asian characters take its Asian properties.
    void appendText(const QString& text, const RtfCharFormat& format);
    // A picture where it stands, in the character format around it (a link, say).
    void appendPicture(const QTextImageFormat& picture, const RtfCharFormat& format);
    // The target of a hyperlink; its index goes into RtfCharFormat::link.
    int addLink(const QString& target);
    // A footnote stands where its mark stood, as its text in brackets on one line: blanks
    // and paragraph ends inside it become single spaces, an empty one leaves nothing.
    // `outer` is the format of the brackets.
    void beginNote(const RtfCharFormat& outer);
    void endNote();
    // A \par: the paragraph read so far ends, with this layout. `marker` (a list's number or
    // bullet) goes before its text, in the format of its first run or else in `markerFormat`.
    void endParagraph(const RtfParagraphFormat& paragraph, const QString& marker = {},
                      const RtfCharFormat& markerFormat = {});
    // The end of the file. Text after the last \par is a last paragraph with `paragraph`;
    // without such text, the last \par ended the last paragraph.
    void finish(const RtfParagraphFormat& paragraph, const QString& marker = {});
    // While on, text goes into the paragraph's list mark (\listtext), which goes before its
    // text; a blank mark gives way to the marker endParagraph() is given.
    void collectMarker(bool on) {
        if (on == collecting_) return;
        flushRun();
        collecting_ = on;
    }

private:
    void appendNoteText(const QString& text, const RtfCharFormat& format);
    void appendScripts(const QString& text, const RtfCharFormat& format);
    void appendRun(const QString& text, const RtfCharFormat& format);
    void flushRun();
    const QTextCharFormat& charFormat(const RtfCharFormat& format);
    QTextCharFormat toCharFormat(const RtfCharFormat& format) const;

    std::map<int, RtfFont> fonts_;
    std::vector<QColor> colours_;
    int defaultFont_ = 0;
    QStringList authors_;
    std::vector<RtfField> fields_;

    QTextDocument& document_;
    QTextCursor cursor_;
    bool firstParagraph_ = true;
    QString run_;
    RtfCharFormat runFormat_;
    // The runs of the paragraph; a run of one U+FFFC with a picture index is that picture.
    struct Run {
        QString text;
        RtfCharFormat format;
        int picture = -1;
    };
    static bool BlankMark(const std::vector<Run>& marker);
    std::vector<Run> paragraph_;
    std::vector<Run> marker_;
    bool collecting_ = false;
    std::vector<QTextImageFormat> pictures_;  // of the paragraph being read
    std::vector<QString> links_;
    bool inNote_ = false;
    bool noteOpened_ = false;   // its "[" is written
    bool noteBlank_ = false;    // blanks wait for the next word of the note
    RtfCharFormat noteOuter_;
    // Formats converted so far; a file uses few, and converting each run anew costs time.
    std::vector<std::pair<RtfCharFormat, QTextCharFormat>> charFormats_;
};

}  // namespace editor
