// SPDX-License-Identifier: GPL-3.0-or-later
// The application object and its general error handling: an exception that ends an event
// handler is shown in an "Error" box, and the event loop goes on. Exceptions are caught
// where our code is entered from Qt (RunGuarded), so that none crosses Qt's own code;
// TolvaneApplication::notify stays as the last net.
#pragma once

#include <QApplication>
#include <exception>

#include "platform/qt/dialogs.h"

namespace platform {

// Shows the text of an error that ended a handler in the "Error" box of the running
// TolvaneApplication (on standard error without one). Never throws.
void ReportError(const QString& text) noexcept;

// Runs `handler`, a piece of our code entered from Qt: a slot, an event handler, start-up.
// An exception that ends it is reported and goes no further. False when it ended so.
template <class Handler>
bool RunGuarded(Handler&& handler) noexcept {
    try {
        handler();
        return true;
    } catch (const std::exception& e) {
        ReportError(QString::fromUtf8(e.what()));
    } catch (...) {
        ReportError(QStringLiteral("Unknown error"));
    }
    return false;
}

class TolvaneApplication : public QApplication {
public:
    TolvaneApplication(int& argc, char** argv);

    // The dialogs that show errors; without them errors go to standard error.
    void SetDialogs(Dialogs* dialogs) { dialogs_ = dialogs; }

    bool notify(QObject* receiver, QEvent* event) override;

    // Shows the text of an error that ended an event handler.
    void ShowError(const QString& text);

private:
    Dialogs* dialogs_ = nullptr;
};

}  // namespace platform
