// SPDX-License-Identifier: GPL-3.0-or-later
// The program entry of the calculator window.
#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <vector>

#include "editor/recovery_copy.h"
#include "editor/tedit_form.h"
#include "mainwin/tform1.h"
#include "platform/locations.h"
#include "platform/qt/application.h"
#include "platform/qt/dialogs.h"
#include "platform/qt/end_signals.h"
#include "platform/qt/translations.h"

namespace {

// "--version" anywhere on the command line; answered before anything needs a display.
bool AsksForVersion(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) return true;
    }
    return false;
}

// While the application object connects to the desktop, Qt ends the program with an
// English message and an abort when it finds none (no DISPLAY, a display that does not
// answer). Instead the user learns in German what is missing and what works without it;
// the other messages of that moment are passed on once the connection stands. Where
// QT_QPA_PLATFORM names the desktop to use, only that one was tried, and the message says
// so rather than claiming that there is none.
struct HeldMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
};
std::vector<HeldMessage> heldMessages;

void WhileConnecting(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        const char* chosen = std::getenv("QT_QPA_PLATFORM");
        if (chosen && *chosen) {
            std::fprintf(stderr,
                         "tolvane: die in QT_QPA_PLATFORM gewählte grafische Oberfläche "
                         "\"%s\" ließ sich nicht öffnen.\n",
                         chosen);
        } else {
            std::fputs("tolvane: keine grafische Oberfläche gefunden (weder X11 noch Wayland).\n",
                       stderr);
        }
        std::fputs("Im Terminal rechnet tolvane-cli, zum Beispiel: tolvane-cli 24031998 14\n",
                   stderr);
        std::_Exit(1);
    }
    heldMessages.push_back({type, context.category, text});
}

class ConnectingToDesktop {
public:
    ConnectingToDesktop() : previous_(qInstallMessageHandler(WhileConnecting)) {}
    ~ConnectingToDesktop() {
        qInstallMessageHandler(previous_);
        for (const HeldMessage& m : heldMessages)
            qt_message_output(m.type,
                              QMessageLogContext(nullptr, 0, nullptr, m.category.constData()),
                              m.text);
        heldMessages.clear();
    }

private:
    QtMessageHandler previous_;
};

std::unique_ptr<platform::TolvaneApplication> ConnectToDesktop(int& argc, char** argv) {
    ConnectingToDesktop connecting;
    return std::make_unique<platform::TolvaneApplication>(argc, argv);
}

int Run(int argc, char** argv) {
    const std::unique_ptr<platform::TolvaneApplication> application = ConnectToDesktop(argc, argv);
    platform::TolvaneApplication& app = *application;
    app.setApplicationName(QString::fromLatin1(platform::AppFolderName));
    app.setApplicationVersion(QStringLiteral(TOLVANE_VERSION));
    // Desktops match the window to its menu entry and icon by this name.
    app.setDesktopFileName(QStringLiteral(TOLVANE_APP_ID));
    platform::InstallQtTranslations();
    platform::QtDialogs dialogs;
    app.SetDialogs(&dialogs);

    // Start-up runs before the event loop; its errors get the same box as any other.
    std::unique_ptr<mainwin::TForm1> form;
    std::unique_ptr<editor::TEditForm> editForm;
    bool created = false;
    const bool ok = platform::RunGuarded([&] {
        QStringList arguments = QCoreApplication::arguments();
        arguments.removeFirst();
        form = std::make_unique<mainwin::TForm1>(dialogs, QCoreApplication::applicationFilePath(),
                                                 arguments);
        created = form->FormCreate();
        // The notes window, hidden until the calculator window opens it.
        editForm = std::make_unique<editor::TEditForm>(dialogs);
        editForm->Recovery().SetFolder(platform::RecoveryFolder(
            QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString()));
        form->SetEditForm(editForm.get());
    });
    if (!ok) return 1;
    // Without its term files the program ends at once; no window is shown.
    if (!created) return 0;
    // An installed program keeps settings and notes in the user's folders; the first save
    // there needs its folder.
    platform::PrepareFolderOf(form->SettingsPath().toStdString());
    platform::PrepareFolderOf(form->DefaultNotesFile().toStdString());
    // An end from outside (shutdown, a closed terminal, the desktop session's end) keeps
    // the notes typed since the last copy.
    platform::KeepAtEnd([&] { editForm->Recovery().Flush(); });
    form->show();
    form->activateWindow();
    int status = 1;
    platform::RunGuarded([&] { status = app.exec(); });
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    if (AsksForVersion(argc, argv)) {
        std::printf("tolvane %s\n", TOLVANE_VERSION);
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    }
    try {
        return Run(argc, argv);
    } catch (const std::exception& e) {
        // Only the application object itself can fail before anything can be shown.
        std::fprintf(stderr, "%s\n", e.what());
    } catch (...) {
        std::fputs("Unknown error\n", stderr);
    }
    return 1;
}
