// SPDX-License-Identifier: GPL-3.0-or-later
// Chooses the format of a notes file from the window's mode and the file's content.
#include "editor/formats/notes_file.h"

namespace editor {

bool NotesFile::read(const QByteArray& bytes, bool plainTextMode, QTextDocument& document) {
    if (!plainTextMode && IsRtf(bytes)) {
        rtf_.read(bytes, document);
        unkept_ = rtf_.unkept();
        // Saved as plain text later (after "RTF -> TXT"), it is a new plain-text file.
        plainText_.setLayout(PlainTextLayout{});
        return true;
    }
    plainText_.read(bytes, document);
    unkept_.clear();
    return false;
}

bool NotesFile::readTaking(std::string&& bytes, bool plainTextMode, QTextDocument& document) {
    const QByteArray view = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    if (!plainTextMode && IsRtf(view)) return read(view, plainTextMode, document);
    PlainTextFormat::Read decoded = PlainTextFormat::Decode(view);
    std::string().swap(bytes);
    plainText_.read(std::move(decoded), document);
    unkept_.clear();
    return false;
}

QByteArray NotesFile::write(const QTextDocument& document, bool plainTextMode) const {
    return plainTextMode ? plainText_.write(document) : rtf_.write(document);
}

}  // namespace editor
