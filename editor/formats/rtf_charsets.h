// SPDX-License-Identifier: GPL-3.0-or-later
// The code pages of RTF text bytes: \fcharset numbers and the decoding of \'hh runs.
#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>

#include <map>
#include <utility>

namespace editor {

// The Windows code page of an RTF character set (\fcharset); 0 for the ones that mean
// "the document's code page" (DEFAULT_CHARSET) or are unknown.
int CodePageOfCharset(int charset);

// A font name outside Windows-1252 in the first character set that holds all of it (the
// one-byte sets first: Cyrillic, Greek, Central European ..., then Japanese, Chinese and
// Korean): the \fcharset number and the name as RTF writes it there (\'hh for every byte
// of a character beyond ASCII, so that no second byte is taken for a letter or a
// backslash; "\\", "\{", "\}" and ";" escaped); 0 and nothing when none does.
// `declared` (the font's \fcharset when read) is tried first.
std::pair<int, QByteArray> EncodeInCharset(const QString& name, int declared = 0);

// Text bytes in a code page. 1252, 437, 850, Mac Roman, Mac Arabic and Mac Hebrew come from
// our own tables, other code pages (the East Asian double-byte ones and the Mac's other ones
// among them) from Qt's converters; a code page neither knows is read as Windows-1252. Each
// converter is looked up once per file.
class CodePageDecoder {
public:
    QString decode(int codePage, QByteArrayView bytes);

private:
    QString decodeMacJapanese(QByteArrayView bytes);

    std::map<int, QStringDecoder> converters_;  // an invalid one: Qt does not know the page
};

}  // namespace editor
