// SPDX-License-Identifier: GPL-3.0-or-later
// Plain-text notes files: encoding and line-end detection, decoding and encoding.
#include "editor/formats/plain_text_format.h"

#include <QTextDocument>

#include "platform/cp1252.h"

namespace editor {

namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";

bool HasBom(const QByteArray& bytes) { return bytes.startsWith(kBom); }

bool HasNonAscii(QByteArrayView bytes) {
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) return true;
    }
    return false;
}

// Strict: overlong forms, surrogates and truncated sequences make the bytes Windows-1252.
bool IsWellFormedUtf8(QByteArrayView bytes) {
    const auto size = static_cast<std::size_t>(bytes.size());
    return platform::IsWellFormedUtf8(std::string_view(bytes.data(), size));
}

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

QString Cp1252ToString(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        const char32_t cp = platform::Cp1252ByteToCodePoint(static_cast<unsigned char>(c));
        *out++ = QChar(static_cast<char16_t>(cp));
    }
    return text;
}

// Every CR LF, lone CR and lone LF becomes one "\n".
QString UnifyLineBreaks(QString text) {
    if (!text.contains(u'\r')) return text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
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

QByteArray ToUtf8(const QString& text, const PlainTextLayout& layout) {
    QByteArray bytes;
    if (layout.encoding == TextEncoding::Utf8WithBom) bytes += kBom;
    if (layout.lineEnd != LineEnd::Lf) {
        QString ends = text;
        ends.replace(QStringLiteral("\n"), QString::fromLatin1(LineEndBytes(layout.lineEnd)));
        return bytes + ends.toUtf8();
    }
    return bytes + text.toUtf8();
}

}  // namespace

PlainTextLayout PlainTextFormat::DetectLayout(const QByteArray& bytes) {
    PlainTextLayout layout;
    layout.lineEnd = FirstLineEnd(bytes);
    // A byte order mark followed by bytes that are not UTF-8 would lose those bytes as
    // UTF-8; read as Windows-1252, every byte survives a save.
    if (HasBom(bytes) && IsWellFormedUtf8(QByteArrayView(bytes).sliced(3))) {
        layout.encoding = TextEncoding::Utf8WithBom;
    } else if (HasNonAscii(bytes) && IsWellFormedUtf8(bytes)) {
        layout.encoding = TextEncoding::Utf8;
    }
    return layout;
}

QString PlainTextFormat::DecodeText(const QByteArray& bytes, const PlainTextLayout& layout) {
    switch (layout.encoding) {
    case TextEncoding::Utf8WithBom: {
        const qsizetype bom = HasBom(bytes) ? 3 : 0;
        return UnifyLineBreaks(QString::fromUtf8(QByteArrayView(bytes).sliced(bom)));
    }
    case TextEncoding::Utf8:
        return UnifyLineBreaks(QString::fromUtf8(bytes));
    case TextEncoding::Cp1252:
        break;
    }
    return UnifyLineBreaks(Cp1252ToString(bytes));
}

QByteArray PlainTextFormat::EncodeText(const QString& text, const PlainTextLayout& layout) {
    if (layout.encoding == TextEncoding::Cp1252) {
        if (auto bytes = ToCp1252(text, layout.lineEnd)) return *bytes;
        return ToUtf8(text, {TextEncoding::Utf8, layout.lineEnd});
    }
    return ToUtf8(text, layout);
}

void PlainTextFormat::read(const QByteArray& bytes, QTextDocument& document) {
    PlainTextLayout layout = DetectLayout(bytes);
    const QString text = DecodeText(bytes, layout);
    layout.lineSeparators = text.contains(QChar::LineSeparator);
    document.setPlainText(text);
    document.setModified(false);
    layout_ = layout;
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
