// SPDX-License-Identifier: GPL-3.0-or-later
// Character forms between RTF and Qt. Where Qt lacks a form (double, thick and word
// underlines, double strike-through, a raise by a given height), it shows the nearest one
// and the RTF word is kept in a property of the format, so that a save writes it back.
#include "editor/formats/rtf_character_forms.h"

#include <algorithm>
#include <iterator>

#include "editor/formats/rtf_document_builder.h"
#include "editor/formats/rtf_properties.h"

namespace editor {

namespace {

struct UnderlineKind {
    const char* word;
    QTextCharFormat::UnderlineStyle style;
    bool exact;  // Qt shows this very kind
};

// Index 0 is the plain \ul.
constexpr UnderlineKind kUnderlines[] = {
    {"ul", QTextCharFormat::SingleUnderline, true},
    {"uld", QTextCharFormat::DotLine, true},
    {"uldash", QTextCharFormat::DashUnderline, true},
    {"uldashd", QTextCharFormat::DashDotLine, true},
    {"uldashdd", QTextCharFormat::DashDotDotLine, true},
    {"ulwave", QTextCharFormat::WaveUnderline, true},
    {"uldb", QTextCharFormat::SingleUnderline, false},
    {"ulth", QTextCharFormat::SingleUnderline, false},
    {"ulw", QTextCharFormat::SingleUnderline, false},
    {"ulthd", QTextCharFormat::DotLine, false},
    {"ulthdash", QTextCharFormat::DashUnderline, false},
    {"ulldash", QTextCharFormat::DashUnderline, false},
    {"ulthldash", QTextCharFormat::DashUnderline, false},
    {"ulthdashd", QTextCharFormat::DashDotLine, false},
    {"ulthdashdd", QTextCharFormat::DashDotDotLine, false},
    {"ulhwave", QTextCharFormat::WaveUnderline, false},
    {"ululdbwave", QTextCharFormat::WaveUnderline, false},
};

}  // namespace

bool ApplyCharacterFormWord(std::string_view name, bool hasParameter, int parameter,
                            RtfCharFormat& format) {
    const bool on = !hasParameter || parameter != 0;
    if (name == "super") {
        format.script = 1;
        format.raise = 0;
    } else if (name == "sub") {
        format.script = 2;
        format.raise = 0;
    } else if (name == "nosupersub") {
        format.script = 0;
        format.raise = 0;
    } else if (name == "up" || name == "dn") {
        const int halfPoints = std::clamp(hasParameter ? parameter : 6, 0, 1000);
        format.script = halfPoints == 0 ? 0 : name == "up" ? 1 : 2;
        format.raise = static_cast<std::int16_t>(name == "up" ? halfPoints : -halfPoints);
    } else if (name == "scaps") {
        format.smallCaps = on;
    } else if (name == "caps") {
        format.allCaps = on;
    } else if (name == "striked") {
        format.doubleStrike = on;
        format.strike = on;
    } else {
        const auto kind = std::find_if(std::begin(kUnderlines), std::end(kUnderlines),
                                       [name](const UnderlineKind& k) { return name == k.word; });
        if (kind == std::end(kUnderlines)) return false;
        format.underline = on;
        format.underlineKind = on ? static_cast<std::uint8_t>(kind - std::begin(kUnderlines)) : 0;
    }
    return true;
}

void SetCharacterForms(const RtfCharFormat& format, QTextCharFormat& result) {
    if (format.script != 0) {
        result.setVerticalAlignment(format.script == 1 ? QTextCharFormat::AlignSuperScript
                                                       : QTextCharFormat::AlignSubScript);
        if (format.raise != 0) result.setProperty(rtf_property::kRaise, int(format.raise));
    }
    if (format.smallCaps) result.setFontCapitalization(QFont::SmallCaps);
    if (format.allCaps) result.setFontCapitalization(QFont::AllUppercase);
    if (format.underline && format.underlineKind != 0) {
        const UnderlineKind& kind = kUnderlines[format.underlineKind];
        result.setUnderlineStyle(kind.style);
        if (!kind.exact) result.setProperty(rtf_property::kUnderlineWord, QString::fromLatin1(kind.word));
    }
    if (format.doubleStrike) result.setProperty(rtf_property::kDoubleStrike, true);
}

QByteArray CharacterFormWords(const QTextCharFormat& format) {
    QByteArray out;
    switch (format.verticalAlignment()) {
    case QTextCharFormat::AlignSuperScript:
    case QTextCharFormat::AlignSubScript: {
        const bool up = format.verticalAlignment() == QTextCharFormat::AlignSuperScript;
        const int raise = format.intProperty(rtf_property::kRaise);
        if (raise != 0 && (raise > 0) == up) {
            out += (up ? "\\up" : "\\dn") + QByteArray::number(std::abs(raise));
        } else {
            out += up ? "\\super" : "\\sub";
        }
        break;
    }
    default: break;
    }
    if (format.fontCapitalization() == QFont::SmallCaps) out += "\\scaps";
    if (format.fontCapitalization() == QFont::AllUppercase) out += "\\caps";
    const QTextCharFormat::UnderlineStyle style = format.underlineStyle();
    if (style != QTextCharFormat::NoUnderline && style != QTextCharFormat::SingleUnderline &&
        style != QTextCharFormat::SpellCheckUnderline) {
        const QString word = format.stringProperty(rtf_property::kUnderlineWord);
        if (!word.isEmpty()) {
            out += '\\' + word.toLatin1();
        } else {
            for (const UnderlineKind& kind : kUnderlines) {
                if (kind.exact && kind.style == style) out += QByteArray("\\") + kind.word;
            }
        }
    } else if (style == QTextCharFormat::SingleUnderline) {
        // Double, thick and word underlines show as single ones.
        const QString word = format.stringProperty(rtf_property::kUnderlineWord);
        if (!word.isEmpty()) out += '\\' + word.toLatin1();
    }
    if (format.boolProperty(rtf_property::kDoubleStrike) && format.fontStrikeOut()) out += "\\striked1";
    return out;
}

}  // namespace editor
