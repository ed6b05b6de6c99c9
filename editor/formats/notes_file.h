// SPDX-License-Identifier: GPL-3.0-or-later
// The formats of one notes file as the window uses them: the mode chooses the format, and
// a file in rich-text mode whose content is not RTF is read as plain text.
#pragma once

#include "editor/formats/plain_text_format.h"
#include "editor/formats/rtf_format.h"

#include <string>

namespace editor {

class NotesFile {
public:
    // Replaces the document's content by the file's. In plain-text mode the bytes are read
    // as plain text; in rich-text mode as RTF, or as plain text when they are not RTF.
    // Returns true when they were read as RTF.
    bool read(const QByteArray& bytes, bool plainTextMode, QTextDocument& document);
    // The same for bytes nobody needs afterwards: a plain text lets them go once it is
    // decoded, before the document takes it, so that a large file never lives three times
    // over (bytes, text, document).
    bool readTaking(std::string&& bytes, bool plainTextMode, QTextDocument& document);

    // The file's bytes: plain text in the encoding and line ends of the last plain-text read
    // (or those of a new file), RTF otherwise.
    QByteArray write(const QTextDocument& document, bool plainTextMode) const;

    // For an emptied editor: the next plain-text save writes a new file (Windows-1252, LF).
    void startNew() {
        plainText_.setLayout(PlainTextLayout{});
        unkept_.clear();
    }

    // The kinds of content of the text read that no save keeps ("Zeichnungen, Bilder"), as
    // long as the user has not agreed to lose them; empty otherwise.
    QString unkept() const { return unkept_.join(QStringLiteral(", ")); }
    // The user agreed: saves of this text no longer ask.
    void acceptLoss() { unkept_.clear(); }

    const PlainTextLayout& plainTextLayout() const { return plainText_.layout(); }

private:
    PlainTextFormat plainText_;
    RtfFormat rtf_;
    QStringList unkept_;
};

}  // namespace editor
