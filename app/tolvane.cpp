// The program entry of the calculator window.
#include <QCoreApplication>
#include <QStringList>

#include "mainwin/tform1.h"
#include "platform/qt/application.h"
#include "platform/qt/dialogs.h"

int main(int argc, char** argv) {
    platform::TolvaneApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("tolvane"));
    platform::QtDialogs dialogs;
    app.SetDialogs(&dialogs);

    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    mainwin::TForm1 form(dialogs, QCoreApplication::applicationFilePath(), arguments);
    // Without its term files the program ends at once; no window is shown.
    if (!form.FormCreate()) return 0;
    form.show();
    form.activateWindow();
    return app.exec();
}
