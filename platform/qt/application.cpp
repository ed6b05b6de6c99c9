// The one place where exceptions are caught on their way into the event loop.
#include "platform/qt/application.h"

#include <QWidget>
#include <cstdio>
#include <exception>

namespace platform {

TolvaneApplication::TolvaneApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TolvaneApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowError(QString::fromUtf8(e.what()));
    } catch (...) {
        ShowError(QStringLiteral("Unknown error"));
    }
    return false;
}

void TolvaneApplication::ShowError(const QString& text) {
    if (dialogs_) {
        dialogs_->Message(activeWindow(), MessageKind::Error, text, ButtonOk);
    } else {
        std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    }
}

}  // namespace platform
