// The conversions of the whole text between the DOS (OEM) and the Windows (ANSI) character
// sets: line by line in place while the control is hidden, letting events through every
// tenth line; a close of the window or a load stops them.
#include <QApplication>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <string_view>
#include <vector>

#include "editor/edit_batch.h"
#include "editor/tedit_form.h"
#include "platform/code_pages_oem_ansi.h"

namespace editor {

namespace {

// Characters that carry the document's structure (a line break inside a paragraph, an
// embedded object) are no text of either character set and stay as they are.
bool IsStructure(QChar c) {
    return c == QChar::LineSeparator || c == QChar::ObjectReplacementCharacter ||
           c == QChar::ParagraphSeparator || c.unicode() == 0xFDD0 || c.unicode() == 0xFDD1;
}

QString ConvertText(const QString& text, bool oemToAnsi) {
    const std::u16string_view in(reinterpret_cast<const char16_t*>(text.constData()),
                                 static_cast<std::size_t>(text.size()));
    const std::u16string out = oemToAnsi ? platform::ConvertOemToAnsi(in) : platform::ConvertAnsiToOem(in);
    QString result = QString::fromUtf16(out.data(), static_cast<qsizetype>(out.size()));
    // The conversion keeps one code unit for one, so the places are the same.
    for (qsizetype i = 0; i < text.size(); ++i)
        if (IsStructure(text[i])) result[i] = text[i];
    return result;
}

// One piece of a line in one character format.
struct Run {
    int position;
    QString text;
    QTextCharFormat format;
};

// The number of lines to convert: an empty last line after a final line break does not count.
int LinesToConvert(const QTextDocument& document) {
    const int blocks = document.blockCount();
    return blocks > 1 && document.lastBlock().length() <= 1 ? blocks - 1 : blocks;
}

}  // namespace

void TEditForm::Ascii1Click() { Convert(Conversion::OemToAnsi); }

void TEditForm::Ansi1Click() { Convert(Conversion::AnsiToOem); }

// The lines are the text's own lines, between line breaks: the lines as displayed would move
// while the text is rewritten (the converted characters have other widths), leaving
// characters unconverted or converting them twice.
void TEditForm::Convert(Conversion way) {
    // One conversion at a time: a second one started from the menu while the first lets
    // events through would convert lines twice.
    if (converting_) return;
    const bool oemToAnsi = way == Conversion::OemToAnsi;
    const char* question =
        oemToAnsi ? "Umwandlung eines DOS-Textes in das WINDOWS-Format.\r\n"
                    "ASCII -> ANSI-Konvertierung des ganzen Textes?"
                  : "Umwandlung eines WINDOWS-Textes in das DOS-Format.\r\n"
                    "ANSI -> ASCII-Konvertierung des ganzen Textes?";
    const platform::MessageButton answer = Modal([&] {
        return dialogs_.Message(this, platform::MessageKind::Confirm, QString::fromUtf8(question),
                                platform::ButtonYes | platform::ButtonNo);
    });
    if (answer != platform::ButtonYes) return;

    QApplication::setOverrideCursor(Qt::WaitCursor);
    SetModified(true);
    editor_->hide();
    converting_ = true;
    EnableConversions(false, false);
    // Whatever way the loop ends, the window is usable again and only the way back is offered.
    struct End {
        TEditForm& form;
        bool oemToAnsi;
        ~End() {
            form.conversionBatch_ = nullptr;
            form.converting_ = false;
            form.stopConversion_ = false;
            form.editor_->show();
            form.EnableConversions(!oemToAnsi, oemToAnsi);
            QApplication::restoreOverrideCursor();
        }
    } end{*this, oemToAnsi};

    const int lines = LinesToConvert(*editor_->document());
    EditBatch batch(editor_->document());
    conversionBatch_ = &batch;
    // The caret goes to the end of each line converted; the control is hidden, so it is put
    // there when the status line shows it.
    QTextCursor caret(editor_->document());
    for (int i = 0; i < lines; ++i) {
        if (stopConversion_) continue;
        if (i % 10 == 0) {
            if (batch.Due()) batch.Close();
            if (caret.document() == editor_->document()) editor_->setTextCursor(caret);
            UpdateCursorPos();
            QCoreApplication::processEvents();
            // A close or a load in those events: not even this line is touched.
            if (stopConversion_) continue;
        }
        ConvertLine(i, way, batch, caret);
    }
    batch.Close();
    if (caret.document() == editor_->document()) editor_->setTextCursor(caret);
    conversionBatch_ = nullptr;
}

// Rewrites the runs of the line that change, each in its own format, so a rich text keeps
// its bold words and fonts; the caret ends at the end of the line. The whole conversion is
// one step for undo.
void TEditForm::ConvertLine(int line, Conversion way, EditBatch& batch, QTextCursor& caret) {
    QTextDocument* document = editor_->document();
    // The text may have been emptied or replaced by now: lines past its end are passed over,
    // and a text that took the place of the converted one is not converted.
    const QTextBlock block = document->findBlockByNumber(line);
    if (!block.isValid() || batch.Document() != document) return;
    std::vector<Run> runs;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (fragment.isValid())
            runs.push_back({fragment.position(), fragment.text(), fragment.charFormat()});
    }
    for (const Run& run : runs) {
        const QString converted = ConvertText(run.text, way == Conversion::OemToAnsi);
        if (converted == run.text) continue;
        QTextCursor& cursor = batch.Edit();
        cursor.setPosition(run.position);
        cursor.setPosition(run.position + static_cast<int>(run.text.size()), QTextCursor::KeepAnchor);
        cursor.insertText(converted, run.format);
    }
    caret.setPosition(block.position() + block.length() - 1);
}

// A close during a conversion stops it and is refused: the lines converted so far stay
// converted, the rest as they were.
void TEditForm::StopConversionOnClose() {
    stopConversion_ = true;
    // The lines converted so far are laid out before the control shows them.
    if (conversionBatch_) conversionBatch_->Close();
    editor_->show();
    QCoreApplication::processEvents();
    Modal([this] {
        return dialogs_.Message(this, platform::MessageKind::Error,
                                QString::fromUtf8("Text unvollständig konvertiert !"),
                                platform::ButtonOk);
    });
}

}  // namespace editor
