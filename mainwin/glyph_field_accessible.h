// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader learns of a glyph field: not the glyph font's letter that the field
// holds ("f") but the Chinese character drawn with it (己).
#pragma once

#include <QString>

class QLineEdit;

namespace mainwin {

// Makes `field` a glyph field for screen readers: its value is the character it draws.
void MakeGlyphFieldAccessible(QLineEdit* field);

// The character now drawn in a glyph field (empty: none); nothing for any other field.
void SetSpokenGlyph(QLineEdit* field, const QString& character);

}  // namespace mainwin
