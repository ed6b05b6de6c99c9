// Speed of the notes files: reading and writing 1 MB of RTF (15,000 paragraphs in mixed
// formats) and 1 MB of plain text. Target: RTF read and write together under 100 ms.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>

#include "editor/plain_text_format.h"
#include "editor/rtf_reader.h"
#include "editor/rtf_writer.h"

namespace {

// QTextDocument's fonts need a QGuiApplication; one, headless, for all benchmarks.
void EnsureApplication() {
    static int argc = 1;
    static char name[] = "tolvane-bench";
    static char* argv[] = {name, nullptr};
    if (QGuiApplication::instance() != nullptr) return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(argc, argv);
}

// 15,000 paragraphs of notes, about 1 MB as RTF, in four kinds that take turns: a centred
// bold heading; a line with a bold and an italic word; a line with a red word and glyphs
// in another font; a plain line (2.75 runs of one format per paragraph on average).
void FillNotes(QTextDocument& document) {
    QTextCursor cursor(&document);
    QTextCharFormat plain, bold, italic, red, glyph;
    bold.setFontWeight(QFont::Bold);
    italic.setFontItalic(true);
    red.setForeground(QColor(200, 0, 0));
    glyph.setFontFamilies({QStringLiteral("AR PL UKai CN")});
    glyph.setFontPointSize(14);
    for (int i = 0; i < 15'000; ++i) {
        if (i > 0) cursor.insertBlock();
        QTextBlockFormat block;
        block.setAlignment(i % 4 == 0 ? Qt::AlignHCenter : Qt::AlignLeft);
        cursor.setBlockFormat(block);
        const QString day = QString::number(i);
        switch (i % 4) {
        case 0: cursor.insertText(QStringLiteral("Notizen zum Tag ") + day, bold); break;
        case 1:
            cursor.insertText(QString::fromUtf8("Termin um 10 Uhr im Büro, "), plain);
            cursor.insertText(QStringLiteral("wichtig"), bold);
            cursor.insertText(QStringLiteral(" und "), plain);
            cursor.insertText(QString::fromUtf8("Grüße"), italic);
            break;
        case 2:
            cursor.insertText(QStringLiteral("Jahr "), plain);
            cursor.insertText(QStringLiteral("Wu-Yin"), red);
            cursor.insertText(QString::fromUtf8(" 戊寅"), glyph);
            break;
        default:
            cursor.insertText(QString::fromUtf8("Ein ganz gewöhnlicher Absatz ohne Format, Nummer ") + day,
                              plain);
            break;
        }
    }
}

const QByteArray& NotesRtf() {
    static const QByteArray rtf = [] {
        QTextDocument document;
        FillNotes(document);
        return editor::WriteRtf(document);
    }();
    return rtf;
}

// About 1 MB of Windows-1252 text in lines of 60 characters.
const QByteArray& NotesText() {
    static const QByteArray text = [] {
        QByteArray bytes;
        for (int i = 0; bytes.size() < 1'000'000; ++i) {
            bytes += "Zeile " + QByteArray::number(i);
            bytes += ": Notiz \xFC" "ber den Tag, Gr\xF6\xDF" "e 12 \x80\r\n";
        }
        return bytes;
    }();
    return text;
}

void BM_RtfRead(benchmark::State& state) {
    EnsureApplication();
    const QByteArray& rtf = NotesRtf();
    QTextDocument document;
    for (auto _ : state) editor::ReadRtf(rtf, document);
    state.SetBytesProcessed(state.iterations() * rtf.size());
    state.counters["paragraphs"] = document.blockCount();
    state.counters["file_bytes"] = static_cast<double>(rtf.size());
}
BENCHMARK(BM_RtfRead)->Unit(benchmark::kMillisecond);

void BM_RtfWrite(benchmark::State& state) {
    EnsureApplication();
    QTextDocument document;
    editor::ReadRtf(NotesRtf(), document);
    for (auto _ : state) benchmark::DoNotOptimize(editor::WriteRtf(document));
    state.SetBytesProcessed(state.iterations() * NotesRtf().size());
}
BENCHMARK(BM_RtfWrite)->Unit(benchmark::kMillisecond);

// The target: a 1 MB RTF file read and written again.
void BM_RtfReadAndWrite(benchmark::State& state) {
    EnsureApplication();
    const QByteArray& rtf = NotesRtf();
    QTextDocument document;
    for (auto _ : state) {
        editor::ReadRtf(rtf, document);
        benchmark::DoNotOptimize(editor::WriteRtf(document));
    }
    state.SetBytesProcessed(state.iterations() * rtf.size());
}
BENCHMARK(BM_RtfReadAndWrite)->Unit(benchmark::kMillisecond);

void BM_PlainTextRead(benchmark::State& state) {
    EnsureApplication();
    const QByteArray& text = NotesText();
    editor::PlainTextFormat format;
    QTextDocument document;
    for (auto _ : state) format.read(text, document);
    state.SetBytesProcessed(state.iterations() * text.size());
}
BENCHMARK(BM_PlainTextRead)->Unit(benchmark::kMillisecond);

void BM_PlainTextWrite(benchmark::State& state) {
    EnsureApplication();
    editor::PlainTextFormat format;
    QTextDocument document;
    format.read(NotesText(), document);
    for (auto _ : state) benchmark::DoNotOptimize(format.write(document));
    state.SetBytesProcessed(state.iterations() * NotesText().size());
}
BENCHMARK(BM_PlainTextWrite)->Unit(benchmark::kMillisecond);

}  // namespace
