// SPDX-License-Identifier: GPL-3.0-or-later
// The glyph font: installed for this program from the program folder, applied to the
// eight glyph fields, removed when the program ends.
#include <QLineEdit>

#include "mainwin/tform1.h"
#include "platform/qt/font_install.h"

namespace mainwin {

bool TForm1::InstallGlyphFont(const QString& path) {
    installedFontPath_ = path;
    fontHandle_ = platform::InstallFontFile(path);
    return fontHandle_ >= 0;
}

void TForm1::RemoveGlyphFont() {
    if (!fontInstalled_ || fontHandle_ < 0) return;
    if (platform::RemoveFontFile(fontHandle_)) {
        fontHandle_ = -1;  // removed once; the flag itself stays as it is
    } else {
        ShowMessage(platform::MessageKind::Warning,
                    "Schrift: " + installedFontPath_ + " konnte nicht entfernt werden");
    }
}

void TForm1::ApplyGlyphFont() {
    QFont font(QStringLiteral("Vivar01"));
    font.setPointSize(symbolSize_);
    font.setBold(true);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    for (const char* name : GlyphFieldNames) Field(name)->setFont(font);
    SizeFields();
}

}  // namespace mainwin
