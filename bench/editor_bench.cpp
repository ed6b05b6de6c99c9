// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the notes files: reading and writing 1 MB of RTF (15,000 paragraphs in mixed
// formats) and 1 MB of plain text. Target: RTF read and write together under 100 ms, at most
// 2,000 times BM_SearchStepFloor of the same run; a note with a 5 MB picture at most twice that.
// The notes window: loading and showing 10 MB of plain text (target under 1 s), and a key
// typed into it with the status line refreshed (target under one frame, 16 ms), also while
// a recovery copy of the text is being written.
// German notes as a user has them (lines of 5 to 18 words): opening 10 and 60 MB until the
// window is idle (targets: no more CPU than FeatherPad's start and open, no more memory than
// Kate's), a key in a 2 MB paragraph or a 1 MB line (target 16 ms), Select All + Delete and
// Undo in 60 MB (target 1 s each), the same with a key typed or a text pasted over the
// whole text and in a rich text of 10 million characters, and the first screen of a 2 MB
// RTF (target 300 ms).
// Its commands on 1,000 and 10,000 lines of 100 characters (1 MB): a DOS/Windows conversion
// and a replace-all of one hit a line each at most 2,000 times BM_SearchStepFloor of the
// same run, neither growing faster than the text.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QImage>
#include <QElapsedTimer>
#include <QAbstractTextDocumentLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QScrollBar>
#include <QTextDocument>
#include <QTextEdit>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "editor/find_dialog.h"
#include "editor/plain_notes_layout.h"
#include "editor/recovery_copy.h"
#include "editor/formats/plain_text_format.h"
#include "editor/formats/rtf_reader.h"
#include "editor/formats/rtf_writer.h"
#include "editor/tedit_form.h"
#include "platform/qt/dialogs.h"

namespace {

// QTextDocument's fonts need a QGuiApplication, the window a QApplication; one, headless,
// for all benchmarks.
void EnsureApplication() {
    static int argc = 1;
    static char name[] = "tolvane-bench";
    static char* argv[] = {name, nullptr};
    if (QGuiApplication::instance() != nullptr) return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed: at exit Qt's own statics would already be gone beneath it.
    new QApplication(argc, argv);
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

// A note with a photograph: a 5 MB PNG (noise, which no compression shrinks) between two
// lines, read (decoded for the screen) and written again. Target: at most twice
// BM_RtfReadAndWrite.
const QByteArray& PictureRtf() {
    static const QByteArray rtf = [] {
        QImage image(1290, 1290, QImage::Format_RGB32);
        std::uint32_t state = 12345;
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                state = state * 1664525u + 1013904223u;
                line[x] = 0xFF000000u | (state >> 8);
            }
        }
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG", 0);
        // In lines of 128 digits, as word processors write them.
        QByteArray rtf = "{\\rtf1\\ansi Ein Foto:\\par{\\pict\\pngblip\\picw1290\\pich1290\\picwgoal9000\\pichgoal9000";
        const QByteArray hex = png.toHex();
        for (qsizetype i = 0; i < hex.size(); i += 128) rtf += "\r\n" + hex.mid(i, 128);
        return rtf + "}\\par Ende\\par}";
    }();
    return rtf;
}

void BM_RtfPictureReadAndWrite(benchmark::State& state) {
    EnsureApplication();
    const QByteArray& rtf = PictureRtf();
    QTextDocument document;
    for (auto _ : state) {
        editor::ReadRtf(rtf, document);
        benchmark::DoNotOptimize(editor::WriteRtf(document));
    }
    state.counters["picture_bytes"] = static_cast<double>(rtf.size() / 2);
}
BENCHMARK(BM_RtfPictureReadAndWrite)->Unit(benchmark::kMillisecond);

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

// The window needs no dialog while nothing is modified.
class NoDialogs : public platform::Dialogs {
public:
    platform::MessageButton Message(QWidget*, platform::MessageKind, const QString&,
                                    unsigned) override {
        return platform::ButtonNo;
    }
    QString Input(QWidget*, const QString&, const QString&, const QString& initial) override {
        return initial;
    }
    std::optional<QString> OpenFileName(QWidget*, platform::FileRequest&) override { return {}; }
    std::optional<QString> SaveFileName(QWidget*, platform::FileRequest&) override { return {}; }
    std::optional<QFont> Font(QWidget*, const QFont&) override { return {}; }
    bool Print(QWidget*, QPrinter&) override { return false; }
    bool PrinterSetup(QWidget*, QPrinter&) override { return false; }
};

// A file in the temporary folder that is removed when the benchmarks end (up to 10 MB
// each; none is left behind).
std::filesystem::path BenchFile(const std::string& name) {
    struct Made {
        std::vector<std::filesystem::path> paths;
        ~Made() {
            std::error_code ec;
            for (const auto& p : paths) std::filesystem::remove(p, ec);
        }
    };
    static Made made;
    made.paths.push_back(std::filesystem::temp_directory_path() / name);
    return made.paths.back();
}

// A plain-text file of `megabytes` MB (about ten times NotesText) in the temporary folder;
// 0 gives a single line.
QString NotesFileOf(int megabytes) {
    const auto path = BenchFile("tolvane-bench-" + std::to_string(megabytes) + "mb.txt");
    std::ofstream out(path, std::ios::binary);
    if (megabytes == 0) out << "Eine Zeile\r\n";
    while (out.tellp() < std::streamoff(megabytes) * 1'000'000)
        out.write(NotesText().constData(), NotesText().size());
    return QString::fromStdString(path.string());
}

// German notes of about `bytes` bytes (UTF-8): lines of 5 to 18 words, as in
// bench/notes_text.py; with `paragraph` the words run on in one paragraph. The same text on
// every call.
std::string GermanNotes(std::size_t bytes, bool paragraph) {
    static const std::vector<std::string> words = [] {
        std::vector<std::string> list;
        std::string all =
            "Termin Notiz B\u00fcro Stra\u00dfe Gr\u00fc\u00dfe \u00c4rger \u00dcbung sch\u00f6n m\u00fcde fr\u00fch "
            "sp\u00e4t heute morgen gestern Abend Mittag Woche Monat Jahr Wetter Regen Sonne Wolken "
            "Garten Blumen K\u00fcche Einkauf Brot K\u00e4se Milch \u00c4pfel Birnen Zucker Mehl Butter "
            "Kaffee Tee Wasser Zeitung Brief Rechnung Miete Arbeit Kollege Besprechung Bericht "
            "Vertrag Kunde Angebot Frist Mutter Vater Bruder Schwester Freund Nachbar Familie "
            "Urlaub Reise Bahnhof Zug Fahrkarte Hotel Zimmer Schl\u00fcssel T\u00fcr Fenster Treppe "
            "und oder aber denn weil dass wenn als ob noch schon nur auch sehr viel wenig immer "
            "der die das ein eine dem den des mit ohne f\u00fcr gegen durch um bei nach von zu "
            "ist sind war hat haben wird kann muss soll will m\u00f6chte geht kommt macht sagt "
            "gro\u00dfer kleiner neuer alter guter langer kurzer wichtiger Neumond Zyklus Erdzweig";
        for (std::size_t at = 0; at < all.size();) {
            const std::size_t end = std::min(all.find(' ', at), all.size());
            list.push_back(all.substr(at, end - at));
            at = end + 1;
        }
        return list;
    }();
    std::string text;
    text.reserve(bytes + 200);
    std::uint32_t seed = 31;
    const auto next = [&](std::uint32_t n) {
        seed = seed * 1'664'525u + 1'013'904'223u;
        return (seed >> 8) % n;
    };
    while (text.size() < bytes) {
        const std::uint32_t count = 5 + next(14);
        for (std::uint32_t i = 0; i < count; ++i) {
            if (i > 0) text += ' ';
            text += words[next(static_cast<std::uint32_t>(words.size()))];
        }
        text += paragraph ? ". " : ".\n";
    }
    return text;
}

// Decoding alone (the check of UTF-8 and the line breaks, no document): 60 MB of German
// notes with LF (argument 0) or CR LF (1) line ends.
void BM_PlainTextDecode(benchmark::State& state) {
    std::string text;
    for (const char c : GermanNotes(60'000'000, false)) {
        if (c == '\n' && state.range(0)) text += '\r';
        text += c;
    }
    const QByteArray bytes = QByteArray::fromStdString(text);
    for (auto _ : state) benchmark::DoNotOptimize(editor::PlainTextFormat::Decode(bytes));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_PlainTextDecode)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The file of GermanNotes in the temporary folder.
QString GermanNotesFile(int megabytes, bool paragraph) {
    const auto path = BenchFile("tolvane-bench-german-" + std::to_string(megabytes) +
                                (paragraph ? "mb-paragraph.txt" : "mb.txt"));
    std::ofstream(path, std::ios::binary) << GermanNotes(std::size_t(megabytes) * 1'000'000, paragraph);
    return QString::fromStdString(path.string());
}

// The resident memory of this process, in MB.
double ResidentMegabytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024;
    return 0;
}

// A rich text of about `megabytes` million characters: the mixed paragraphs of FillNotes
// over and over, as RTF.
QString RtfNotesFileOf(int megabytes) {
    const auto path = BenchFile("tolvane-bench-" + std::to_string(megabytes) + "mb.RTF");
    QTextDocument part;
    FillNotes(part);
    QTextDocument whole;
    QTextCursor end(&whole);
    while (whole.characterCount() < megabytes * 1'000'000) {
        if (!whole.isEmpty()) end.insertBlock();
        end.insertFragment(QTextDocumentFragment(&part));
    }
    const QByteArray rtf = editor::WriteRtf(whole);
    std::ofstream(path, std::ios::binary).write(rtf.constData(), rtf.size());
    return QString::fromStdString(path.string());
}

// The control lays a long text out piece by piece from its event loop after the load; the
// keys are measured once that has ended (the document's height stays the same, and the
// plain-text layout's pass has reached the end).
void SettleLayout(editor::TEditForm& form) {
    QAbstractTextDocumentLayout* layout = form.Editor()->document()->documentLayout();
    const auto* plain = dynamic_cast<const editor::PlainNotesLayout*>(layout);
    QSizeF last;
    for (int same = 0, rounds = 0; same < 20 && rounds < 1'000'000; ++rounds) {
        QCoreApplication::processEvents();
        const QSizeF size = layout->documentSize();
        same = size == last && (!plain || plain->Settled()) ? same + 1 : 0;
        last = size;
    }
}

// Loading and showing: the file read, the text put into the shown window and painted.
void BM_WindowLoadPlainText(benchmark::State& state) {
    EnsureApplication();
    const QString name = NotesFileOf(static_cast<int>(state.range(0)));
    NoDialogs dialogs;
    editor::TEditForm form(dialogs);
    form.show();
    for (auto _ : state) {
        form.LoadFile(name);
        QCoreApplication::processEvents();
    }
    state.counters["characters"] = form.TextLength();
}
BENCHMARK(BM_WindowLoadPlainText)->Arg(10)->Unit(benchmark::kMillisecond)->Iterations(3);

// Opening German notes in the shown window of 579 × 402 pixels with word wrap, until the
// window is idle: the file read, the text put in, painted, and everything the layout does in
// the background afterwards. Counters: the memory the text takes (resident, in MB) and its
// lines as displayed.
void BM_WindowOpenPlain(benchmark::State& state, int megabytes) {
    EnsureApplication();
    const QString name = GermanNotesFile(megabytes, false);
    const QString empty = GermanNotesFile(0, false);
    NoDialogs dialogs;
    editor::TEditForm form(dialogs);
    form.resize(579, 402);
    form.show();
    double grown = 0;
    for (auto _ : state) {
        state.PauseTiming();
        form.LoadFile(empty);
        SettleLayout(form);
        const double before = ResidentMegabytes();
        state.ResumeTiming();
        form.LoadFile(name);
        QCoreApplication::processEvents();
        SettleLayout(form);
        grown = ResidentMegabytes() - before;
    }
    state.counters["text_mb"] = grown;
    state.counters["lines"] = form.Editor()->document()->lineCount();
}
BENCHMARK_CAPTURE(BM_WindowOpenPlain, 10MB, 10)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK_CAPTURE(BM_WindowOpenPlain, 60MB, 60)->Unit(benchmark::kMillisecond)->Iterations(1);

// Paging through 10 MB of German notes in the shown window of 579 × 402 pixels with word
// wrap, painting every page, from the first page to the last. Argument: 0 short paragraphs
// (lines of 5 to 18 words), 1 paragraphs of about 12,000 characters (laid out in pieces).
// Counters: the memory the text took once opened, and what the pages shown left behind
// (resident, in MB; target: little beyond what a few pages take, whatever the text's
// length).
void BM_WindowPageThrough(benchmark::State& state) {
    EnsureApplication();
    const bool longParagraphs = state.range(0) != 0;
    const auto path = BenchFile(longParagraphs ? "tolvane-bench-german-10mb-long.txt"
                                               : "tolvane-bench-german-10mb-short.txt");
    {
        std::string text = GermanNotes(10'000'000, longParagraphs);
        if (longParagraphs)
            for (std::size_t at = 12'000; (at = text.find(". ", at)) != std::string::npos; at += 12'000)
                text[at + 1] = '\n';
        std::ofstream(path, std::ios::binary) << text;
    }
    NoDialogs dialogs;
    editor::TEditForm form(dialogs);
    form.resize(579, 402);
    form.show();
    const double empty = ResidentMegabytes();
    form.LoadFile(QString::fromStdString(path.string()));
    SettleLayout(form);
    state.counters["open_mb"] = ResidentMegabytes() - empty;
    QScrollBar* bar = form.Editor()->verticalScrollBar();
    double grown = 0;
    for (auto _ : state) {
        bar->setValue(0);
        form.Editor()->viewport()->repaint();
        QCoreApplication::processEvents();
        const double before = ResidentMegabytes();
        while (bar->value() < bar->maximum()) {
            bar->setValue(bar->value() + bar->pageStep());
            form.Editor()->viewport()->repaint();
            QCoreApplication::processEvents();
        }
        QCoreApplication::processEvents();
        grown = ResidentMegabytes() - before;
    }
    state.counters["left_mb"] = grown;
    state.counters["lines"] = form.Editor()->document()->lineCount();
}
BENCHMARK(BM_WindowPageThrough)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

// F1 on a rich text of some 2 MB (German notes, every fourth paragraph bold and centred, as
// RtfWriter writes them) until its first screen is painted; the rest is laid out later.
// Target: 300 ms.
void BM_WindowOpenRtfFirstScreen(benchmark::State& state) {
    EnsureApplication();
    const auto path = BenchFile("tolvane-bench-notes-2mb.rtf");
    {
        QTextDocument document;
        QTextCursor cursor(&document);
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        const QStringList lines = QString::fromStdString(GermanNotes(1'300'000, false)).split(u'\n');
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0) cursor.insertBlock();
            QTextBlockFormat block;
            block.setAlignment(i % 4 == 0 ? Qt::AlignHCenter : Qt::AlignLeft);
            cursor.setBlockFormat(block);
            cursor.insertText(lines[i], i % 4 == 0 ? bold : QTextCharFormat());
        }
        const QByteArray rtf = editor::WriteRtf(document);
        std::ofstream(path, std::ios::binary).write(rtf.constData(), rtf.size());
        state.counters["file_mb"] = rtf.size() / 1e6;
    }
    // TOLVANE_BENCH_RTF names another file (from LibreOffice or pandoc, say).
    const QString other = qEnvironmentVariable("TOLVANE_BENCH_RTF");
    const QString name = other.isEmpty() ? QString::fromStdString(path.string()) : other;
    const QString empty = GermanNotesFile(0, false);
    NoDialogs dialogs;
    editor::TEditForm form(dialogs);
    form.resize(579, 402);
    form.show();
    for (auto _ : state) {
        state.PauseTiming();
        form.LoadFile(empty);
        SettleLayout(form);
        state.ResumeTiming();
        form.LoadFile(name);
        form.Editor()->viewport()->repaint();
    }
}
BENCHMARK(BM_WindowOpenRtfFirstScreen)->Unit(benchmark::kMillisecond)->Iterations(3);

// CPU seconds of this process so far.
double ProcessCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec + now.tv_nsec / 1e9;
}

// Select All, then Delete (second argument 0), a key typed (1) or Ctrl+V of a short text
// (2), and then Undo, in 60 MB of German notes or (third argument 1) a rich text of that
// many million characters; the time of both, each until the window is idle (counters: the
// CPU of each alone, in ms).
void BM_WindowDeleteAllAndUndo(benchmark::State& state) {
    EnsureApplication();
    const int megabytes = static_cast<int>(state.range(0));
    const int way = static_cast<int>(state.range(1));
    const bool rich = state.range(2) != 0;
    const QString name = rich ? RtfNotesFileOf(megabytes) : GermanNotesFile(megabytes, false);
    state.counters["file_mb"] = std::filesystem::file_size(name.toStdString()) / 1e6;
    NoDialogs dialogs;
    editor::TEditForm form(dialogs);
    form.resize(579, 402);
    form.show();
    QApplication::clipboard()->setText(QString::fromUtf8("Eingefügt"));
    const auto key = [&](Qt::Key code, Qt::KeyboardModifiers modifiers, const QString& text) {
        QKeyEvent press(QEvent::KeyPress, code, modifiers, text);
        QKeyEvent release(QEvent::KeyRelease, code, modifiers, text);
        QApplication::sendEvent(form.Editor(), &press);
        QApplication::sendEvent(form.Editor(), &release);
    };
    double editMs = 0, undoMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        form.LoadFile(name);
        SettleLayout(form);
        state.ResumeTiming();
        double cpu = ProcessCpuSeconds();
        form.Action("Selectall1")->trigger();
        if (way == 0) form.Action("Delete1")->trigger();
        if (way == 1) key(Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        if (way == 2) key(Qt::Key_V, Qt::ControlModifier, QString());
        SettleLayout(form);
        editMs = (ProcessCpuSeconds() - cpu) * 1e3;
        cpu = ProcessCpuSeconds();
        form.Undo1Click();
        SettleLayout(form);
        undoMs = (ProcessCpuSeconds() - cpu) * 1e3;
        state.PauseTiming();
        form.Editor()->document()->setModified(false);
        state.ResumeTiming();
    }
    state.counters["edit_ms"] = editMs;
    state.counters["undo_ms"] = undoMs;
    state.counters["characters"] = form.TextLength();
}
BENCHMARK(BM_WindowDeleteAllAndUndo)
    ->ArgNames({"mb", "way", "rtf"})
    ->Args({60, 0, 0})
    ->Args({60, 1, 0})
    ->Args({60, 2, 0})
    ->Args({10, 0, 1})
    ->Args({10, 1, 1})
    ->Args({10, 2, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// One key typed in the middle of the text: the control's edit, the status line's refresh
// and the repaint. The same for a one-line text and for 10 MB: the status line does not
// measure the whole text.
// A third argument of 1 types into one paragraph of German notes of that size instead,
// 2 into one such line with word wrap off.
void BM_WindowTypeKey(benchmark::State& state) {
    EnsureApplication();
    const int megabytes = static_cast<int>(state.range(0));
    const int paragraph = static_cast<int>(state.range(2));
    const QString name = paragraph ? GermanNotesFile(megabytes, true) : NotesFileOf(megabytes);
    NoDialogs dialogs;
    editor::TEditForm form(dialogs);
    // With a second argument of 1, a recovery copy of the text is taken before every
    // twentieth key (not measured: BM_WindowRecoverySnapshot) and written while the keys
    // are typed.
    const bool copying = state.range(1) != 0;
    const auto recovery = std::filesystem::temp_directory_path() / "tolvane-bench-recovery";
    if (copying) form.Recovery().SetFolder(recovery);
    form.show();
    editor::EditorSettings settings = form.Settings();
    settings.lastPos = std::numeric_limits<std::int32_t>::max() / 2;
    settings.wordWrap = paragraph != 2;
    form.SetSettings(settings);
    form.LoadFile(name);
    QTextCursor caret = form.Editor()->textCursor();
    caret.setPosition(form.TextLength() / 2);
    form.Editor()->setTextCursor(caret);
    SettleLayout(form);
    int i = 0;
    double slowest = 0;
    QElapsedTimer timer;
    for (auto _ : state) {
        if (copying && i % 20 == 0) {
            state.PauseTiming();
            form.Recovery().SetDelays(0, 0);
            form.Recovery().Changed();
            QCoreApplication::processEvents();  // the snapshot; the writer starts
            form.Recovery().SetDelays(3'600'000, 3'600'000);
            state.ResumeTiming();
        }
        timer.start();
        const Qt::Key key = (++i % 2) ? Qt::Key_A : Qt::Key_Backspace;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, key == Qt::Key_A ? "a" : "");
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, key == Qt::Key_A ? "a" : "");
        QApplication::sendEvent(form.Editor(), &press);
        QApplication::sendEvent(form.Editor(), &release);
        QCoreApplication::processEvents();
        slowest = std::max(slowest, timer.nsecsElapsed() / 1e6);
    }
    state.counters["characters"] = form.TextLength();
    state.counters["slowest_ms"] = slowest;
    // The last copy written, and then gone with the text.
    form.Recovery().Flush();
    form.Editor()->document()->setModified(false);
    std::filesystem::remove_all(recovery);
}
BENCHMARK(BM_WindowTypeKey)
    ->Args({0, 0, 0})
    ->Args({1, 0, 0})
    ->Args({10, 0, 0})
    ->Args({10, 1, 0})
    ->Args({2, 0, 1})
    ->Args({1, 0, 2})
    ->Unit(benchmark::kMicrosecond);

// Enter in the middle of one paragraph of 2 MB of German notes, which splits it in two
// long paragraphs, and the keys that join them again: Backspace at the second one's start,
// Delete at the first one's end, and Undo of a join (Delete's, which puts the caret after
// the split) and of Enter. Argument: 1 with word wrap, 0 without. Counters: the CPU of the
// slowest of each kind of key, until the window is idle (target: one frame, 16 ms). Also
// the first Right after an edit, the caret's rectangle asked after a key typed (as the
// caret's blink asks it), and the slowest of the word keys after a key typed (Ctrl+Right,
// Ctrl+Left, Ctrl+Shift+Right, Ctrl+Backspace, Ctrl+Delete), each in the 2 MB paragraph.
void BM_WindowSplitJoinLongParagraph(benchmark::State& state) {
    EnsureApplication();
    const bool wrap = state.range(0) != 0;
    const QString name = GermanNotesFile(2, true);
    NoDialogs dialogs;
    editor::TEditForm form(dialogs);
    form.show();
    editor::EditorSettings settings = form.Settings();
    settings.lastPos = 0;
    settings.wordWrap = wrap;
    form.SetSettings(settings);
    form.LoadFile(name);
    const int middle = form.TextLength() / 2;
    const auto caretTo = [&](int position) {
        QTextCursor caret = form.Editor()->textCursor();
        caret.setPosition(position);
        form.Editor()->setTextCursor(caret);
        QCoreApplication::processEvents();
    };
    caretTo(middle);
    SettleLayout(form);
    double enterMs = 0, backspaceMs = 0, deleteMs = 0, undoJoinMs = 0, undoEnterMs = 0;
    double rightMs = 0, blinkMs = 0, wordMs = 0, unused = 0;
    // The CPU of a key or of Undo until the window is idle, the slowest in `slowest`.
    const auto timed = [&](double& slowest, const std::function<void()>& act) {
        const double cpu = ProcessCpuSeconds();
        act();
        QCoreApplication::processEvents();
        slowest = std::max(slowest, (ProcessCpuSeconds() - cpu) * 1e3);
    };
    const auto key = [&](Qt::Key code) {
        return [&form, code] {
            QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, code == Qt::Key_Return ? "\r" : "");
            QKeyEvent release(QEvent::KeyRelease, code, Qt::NoModifier, code == Qt::Key_Return ? "\r" : "");
            QApplication::sendEvent(form.Editor(), &press);
            QApplication::sendEvent(form.Editor(), &release);
        };
    };
    const auto undo = [&form] { form.Undo1Click(); };
    for (auto _ : state) {
        timed(enterMs, key(Qt::Key_Return));
        timed(backspaceMs, key(Qt::Key_Backspace));
        timed(enterMs, key(Qt::Key_Return));
        caretTo(middle);
        timed(deleteMs, key(Qt::Key_Delete));
        timed(undoJoinMs, undo);
        caretTo(middle + 1);
        timed(backspaceMs, key(Qt::Key_Backspace));
        timed(enterMs, key(Qt::Key_Return));
        timed(undoEnterMs, undo);
        timed(rightMs, key(Qt::Key_Right));
        caretTo(middle);
        QKeyEvent typed(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QApplication::sendEvent(form.Editor(), &typed);
        QCoreApplication::processEvents();
        timed(blinkMs, [&form] { form.Editor()->cursorRect(); });
        timed(unused, key(Qt::Key_Backspace));
        // Each word key after a key typed and taken back a little before; a delete is undone.
        for (const auto& [code, modifiers] :
             {std::pair{Qt::Key_Right, Qt::KeyboardModifiers(Qt::ControlModifier)},
              std::pair{Qt::Key_Left, Qt::KeyboardModifiers(Qt::ControlModifier)},
              std::pair{Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier},
              std::pair{Qt::Key_Backspace, Qt::KeyboardModifiers(Qt::ControlModifier)},
              std::pair{Qt::Key_Delete, Qt::KeyboardModifiers(Qt::ControlModifier)}}) {
            caretTo(middle);
            QApplication::sendEvent(form.Editor(), &typed);
            key(Qt::Key_Backspace)();
            caretTo(middle + 100);
            timed(wordMs, [&form, code = code, modifiers = modifiers] {
                QKeyEvent press(QEvent::KeyPress, code, modifiers);
                QApplication::sendEvent(form.Editor(), &press);
            });
            if (code != Qt::Key_Left && code != Qt::Key_Right) undo();
        }
        caretTo(middle);
    }
    state.counters["enter_ms"] = enterMs;
    state.counters["backspace_ms"] = backspaceMs;
    state.counters["delete_ms"] = deleteMs;
    state.counters["undo_join_ms"] = undoJoinMs;
    state.counters["undo_enter_ms"] = undoEnterMs;
    state.counters["right_after_edit_ms"] = rightMs;
    state.counters["caret_rect_after_key_ms"] = blinkMs;
    state.counters["word_key_after_edit_ms"] = wordMs;
    state.counters["blocks"] = form.Editor()->document()->blockCount();
    form.Editor()->document()->setModified(false);
}
BENCHMARK(BM_WindowSplitJoinLongParagraph)
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

// What a recovery copy costs the UI thread: the snapshot of the modified text that the
// writer's thread then turns into bytes and writes (not measured). Arguments: millions of
// characters, 1 for a rich text. Target: 50 ms for 10 MB of either.
void BM_WindowRecoverySnapshot(benchmark::State& state) {
    EnsureApplication();
    const int megabytes = static_cast<int>(state.range(0));
    const QString name = state.range(1) ? RtfNotesFileOf(megabytes) : NotesFileOf(megabytes);
    NoDialogs dialogs;
    editor::TEditForm form(dialogs);
    const auto recovery = std::filesystem::temp_directory_path() / "tolvane-bench-recovery";
    form.Recovery().SetFolder(recovery);
    form.Recovery().SetDelays(3'600'000, 3'600'000);
    form.LoadFile(name);
    form.Editor()->textCursor().insertText(QStringLiteral("a"));
    SettleLayout(form);
    // The first snapshot after the load, once the text has rested for the 2 s after which
    // the program takes it; later ones read only what changed.
    QElapsedTimer first;
    first.start();
    while (first.elapsed() < 2000) QCoreApplication::processEvents();
    first.start();
    form.Recovery().WriteNow();
    state.counters["first_ms"] = first.nsecsElapsed() / 1e6;
    form.Recovery().Flush();
    for (auto _ : state) {
        form.Recovery().WriteNow();
        state.PauseTiming();
        form.Recovery().Flush();
        state.ResumeTiming();
    }
    state.counters["characters"] = form.TextLength();
    form.Editor()->document()->setModified(false);
    form.Recovery().Flush();
    std::filesystem::remove_all(recovery);
}
BENCHMARK(BM_WindowRecoverySnapshot)
    ->Args({1, 0})
    ->Args({10, 0})
    ->Args({10, 1})
    ->Unit(benchmark::kMillisecond);

// The status line alone, with the caret on alternating lines in the middle of the text:
// its cost must not grow with the text.
void BM_WindowStatusLine(benchmark::State& state) {
    EnsureApplication();
    const QString name = NotesFileOf(static_cast<int>(state.range(0)));
    NoDialogs dialogs;
    editor::TEditForm form(dialogs);
    form.show();
    form.LoadFile(name);
    SettleLayout(form);
    QTextCursor caret = form.Editor()->textCursor();
    const int middle = form.TextLength() / 2;
    int i = 0;
    for (auto _ : state) {
        caret.setPosition((middle + (++i % 2) * 70) % (form.TextLength() + 1));
        form.Editor()->setTextCursor(caret);  // runs the status line through its signal
    }
}
BENCHMARK(BM_WindowStatusLine)->Arg(0)->Arg(10)->Unit(benchmark::kMicrosecond);

// The answers a user gives to go on quickly: Yes to a conversion, All to the first replace
// question, No to saving the text before the next load.
class GoOnDialogs : public NoDialogs {
public:
    platform::MessageButton Message(QWidget*, platform::MessageKind, const QString& text,
                                    unsigned buttons) override {
        if (buttons & platform::ButtonAll) return platform::ButtonAll;
        if (text.endsWith(QStringLiteral(" speichern ?"))) return platform::ButtonNo;
        if (buttons & platform::ButtonYes) return platform::ButtonYes;
        return platform::ButtonOk;
    }
};

// `lines` lines of 100 characters, each with DOS umlauts and one "Termin".
QString CommandsFileOf(int lines) {
    const auto path = BenchFile("tolvane-bench-commands-" + std::to_string(lines) + ".txt");
    std::ofstream out(path, std::ios::binary);
    for (int i = 0; i < lines; ++i) {
        std::string line = "Zeile ";
        line += std::to_string(i);
        line += ": Termin f\x81r Gr\x94\xE1" "e \xC4\xC4\xC4 ";
        line.resize(99, 'x');
        out << line << '\n';
    }
    return QString::fromStdString(path.string());
}

// A whole conversion in the shown window: the question, the control hidden, line by line,
// events every tenth line. The text is read again before each (not measured).
void BM_WindowConvert(benchmark::State& state) {
    EnsureApplication();
    const int lines = static_cast<int>(state.range(0));
    const bool oemToAnsi = state.range(1) == 0;
    const QString name = CommandsFileOf(lines);
    GoOnDialogs dialogs;
    editor::TEditForm form(dialogs);
    form.show();
    for (auto _ : state) {
        state.PauseTiming();
        form.LoadFile(name);
        SettleLayout(form);
        state.ResumeTiming();
        oemToAnsi ? form.Ascii1Click() : form.Ansi1Click();
    }
    state.counters["lines"] = lines;
    state.counters["characters"] = form.TextLength();
}
BENCHMARK(BM_WindowConvert)
    ->ArgNames({"lines", "ansi_to_oem"})
    ->Args({1'000, 0})->Args({10'000, 0})->Args({1'000, 1})->Args({10'000, 1})
    ->Unit(benchmark::kMillisecond)->Iterations(3);

// Replace-all of one hit a line ("Termin" by "Treffen"), answered All at the first hit, as
// the buttons of the replace dialog run it.
void BM_WindowReplaceAll(benchmark::State& state) {
    EnsureApplication();
    const int lines = static_cast<int>(state.range(0));
    const QString name = CommandsFileOf(lines);
    GoOnDialogs dialogs;
    editor::TEditForm form(dialogs);
    form.show();
    editor::EditorSettings settings = form.Settings();
    settings.suchText = QStringLiteral("Termin");
    form.SetSettings(settings);
    form.Ersetzen1Click();
    editor::FindDialog* dialog = form.ReplaceDialog1();
    dialog->findChild<QLineEdit*>(QStringLiteral("ReplaceText"))->setText(QStringLiteral("Treffen"));
    auto* replaceAll = dialog->findChild<QPushButton*>(QStringLiteral("ReplaceAll"));
    for (auto _ : state) {
        state.PauseTiming();
        settings.lastPos = 0;
        form.SetSettings(settings);
        form.LoadFile(name);
        SettleLayout(form);
        state.ResumeTiming();
        replaceAll->click();
    }
    state.counters["lines"] = lines;
    state.counters["characters"] = form.TextLength();
}
BENCHMARK(BM_WindowReplaceAll)->Arg(1'000)->Arg(10'000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
