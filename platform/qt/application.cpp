// SPDX-License-Identifier: GPL-3.0-or-later
// Reporting errors that ended a handler, and the last net for any that reach Qt.
#include "platform/qt/application.h"

#include <QWidget>
#include <cstdio>
#include <exception>

namespace platform {

namespace {

// A font without a bold face of its own, such as the glyph font, is emboldened by Qt only
// below 64 pixels: from 48 points up the glyphs would lose their bold weight. The limit
// goes, so bold stays bold at every size. Qt reads it whenever it prepares a font.
void EmboldenAtEverySize() {
    if (!qEnvironmentVariableIsSet("QT_NO_SYNTHESIZED_BOLD_LIMIT"))
        qputenv("QT_NO_SYNTHESIZED_BOLD_LIMIT", "1");
}

}  // namespace

TolvaneApplication::TolvaneApplication(int& argc, char** argv) : QApplication(argc, argv) {
    EmboldenAtEverySize();
}

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

void ReportError(const QString& text) noexcept {
    try {
        if (auto* app = dynamic_cast<TolvaneApplication*>(QCoreApplication::instance())) {
            app->ShowError(text);
            return;
        }
        std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    } catch (...) {
        // Showing the error failed too (no memory for the box): standard error is all
        // that is left.
        std::fputs("Error\n", stderr);
    }
}

void TolvaneApplication::ShowError(const QString& text) {
    if (dialogs_) {
        dialogs_->Message(activeWindow(), MessageKind::Error, text, ButtonOk);
    } else {
        std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    }
}

}  // namespace platform
