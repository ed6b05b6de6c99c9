// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers of the RTF tests: a document's text with "\n" between paragraphs, and the format
// of the character where a piece of text starts.
#pragma once

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

#include "editor/formats/rtf_properties.h"
#include "editor/formats/rtf_reader.h"

namespace editor_test {

using namespace editor::rtf_property;

// Line breaks inside a paragraph stay U+2028, unlike QTextDocument::toPlainText().
inline QString Text(const QTextDocument& document) {
    QString text = document.toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    return text;
}

inline QString ReadText(const QByteArray& rtf) {
    QTextDocument document;
    editor::ReadRtf(rtf, document);
    return Text(document);
}

// The format of the first character of `needle`; fails the test when the text lacks it.
inline QTextCharFormat FormatAt(const QTextDocument& document, const QString& needle) {
    const QTextCursor found = document.find(needle, 0, QTextDocument::FindCaseSensitively);
    EXPECT_FALSE(found.isNull()) << needle.toStdString();
    QTextCursor cursor(found);
    cursor.setPosition(found.selectionStart() + 1);
    return cursor.charFormat();
}

inline Qt::Alignment AlignmentAt(const QTextDocument& document, const QString& needle) {
    const QTextCursor found = document.find(needle, 0, QTextDocument::FindCaseSensitively);
    EXPECT_FALSE(found.isNull()) << needle.toStdString();
    return found.block().blockFormat().alignment() & Qt::AlignHorizontal_Mask;
}

inline QString Family(const QTextCharFormat& format) {
    const QStringList families = format.fontFamilies().toStringList();
    return families.isEmpty() ? QString() : families.first();
}

// The character forms beyond bold, italic, underline and strike-through, as words:
// " sup", " sub", " up6", " sc", " caps", " ul wave", " ul uldb", " ss" (double strike).
inline QString Forms(const QTextCharFormat& f) {
    QString out;
    if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript) out += QStringLiteral(" sup");
    if (f.verticalAlignment() == QTextCharFormat::AlignSubScript) out += QStringLiteral(" sub");
    if (f.hasProperty(kRaise)) out += QStringLiteral(" raise%1").arg(f.intProperty(kRaise));
    if (f.fontCapitalization() == QFont::SmallCaps) out += QStringLiteral(" sc");
    if (f.fontCapitalization() == QFont::AllUppercase) out += QStringLiteral(" caps");
    static const char* const kStyles[] = {"none", "single", "dash", "dot", "dashdot", "dashdotdot", "wave", "spell"};
    if (f.underlineStyle() > QTextCharFormat::SingleUnderline) out += QStringLiteral(" ul ") + kStyles[f.underlineStyle()];
    if (f.hasProperty(kUnderlineWord)) out += " ul " + f.stringProperty(kUnderlineWord);
    if (f.boolProperty(kDoubleStrike)) out += QStringLiteral(" ss");
    return out;
}

inline QColor Colour(const QBrush& brush) {
    return brush.style() == Qt::NoBrush ? QColor() : brush.color();
}

// A paragraph's indents, spacing, tab stops and direction, in the corpus dump's words
// (twips, as RTF writes them).
inline QString ParagraphLayout(const QTextBlockFormat& b) {
    QString out;
    const std::pair<const char*, qreal> spaces[] = {{"li", b.leftMargin()}, {"ri", b.rightMargin()},
        {"fi", b.textIndent()}, {"sb", b.topMargin()}, {"sa", b.bottomMargin()}};
    for (const auto& [name, pixels] : spaces) {
        if (pixels != 0) out += QStringLiteral(" %1 %2").arg(name).arg(qRound(pixels * 15));
    }
    for (const QTextOption::Tab& tab : b.tabPositions()) {
        out += QStringLiteral(" tab %1%2").arg("lrcd"[tab.type]).arg(qRound(tab.position * 15));
    }
    if (b.hasProperty(kTabLeaders)) out += " leaders '" + b.stringProperty(kTabLeaders) + "'";
    if (b.layoutDirection() == Qt::RightToLeft) out += QStringLiteral(" rtl");
    return out;
}

}  // namespace editor_test
