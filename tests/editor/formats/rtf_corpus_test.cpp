// The reader against files in the shapes real programs write (WordPad, RichEdit, Word, DOS
// and Mac word processors) and files our writer wrote: each NAME.rtf in rtf-corpus/ beside
// NAME.txt, its text in UTF-8 with one line per paragraph.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "rtf_test_support.h"

namespace {

QByteArray Contents(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

QStringList CorpusFiles() {
    return QDir(QStringLiteral(TOLVANE_RTF_CORPUS)).entryList({QStringLiteral("*.rtf")}, QDir::Files, QDir::Name);
}

QString CorpusPath(const QString& name) { return QStringLiteral(TOLVANE_RTF_CORPUS "/") + name; }

// The expected text; a final line end of the .txt file is no paragraph.
QString ExpectedText(const QString& rtfName) {
    QString text = QString::fromUtf8(Contents(CorpusPath(QString(rtfName).replace(".rtf", ".txt"))));
    if (text.endsWith(u'\n')) text.chop(1);
    text.replace(QStringLiteral("<LS>"), QString(QChar::LineSeparator));
    return text;
}

TEST(RtfCorpus, EveryFileGivesItsText) {
    const QStringList files = CorpusFiles();
    ASSERT_GE(files.size(), 10);
    for (const QString& name : files) {
        EXPECT_EQ(editor_test::ReadText(Contents(CorpusPath(name))), ExpectedText(name)) << name.toStdString();
    }
}

// Cut before any control word, symbol or brace, a file gives a beginning of its text: what
// was read up to the cut. (A surrogate or double-byte character cut in half is dropped.)
TEST(RtfCorpus, EveryTruncationGivesTheTextReadSoFar) {
    for (const QString& name : CorpusFiles()) {
        const QByteArray rtf = Contents(CorpusPath(name));
        const QString full = editor_test::ReadText(rtf);
        for (qsizetype cut = 0; cut < rtf.size(); ++cut) {
            if (rtf[cut] != '\\' && rtf[cut] != '{' && rtf[cut] != '}') continue;
            QString part = editor_test::ReadText(rtf.left(cut));
            while (part.endsWith(QChar::ReplacementCharacter)) part.chop(1);
            ASSERT_TRUE(full.startsWith(part)) << name.toStdString() << " cut at " << cut;
        }
    }
}

}  // namespace
