// SPDX-License-Identifier: GPL-3.0-or-later
// What a notes text keeps from an RTF file beyond fonts and colours: hidden text, tracked
// changes and fields. Each is a property of the characters' format, so that it survives
// editing around it, and each has a look of its own in the editor: hidden text grey with a
// dotted underline, a deletion struck through and an insertion underlined, both in their
// author's colour. The look is not the text's own format: the writer takes the own one.
#pragma once

#include <QColor>
#include <QString>
#include <QTextCharFormat>

namespace editor {

// The tracked changes and hiddenness of a run as RTF gives them; authors are indices into
// the file's \revtbl.
struct RtfKept {
    bool hidden = false;
    bool inserted = false;
    bool deleted = false;
    int insertAuthor = 0;
    int insertTime = 0;  // \revdttm: the packed date and time
    int deleteAuthor = 0;
    int deleteTime = 0;
    int field = -1;  // the field the run shows, an index into the reader's fields
    bool operator==(const RtfKept&) const = default;
    bool any() const { return hidden || inserted || deleted || field >= 0; }
};

// A field kept with the text: its instruction before and after the text it shows. A field
// that shows nothing stands as one kFieldMark with the whole instruction before it.
struct RtfField {
    QString before;
    QString after;
};

// The character that stands for a field showing nothing: a word joiner, drawn as nothing.
inline constexpr char16_t kFieldMark = 0x2060;

namespace kept {
enum Property {
    Hidden = QTextFormat::UserProperty + 0x4B00,
    InsertAuthor,  // QString; set on inserted text
    InsertTime,
    DeleteAuthor,  // QString; set on deleted text
    DeleteTime,
    FieldBefore,   // QString
    FieldAfter,    // QString
    FieldId,       // tells adjacent fields with the same instruction apart
    OwnForeground, // the text's own colour under the look; absent: automatic
    OwnUnderline,
    OwnStrike,
};
}  // namespace kept

// Sets the properties and the look of `kept` on a format that holds the text's own format.
// `authorName` gives the name of a \revtbl index.
template <typename AuthorName>
void ApplyKept(QTextCharFormat& format, const RtfKept& kept, const RtfField* field, int fieldId,
               AuthorName&& authorName);

// The colour of an author's changes: the same name, the same colour.
QColor AuthorColour(const QString& author);

// Puts the look on a format carrying kept properties, keeping its own colour and lines.
void SetKeptLook(QTextCharFormat& format);

// The text's own format: the look taken off again.
QTextCharFormat OwnFormat(const QTextCharFormat& format);

// Whether a format carries hidden text, a tracked change or a field.
bool HasKept(const QTextCharFormat& format);

// What text typed next to hidden text, a tracked change or a field gets: the text's own
// format without any of them. Typing is neither hidden nor a change by the file's authors.
QTextCharFormat TypingFormat(const QTextCharFormat& format);

// Deleted text is not part of the text for find and replace.
inline bool IsDeleted(const QTextCharFormat& format) {
    return format.hasProperty(kept::DeleteAuthor);
}

template <typename AuthorName>
void ApplyKept(QTextCharFormat& format, const RtfKept& kept, const RtfField* field, int fieldId,
               AuthorName&& authorName) {
    if (kept.hidden) format.setProperty(kept::Hidden, true);
    if (kept.inserted) {
        format.setProperty(kept::InsertAuthor, authorName(kept.insertAuthor));
        format.setProperty(kept::InsertTime, kept.insertTime);
    }
    if (kept.deleted) {
        format.setProperty(kept::DeleteAuthor, authorName(kept.deleteAuthor));
        format.setProperty(kept::DeleteTime, kept.deleteTime);
    }
    if (field != nullptr) {
        format.setProperty(kept::FieldBefore, field->before);
        format.setProperty(kept::FieldAfter, field->after);
        format.setProperty(kept::FieldId, fieldId);
    }
    SetKeptLook(format);
}

}  // namespace editor
