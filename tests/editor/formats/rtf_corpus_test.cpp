// SPDX-License-Identifier: GPL-3.0-or-later
// The reader against files real programs wrote (WordPad, RichEdit, Word, DOS and Mac word
// processors, LibreOffice, AbiWord, pandoc, TextEdit) and files our writer wrote: each
// NAME.rtf in rtf-corpus/ beside NAME.txt, its text in UTF-8 with one line per paragraph,
// and for some a NAME.fmt, the paragraphs and runs as Dump() gives them.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTextImageFormat>

#include "editor/formats/rtf_writer.h"
#include "rtf_test_support.h"

namespace {

QByteArray Contents(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

QString CorpusPath(const QString& name) { return QStringLiteral(TOLVANE_RTF_CORPUS "/") + name; }

// The expected text; a final line end of the .txt file is no paragraph.
QString ExpectedText(const QString& rtfName) {
    QString text = QString::fromUtf8(Contents(CorpusPath(QString(rtfName).replace(".rtf", ".txt"))));
    if (text.endsWith(u'\n')) text.chop(1);
    text.replace(QStringLiteral("<LS>"), QString(QChar::LineSeparator));
    text.replace(QStringLiteral("<OBJ>"), QString(QChar::ObjectReplacementCharacter));
    return text;
}

// One line per paragraph ("= left", then its indents, spacing and tab stops in twips where
// it has them, "rtl"), then one per run:
// "  family size[ b][ i][ u][ s][ fg #rrggbb][ bg #rrggbb][ forms][ -> link][ img WxH]: text".
QString Dump(const QTextDocument& document) {
    static const char* const kAlignments[] = {"left", "right", "centre", "justify"};
    QString out;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat b = block.blockFormat();
        const Qt::Alignment alignment = b.alignment() & Qt::AlignHorizontal_Mask;
        const int index = alignment & Qt::AlignRight ? 1 : alignment & Qt::AlignHCenter ? 2 : alignment & Qt::AlignJustify ? 3 : 0;
        out += QStringLiteral("= ") + kAlignments[index];
        out += editor_test::ParagraphLayout(b);
        out += u'\n';
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            out += QStringLiteral("  %1 %2").arg(editor_test::Family(f)).arg(f.fontPointSize());
            if (f.fontWeight() >= QFont::Bold) out += QStringLiteral(" b");
            if (f.fontItalic()) out += QStringLiteral(" i");
            if (f.fontUnderline()) out += QStringLiteral(" u");
            if (f.fontStrikeOut()) out += QStringLiteral(" s");
            if (const QColor fg = editor_test::Colour(f.foreground()); fg.isValid()) out += " fg " + fg.name();
            if (const QColor bg = editor_test::Colour(f.background()); bg.isValid()) out += " bg " + bg.name();
            out += editor_test::Forms(f);
            if (f.isAnchor()) out += " -> " + f.anchorHref();
            if (f.isImageFormat()) {
                const QTextImageFormat image = f.toImageFormat();
                out += QStringLiteral(" img %1x%2").arg(image.width()).arg(image.height());
            }
            out += QStringLiteral(": ") + it.fragment().text().replace(QChar::LineSeparator, QStringLiteral("<LS>")) + u'\n';
        }
    }
    return out;
}

bool HasBackground(const QTextDocument& document) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().background().style() != Qt::NoBrush) return true;
        }
    }
    return false;
}

// Text, formats where given, no background the file did not set, and a save and reload that
// keep text and formats. Cut before any control word, symbol or brace, a file gives a
// beginning of its text: what was read up to the cut. (A surrogate or double-byte character
// cut in half is dropped.)
TEST(RtfCorpus, EveryFileAndEveryCutOfIt) {
    const QStringList files = QDir(QStringLiteral(TOLVANE_RTF_CORPUS))
                                  .entryList({QStringLiteral("*.rtf")}, QDir::Files, QDir::Name);
    ASSERT_GE(files.size(), 19);
    static const QRegularExpression kSetsBackground(QStringLiteral(R"(\\(highlight|cb|chcbpat)[1-9])"));
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        const QByteArray rtf = Contents(CorpusPath(name));
        QTextDocument document;
        editor::ReadRtf(rtf, document);
        EXPECT_EQ(editor_test::Text(document).toStdString(), ExpectedText(name).toStdString());
        const QString fmt = CorpusPath(QString(name).replace(".rtf", ".fmt"));
        // TOLVANE_WRITE_CORPUS=1 rewrites NAME.txt and an existing NAME.fmt from what the reader
        // gives, for a new file or a change meant to be; the diff is for a person to check.
        if (qEnvironmentVariableIsSet("TOLVANE_WRITE_CORPUS")) {
            QFile txt(CorpusPath(QString(name).replace(".rtf", ".txt")));
            txt.open(QIODevice::WriteOnly);
            QString text = editor_test::Text(document);
            text.replace(QChar::LineSeparator, QStringLiteral("<LS>"));
            text.replace(QChar::ObjectReplacementCharacter, QStringLiteral("<OBJ>"));
            txt.write(text.toUtf8() + "\n");
            if (QFile out(fmt); out.exists() && out.open(QIODevice::WriteOnly)) out.write(Dump(document).toUtf8());
        }
        if (QFile::exists(fmt)) {
            EXPECT_EQ(Dump(document).toStdString(), QString::fromUtf8(Contents(fmt)).toStdString());
        }
        if (!QString::fromLatin1(rtf).contains(kSetsBackground)) {
            EXPECT_FALSE(HasBackground(document));
        }
        QTextDocument reread;
        editor::ReadRtf(editor::WriteRtf(document), reread);
        EXPECT_EQ(editor_test::Text(reread).toStdString(), editor_test::Text(document).toStdString());
        EXPECT_EQ(Dump(reread).toStdString(), Dump(document).toStdString());
        const QString full = editor_test::ReadText(rtf);
        for (qsizetype cut = 0; cut < rtf.size(); ++cut) {
            if (rtf[cut] != '\\' && rtf[cut] != '{' && rtf[cut] != '}') continue;
            QString part = editor_test::ReadText(rtf.left(cut));
            while (part.endsWith(QChar::ReplacementCharacter)) part.chop(1);
            ASSERT_TRUE(full.startsWith(part)) << "cut at " << cut;
        }
    }
}

}  // namespace
