// SPDX-License-Identifier: GPL-3.0-or-later
// "&Ascii zu Ansi" and "Ansi zu Ascii": the question, the control hidden while the lines are
// converted (LineConversion), the status line and events at every tenth line; a close of the
// window or a load stops them.
#include <QApplication>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include "editor/line_conversion.h"
#include "editor/tedit_form.h"

namespace editor {

void TEditForm::Ascii1Click() { Convert(Charset::OemToAnsi); }

void TEditForm::Ansi1Click() { Convert(Charset::AnsiToOem); }

void TEditForm::Convert(Charset way) {
    // One long command at a time: a second conversion started from the menu while the first
    // lets events through would convert lines twice.
    if (longCommand_.Running()) return;
    const bool oemToAnsi = way == Charset::OemToAnsi;
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

    LongCommand::Run run(longCommand_, LongCommand::Kind::Conversion, true);
    SetModified(true);
    editor_->hide();
    EnableConversions(false, false);
    // Whatever way the walk ends, the window is usable again and only the way back is offered.
    // The hidden control lost the keyboard focus, and a load or an emptying meanwhile left
    // it with no field at all: typed keys and Escape go to the text again.
    struct End {
        TEditForm& form;
        bool oemToAnsi;
        ~End() {
            form.editor_->show();
            form.editor_->setFocus();
            form.EnableConversions(!oemToAnsi, oemToAnsi);
        }
    } end{*this, oemToAnsi};

    // Events come through at every tenth line. The caret (at the end of the line converted
    // last) and with it the status line follow at the end of each batch of edits, 20 ms or
    // more: a refresh at every tenth line would cost more than the conversion itself.
    LineConversion conversion(*editor_->document(), way, run.Batch());
    const QTextCursor caret = conversion.Run([&](const QTextCursor& at) {
        if (run.Batch().Due()) {
            run.Batch().Close();
            editor_->setTextCursor(at);
        }
        return run.Pass();
    });
    run.Batch().Close();
    if (caret.document() == editor_->document()) editor_->setTextCursor(caret);
}

// A close during a conversion stops it and is refused: the lines converted so far stay
// converted, the rest as they were.
void TEditForm::StopConversionOnClose() {
    longCommand_.Stop();
    editor_->show();
    QCoreApplication::processEvents();
    Modal([this] {
        return dialogs_.Message(this, platform::MessageKind::Error,
                                QString::fromUtf8("Text unvollständig konvertiert !"),
                                platform::ButtonOk);
    });
}

}  // namespace editor
