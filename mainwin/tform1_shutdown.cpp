// Ending the program: the end command, which saves the settings, and every other way of
// closing the window, which asks first when "End-Msg" is checked and saves nothing.
#include <QCloseEvent>
#include <QCoreApplication>

#include "mainwin/tform1.h"
#include "platform/qt/application.h"

namespace mainwin {

void TForm1::MenuEndeClick() {
    SaveSettings();  // a write error ends the command here; the program keeps running
    RemoveGlyphFont();
    ending_ = true;
    close();
    QCoreApplication::quit();
}

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
    RemoveGlyphFont();
    ending_ = true;
    event->accept();
    // Closing the main window ends the program, even while a message box of a handler
    // that asked for the close is still to come.
    QCoreApplication::quit();
}

bool TForm1::FormClose() {
    if (!EndMsg()) return true;
    return dialogs_.Message(this, platform::MessageKind::Confirm,
                            "beenden OHNE Parametersicherung?",
                            platform::ButtonYes | platform::ButtonNo) == platform::ButtonYes;
}

}  // namespace mainwin
