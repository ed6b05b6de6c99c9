// SPDX-License-Identifier: GPL-3.0-or-later
// Plain-text notes files: Windows-1252 or UTF-8, CR LF, LF or CR line ends, kept as read.
#pragma once

#include "editor/formats/notes_format.h"

namespace editor {

enum class TextEncoding { Cp1252, Utf8, Utf8WithBom };
enum class LineEnd { Lf, CrLf, Cr };

// How a plain-text file is laid out in bytes. A new file is Windows-1252 with LF.
struct PlainTextLayout {
    TextEncoding encoding = TextEncoding::Cp1252;
    LineEnd lineEnd = LineEnd::Lf;
    // The file holds U+2028 (a line break inside a paragraph), and so it is written again;
    // elsewhere such a break is a line end like every other.
    bool lineSeparators = false;
    bool operator==(const PlainTextLayout&) const = default;
};

// Reading remembers the layout of the file; writing uses it, so that saving an unchanged
// text gives back the same bytes. A file read as UTF-8 is written as UTF-8 again; any other
// text as Windows-1252 when every character fits, else as UTF-8, so nothing typed is lost.
class PlainTextFormat : public NotesFormat {
public:
    void read(const QByteArray& bytes, QTextDocument& document) override;
    QByteArray write(const QTextDocument& document) const override;

    const PlainTextLayout& layout() const { return layout_; }
    // For a new, empty text: the layout of a new file.
    void setLayout(const PlainTextLayout& layout) { layout_ = layout; }

    // A file's bytes decoded in one pass, and the layout they are read in: UTF-8 when they
    // start with a byte order mark or are well-formed UTF-8 with at least one multi-byte
    // sequence, else Windows-1252; the line end is that of the first line break, CR LF, LF or
    // a lone CR (LF when there is none). Every line break of the text is "\n".
    struct Read {
        QString text;
        PlainTextLayout layout;
    };
    static Read Decode(const QByteArray& bytes);
    // Reads a decoded file; its text's memory goes over to the document piece by piece.
    void read(Read decoded, QTextDocument& document);
    // The bytes of a text whose line breaks are "\n".
    static QByteArray EncodeText(const QString& text, const PlainTextLayout& layout);
    // The bytes of a document's raw text (QTextDocument::toRawText), as write() gives them;
    // needs no document, so that it can run on another thread.
    static QByteArray EncodeRawText(QString raw, const PlainTextLayout& layout);

private:
    PlainTextLayout layout_;
};

}  // namespace editor
