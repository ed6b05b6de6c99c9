// SPDX-License-Identifier: GPL-3.0-or-later
// The character forms beyond bold, italic, underline and strike-through: superscript and
// subscript, small and all capitals, the kinds of underline, double strike-through. Read
// from their RTF words, shown in a QTextCharFormat and written back with the same words.
#pragma once

#include <QByteArray>
#include <QTextCharFormat>

#include <cstdint>
#include <string_view>

namespace editor {

struct RtfCharFormat;

// Applies a word of these forms (\super, \up6, \scaps, \uldb ...); false when `name` is none.
bool ApplyCharacterFormWord(std::string_view name, bool hasParameter, int parameter,
                            RtfCharFormat& format);

// Puts the forms of `format` into `result`.
void SetCharacterForms(const RtfCharFormat& format, QTextCharFormat& result);

// The words that give a character format's forms, each one ending with its own blank-free
// form ("\super\scaps\ulwave"); empty for none.
QByteArray CharacterFormWords(const QTextCharFormat& format);

}  // namespace editor
