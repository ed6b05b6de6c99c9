// SPDX-License-Identifier: GPL-3.0-or-later
// Ending the program: the end command, which saves the settings, and every other way of
// closing the window, which asks first when "End-Msg" is checked and saves nothing. Both
// wait for a conversion of the notes to end and offer to save modified notes first.
#include <QCloseEvent>
#include <QCoreApplication>

#include "editor/tedit_form.h"
#include "mainwin/tform1.h"
#include "platform/qt/application.h"

namespace mainwin {

// The notes window's conversion processes events, so an end can arrive while it runs.
bool TForm1::RefuseWhileConverting() {
    if (!editForm_ || !editForm_->Converting()) return false;
    dialogs_.Message(this, platform::MessageKind::Error, "Text-Konversion läuft noch.",
                     platform::ButtonOk);
    return true;
}

// Whatever the user does in the Save As dialog, and whatever error it shows, the end goes on.
void TForm1::SaveModifiedNotes() {
    if (editForm_ && editForm_->Modified())
        platform::RunGuarded([this] { editForm_->Saveas1Click(); });
}

void TForm1::MenuEndeClick() {
    if (RefuseWhileConverting()) return;
    // A replace in the notes lets events through: it stops before the end goes on.
    if (editForm_) editForm_->StopLongCommand();
    SaveModifiedNotes();
    SaveSettings();  // a write error ends the command here; the program keeps running
    RemoveGlyphFont();
    ending_ = true;
    close();
    EndEventLoop();
}

// Stops the event loop as it stands. (quit() would first ask every window to close: the
// notes window would offer once more to save a text whose Save As the user just cancelled,
// and a Cancel there would leave the program running without its main window.)
void TForm1::EndEventLoop() { QCoreApplication::exit(0); }

void TForm1::closeEvent(QCloseEvent* event) {
    if (ending_) {
        event->accept();
        return;
    }
    // A question that could not be asked keeps the program running.
    bool close = false;
    platform::RunGuarded([&] { close = FormClose(); });
    if (!close) {
        event->ignore();
        return;
    }
    if (editForm_) editForm_->StopLongCommand();
    RemoveGlyphFont();
    ending_ = true;
    event->accept();
    // Closing the main window ends the program, even while a message box of a handler
    // that asked for the close is still to come.
    EndEventLoop();
}

bool TForm1::FormClose() {
    if (RefuseWhileConverting()) return false;
    SaveModifiedNotes();
    if (!EndMsg()) return true;
    return dialogs_.Message(this, platform::MessageKind::Confirm,
                            "beenden OHNE Parametersicherung?",
                            platform::ButtonYes | platform::ButtonNo) == platform::ButtonYes;
}

}  // namespace mainwin
