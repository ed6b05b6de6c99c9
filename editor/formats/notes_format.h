// SPDX-License-Identifier: GPL-3.0-or-later
// The one interface through which the notes window reads and writes its files: a format
// turns a file's bytes into a QTextDocument and back; the window never parses bytes.
#pragma once

#include <QByteArray>
#include <QString>

#include <stdexcept>
#include <string>

class QTextDocument;

namespace editor {

// A file that a format cannot read; what() is the text the user sees.
class FormatError : public std::runtime_error {
public:
    explicit FormatError(const std::string& text) : std::runtime_error(text) {}
};

class NotesFormat {
public:
    virtual ~NotesFormat() = default;

    // Replaces the whole content of `document` by the file's text; the undo history is
    // cleared. Throws FormatError when the bytes are not of this format.
    virtual void read(const QByteArray& bytes, QTextDocument& document) = 0;

    // The bytes of a file holding the document's text.
    virtual QByteArray write(const QTextDocument& document) const = 0;
};

}  // namespace editor
