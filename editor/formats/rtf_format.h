// SPDX-License-Identifier: GPL-3.0-or-later
// Rich-text notes files: RTF as Word, WordPad and RichEdit write it, read by our own reader
// and written as ANSI RTF.
#pragma once

#include <QStringList>

#include "editor/formats/notes_format.h"

namespace editor {

// The cheap check behind the fallback to plain text: RTF starts with "{\rtf", after blanks.
bool IsRtf(const QByteArray& bytes);

class RtfFormat : public NotesFormat {
public:
    // Throws FormatError when the bytes are not RTF (see IsRtf); damaged RTF (unbalanced
    // braces, a truncated file) gives the text read up to the damage.
    void read(const QByteArray& bytes, QTextDocument& document) override;
    QByteArray write(const QTextDocument& document) const override;

    // What the last read skipped although the document showed it (UnkeptKind), each once.
    const QStringList& unkept() const { return unkept_; }

private:
    QStringList unkept_;
};

}  // namespace editor
