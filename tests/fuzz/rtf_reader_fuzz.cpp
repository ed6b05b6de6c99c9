// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: our RTF reader on any bytes, and our writer on whatever it read. Reading
// must never crash, hang or touch memory it does not own, and the text read must come back
// unchanged after writing it and reading it again.
#include <QGuiApplication>
#include <QTextDocument>

#include <cstddef>
#include <cstdint>

#include "editor/formats/rtf_reader.h"
#include "editor/formats/rtf_writer.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    // The reader empties a document before it reads; two serve every input.
    static QTextDocument document;
    static QTextDocument again;
    editor::ReadRtf(bytes, document);
    editor::ReadRtf(editor::WriteRtf(document), again);
    // The writer leaves out embedded objects other than pictures; nothing else may change.
    QString text = document.toRawText();
    text.remove(QChar::ObjectReplacementCharacter);
    QString textAgain = again.toRawText();
    textAgain.remove(QChar::ObjectReplacementCharacter);
    if (textAgain != text) __builtin_trap();
    return 0;
}
