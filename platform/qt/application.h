// The application object and its general error handling: an exception that ends an event
// handler is shown in an "Error" box, and the event loop goes on.
#pragma once

#include <QApplication>

#include "platform/qt/dialogs.h"

namespace platform {

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
