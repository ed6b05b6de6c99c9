// SPDX-License-Identifier: GPL-3.0-or-later
// The RTF notes format: the check for RTF content, our reader and our writer.
#include "editor/formats/rtf_format.h"

#include <QTextDocument>

#include "editor/formats/rtf_reader.h"
#include "editor/formats/rtf_writer.h"

namespace editor {

bool IsRtf(const QByteArray& bytes) {
    qsizetype pos = 0;
    while (pos < bytes.size() && (bytes[pos] == ' ' || bytes[pos] == '\t' || bytes[pos] == '\r' ||
                                  bytes[pos] == '\n')) {
        ++pos;
    }
    return QByteArrayView(bytes).sliced(pos).startsWith("{\\rtf");
}

void RtfFormat::read(const QByteArray& bytes, QTextDocument& document) {
    if (!IsRtf(bytes)) throw FormatError("Die Datei enthält keinen RTF-Text.");
    unkept_ = ReadRtf(bytes, document);
}

QByteArray RtfFormat::write(const QTextDocument& document) const { return WriteRtf(document); }

}  // namespace editor
