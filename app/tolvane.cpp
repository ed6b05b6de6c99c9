// The program entry of the calculator window.
#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>

#include "editor/recovery_copy.h"
#include "editor/tedit_form.h"
#include "mainwin/tform1.h"
#include "platform/locations.h"
#include "platform/qt/application.h"
#include "platform/qt/dialogs.h"

namespace {

// "--version" anywhere on the command line; answered before anything needs a display.
bool AsksForVersion(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) return true;
    }
    return false;
}

int Run(int argc, char** argv) {
    platform::TolvaneApplication app(argc, argv);
    app.setApplicationName(QString::fromLatin1(platform::AppFolderName));
    app.setApplicationVersion(QStringLiteral(TOLVANE_VERSION));
    // Desktops match the window to its menu entry and icon by this name.
    app.setDesktopFileName(QStringLiteral(TOLVANE_APP_ID));
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
