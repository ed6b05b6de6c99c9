// SPDX-License-Identifier: GPL-3.0-or-later
// Activation, the command line, keys and clicks of the calculator window.
#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

#include "cycle/command_line.h"
#include "editor/tedit_form.h"
#include "mainwin/tform1.h"
#include "platform/qt/application.h"

namespace mainwin {

namespace {

// The letters underlined in the field captions move the focus, whatever the modifiers.
constexpr std::pair<int, cycle::InputField> FocusKeys[] = {
    {Qt::Key_J, cycle::InputField::JEdit}, {Qt::Key_M, cycle::InputField::MEdit},
    {Qt::Key_S, cycle::InputField::SEdit}, {Qt::Key_T, cycle::InputField::TEdit}};

// The keys of the digit row are known by their place, not by what they type: Shift+4 gives
// "$" on a German keyboard (a hexadecimal number) and must unlock like the 4. X11 and
// Wayland number the keys as the kernel does plus 8, the row 1..0 as 10..19; elsewhere
// the key's digit has to do.
bool IsDigitRowKey(const QKeyEvent* e) {
    if (e->modifiers() & Qt::KeypadModifier) return false;
    if (e->key() >= Qt::Key_0 && e->key() <= Qt::Key_9) return true;
    static const bool kernelKeyNumbers =
        QGuiApplication::platformName() == QLatin1String("xcb") ||
        QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    return kernelKeyNumbers && e->nativeScanCode() >= 10 && e->nativeScanCode() <= 19;
}

// Keys that may edit the input fields: the digit row, both minus keys, Backspace and
// Delete, whatever the modifiers. Every other key, the keypad's digits included, locks them.
// Shift turns the main keyboard's minus key into "_" (German and US layouts alike).
bool IsUnlockingKey(const QKeyEvent* e) {
    const int key = e->key();
    if (key == Qt::Key_Backspace || key == Qt::Key_Delete || key == Qt::Key_Minus) return true;
    if (key == Qt::Key_Underscore && !(e->modifiers() & Qt::KeypadModifier)) return true;
    return IsDigitRowKey(e);
}

}  // namespace

void TForm1::OnFocusWindowChanged() {
    if (!activation_.FocusArrived(QApplication::activeWindow())) return;
    QMetaObject::invokeMethod(
        this, [this] { platform::RunGuarded([this] { FormActivate(); }); }, Qt::QueuedConnection);
}

void TForm1::FormActivate() {
    if (ending_) return;
    if (firstActivation_) {
        firstActivation_ = false;
        LoadDeferredSettings();
        if (editForm_) {
            // The print margins are not kept in the settings.
            editor::EditorSettings settings = editForm_->Settings();
            settings.printMarginX = settings.printMarginY = 20;
            editForm_->SetSettings(settings);
        }
        ReadCommandLine();
        if (ending_) return;  // a bad argument closed the window
    }
    WriteInputs();
    calc_.CalcReturnPress();
    if (timerEnabled_) {
        // Restart the clock: the interval starts afresh and one tick runs at once.
        SetTimerEnabled(false);
        MenuClockClick();
    }
}

void TForm1::ReadCommandLine() {
    if (arguments_.size() < 2) {
        SetTimerEnabled(true);
        ReadClock();
        return;
    }
    SetTimerEnabled(false);
    const std::string date = arguments_[0].toStdString();
    const std::string hour = arguments_[1].toStdString();
    std::vector<std::string> messages =
        cycle::ReadDateArgument(date, calc_.InputDay, calc_.InputMonth, calc_.InputYear);
    for (std::string& m : cycle::ReadHourArgument(hour, calc_.InputHour))
        messages.push_back(std::move(m));
    // Each bad part is reported and asks the window to close; the reading goes on until
    // a close goes ahead, which ends the program.
    for (const std::string& message : messages) {
        if (ending_) break;
        dialogs_.Message(this, platform::MessageKind::Error, QString::fromStdString(message),
                         platform::ButtonAbort);
        close();
    }
}

void TForm1::ReadClock() {
    const QDateTime now = clock_();
    calc_.InputYear = now.date().year();
    calc_.InputMonth = now.date().month();
    calc_.InputDay = now.date().day();
    calc_.InputHour = now.time().hour();
}

void TForm1::WriteInputs() {
    Input(cycle::InputField::SEdit)->setText(QString::number(calc_.InputHour));
    Input(cycle::InputField::TEdit)->setText(QString::number(calc_.InputDay));
    Input(cycle::InputField::MEdit)->setText(QString::number(calc_.InputMonth));
    Input(cycle::InputField::JEdit)->setText(QString::number(calc_.InputYear));
}

void TForm1::SetInputsReadOnly(bool readOnly) {
    for (QLineEdit* edit : inputs_) edit->setReadOnly(readOnly);
}

bool TForm1::FormKeyDown(QKeyEvent* event) {
    if (IsUnlockingKey(event)) {
        if (timerEnabled_) MenuClockClick();
        SetInputsReadOnly(false);
    } else {
        SetInputsReadOnly(true);
    }
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        calc_.CalcReturnPress();
        return true;
    case Qt::Key_Escape:
        close();
        return true;
    case Qt::Key_F1:
        MenuNotizenClick();
        return true;
    default:
        // As the keyboard's focus moves do, the jump selects the field's text, so that
        // what is typed next replaces it.
        for (const auto& [key, field] : FocusKeys) {
            if (event->key() != key) continue;
            Input(field)->setFocus();
            Input(field)->selectAll();
        }
        return false;
    }
}

void TForm1::EditClick() {
    if (timerEnabled_) {
        MenuClockClick();
        QCoreApplication::processEvents();
    }
    calc_.CalcReturnPress();
}

// Every key reaches FormKeyDown once, before the field that has the focus sees it: the
// fields' filter takes the keys sent to a field, keyPressEvent those sent to the window
// itself. A command key ends with the filter: a field has no use for Return or Escape, and
// passed on it would travel up to the window and run its command a second time (after a
// message box the focus is not back on the field yet, so the window could not tell).
// A key whose handling failed is taken as used up as well: its error has been shown.
bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        bool command = false;
        const bool ok =
            platform::RunGuarded([&] { command = FormKeyDown(static_cast<QKeyEvent*>(event)); });
        if (command || !ok) return true;
    } else if (event->type() == QEvent::MouseButtonPress &&
               static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        // A click is the left button's; the right one opens the field's menu on the
        // selection as it stands (a calculation would empty it first).
        platform::RunGuarded([this] { EditClick(); });
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::keyPressEvent(QKeyEvent* event) {
    const QWidget* focus = QApplication::focusWidget();
    const bool fromField = focus && focus->window() == this && qobject_cast<const QLineEdit*>(focus);
    if (!fromField) platform::RunGuarded([&] { FormKeyDown(event); });
    QMainWindow::keyPressEvent(event);
}

}  // namespace mainwin
