// SPDX-License-Identifier: GPL-3.0-or-later
// Plain-text notes files: encoding and line-end detection, decoding and encoding.
#include "editor/formats/plain_text_format.h"

#include <QStringEncoder>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <array>
#include <optional>

#include "platform/cp1252.h"

namespace editor {

namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";

bool HasBom(const QByteArray& bytes) { return bytes.startsWith(kBom); }

LineEnd FirstLineEnd(const QByteArray& bytes) {
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') return LineEnd::Lf;
        if (bytes[i] == '\r')
            return i + 1 < bytes.size() && bytes[i + 1] == '\n' ? LineEnd::CrLf : LineEnd::Cr;
    }
    return LineEnd::Lf;
}

const char* LineEndBytes(LineEnd lineEnd) {
    switch (lineEnd) {
    case LineEnd::CrLf: return "\r\n";
    case LineEnd::Cr: return "\r";
    case LineEnd::Lf: break;
    }
    return "\n";
}

struct Decoded {
    QString text;
    bool nonAscii = false;        // a multi-byte sequence
    bool lineSeparators = false;  // U+2028
};

// One pass over a file's bytes: strict UTF-8, decoded while it is checked, every line break
// (CR LF, LF or a lone CR) written as "\n". Nothing at the first byte that is not well-formed
// UTF-8 (overlong forms, surrogates, values past U+10FFFF, a sequence cut off).
std::optional<Decoded> DecodeUtf8(QByteArrayView bytes) {
    Decoded pass;
    pass.text = QString(bytes.size(), Qt::Uninitialized);  // never longer than its bytes
    char16_t* out = reinterpret_cast<char16_t*>(pass.text.data());
    char16_t* const start = out;
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = in + bytes.size();
    while (in < end) {
        const unsigned char b0 = *in++;
        if (b0 < 0x80) {
            if (b0 == '\r') {
                if (in < end && *in == '\n') ++in;
                *out++ = u'\n';
            } else {
                *out++ = b0;
            }
            continue;
        }
        int more;
        char32_t cp;
        char32_t least;
        if (b0 >= 0xC2 && b0 <= 0xDF) {
            more = 1, cp = b0 & 0x1F, least = 0x80;
        } else if (b0 >= 0xE0 && b0 <= 0xEF) {
            more = 2, cp = b0 & 0x0F, least = 0x800;
        } else if (b0 >= 0xF0 && b0 <= 0xF4) {
            more = 3, cp = b0 & 0x07, least = 0x10000;
        } else {
            return std::nullopt;
        }
        if (end - in < more) return std::nullopt;
        for (int i = 0; i < more; ++i) {
            const unsigned char b = *in++;
            if ((b & 0xC0) != 0x80) return std::nullopt;
            cp = (cp << 6) | (b & 0x3F);
        }
        if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
        if (cp >= 0x10000) {
            *out++ = static_cast<char16_t>(0xD7C0 + (cp >> 10));
            *out++ = static_cast<char16_t>(0xDC00 | (cp & 0x3FF));
        } else {
            pass.lineSeparators = pass.lineSeparators || cp == 0x2028;
            *out++ = static_cast<char16_t>(cp);
        }
        pass.nonAscii = true;
    }
    pass.text.truncate(out - start);
    return pass;
}

// The same for Windows-1252, which takes every byte (after a failed UTF-8 pass, a second one).
QString DecodeCp1252(QByteArrayView bytes) {
    static const std::array<char16_t, 256> table = [] {
        std::array<char16_t, 256> t{};
        for (int b = 0; b < 256; ++b)
            t[b] = static_cast<char16_t>(platform::Cp1252ByteToCodePoint(static_cast<unsigned char>(b)));
        return t;
    }();
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    char16_t* const start = out;
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = in + bytes.size();
    while (in < end) {
        const unsigned char b = *in++;
        if (b == '\r') {
            if (in < end && *in == '\n') ++in;
            *out++ = u'\n';
        } else {
            *out++ = table[b];
        }
    }
    text.truncate(out - start);
    return text;
}

// Empty when a character does not fit.
std::optional<QByteArray> ToCp1252(const QString& text, LineEnd lineEnd) {
    QByteArray bytes;
    bytes.reserve(text.size() + text.size() / 16);
    for (const QChar ch : text) {
        if (ch == u'\n') {
            bytes += LineEndBytes(lineEnd);
            continue;
        }
        const auto byte = platform::CodePointToCp1252(ch.unicode());
        if (!byte) return std::nullopt;
        bytes += *byte;
    }
    return bytes;
}

// In one pass, line by line into one array: 60 MB of notes took twice their bytes more at
// the peak when the text with its line ends and its bytes were made one after the other.
QByteArray ToUtf8(const QString& text, const PlainTextLayout& layout) {
    const QByteArrayView lineEnd(LineEndBytes(layout.lineEnd));
    QStringEncoder encoder(QStringEncoder::Utf8);
    const bool bom = layout.encoding == TextEncoding::Utf8WithBom;
    // Room for three bytes a character, also for each line break's two.
    QByteArray bytes(encoder.requiredSpace(text.size()) + (bom ? 3 : 0), Qt::Uninitialized);
    char* out = bytes.data();
    if (bom) out = std::copy_n(kBom, 3, out);
    for (qsizetype from = 0; from < text.size();) {
        qsizetype to = text.indexOf(u'\n', from);
        if (to < 0) to = text.size();
        out = encoder.appendToBuffer(out, QStringView(text).sliced(from, to - from));
        if (to < text.size()) out = std::copy(lineEnd.begin(), lineEnd.end(), out);
        from = to + 1;
    }
    bytes.truncate(out - bytes.constData());
    return bytes;
}

// Replaces the document's content by the text as QTextDocument::setPlainText does, but piece
// by piece from the end, each piece before the ones already in: the text gives up the memory
// of each piece once the document holds it, so that it and the document's copy of it never
// live side by side in full (60 MB of notes: 120 MB less at the peak). A piece begins after
// a line break; a paragraph longer than a piece stays whole.
void TakeText(QString text, QTextDocument& document) {
    constexpr qsizetype Piece = 1 << 18;  // characters
    document.clear();
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    while (!text.isEmpty()) {
        const qsizetype from =
            text.size() <= Piece ? 0 : text.lastIndexOf(u'\n', text.size() - Piece) + 1;
        cursor.setPosition(0);
        cursor.insertText(QString::fromRawData(text.constData() + from, text.size() - from));
        text.truncate(from);
        text.squeeze();
    }
    cursor.endEditBlock();
    document.setUndoRedoEnabled(undo);
}

}  // namespace

// UTF-8 when the bytes start with a byte order mark or hold a multi-byte sequence, and are
// well-formed; else Windows-1252 (ASCII reads the same either way). A byte order mark before
// bytes that are not UTF-8 would lose those bytes as UTF-8: read as Windows-1252, every byte
// survives a save. The line end is that of the first line break (LF when there is none).
PlainTextFormat::Read PlainTextFormat::Decode(const QByteArray& bytes) {
    Read read;
    read.layout.lineEnd = FirstLineEnd(bytes);
    const bool bom = HasBom(bytes);
    if (std::optional<Decoded> utf8 = DecodeUtf8(QByteArrayView(bytes).sliced(bom ? 3 : 0))) {
        if (bom || utf8->nonAscii) {
            read.layout.encoding = bom ? TextEncoding::Utf8WithBom : TextEncoding::Utf8;
            read.layout.lineSeparators = utf8->lineSeparators;
        }
        read.text = std::move(utf8->text);
        return read;
    }
    read.text = DecodeCp1252(bytes);
    return read;
}

QByteArray PlainTextFormat::EncodeText(const QString& text, const PlainTextLayout& layout) {
    if (layout.encoding == TextEncoding::Cp1252) {
        if (auto bytes = ToCp1252(text, layout.lineEnd)) return *bytes;
        return ToUtf8(text, {TextEncoding::Utf8, layout.lineEnd});
    }
    return ToUtf8(text, layout);
}

void PlainTextFormat::read(const QByteArray& bytes, QTextDocument& document) {
    read(Decode(bytes), document);
}

void PlainTextFormat::read(Read decoded, QTextDocument& document) {
    layout_ = decoded.layout;
    TakeText(std::move(decoded.text), document);
    document.setModified(false);
}

QByteArray PlainTextFormat::write(const QTextDocument& document) const {
    return EncodeRawText(document.toRawText(), layout_);
}

QByteArray PlainTextFormat::EncodeRawText(QString text, const PlainTextLayout& layout) {
    // Block separators and line breaks inside a paragraph are both line ends in a file,
    // unless the file held line breaks inside paragraphs; the frame markers of tables are
    // no text.
    text.replace(QChar::ParagraphSeparator, u'\n');
    if (!layout.lineSeparators) text.replace(QChar::LineSeparator, u'\n');
    text.remove(QChar(0xFDD0));
    text.remove(QChar(0xFDD1));
    return EncodeText(text, layout);
}

}  // namespace editor
