// SPDX-License-Identifier: GPL-3.0-or-later
// A notes window in a process of its own, for the tests that kill it: it loads a notes file
// with copies in a folder, types as a user does, reaches one moment of a text's life and
// says "ready" on standard output; then it runs on until it is killed. An error box stays
// open (it never returns), as a user may leave it.
//
//   notes_probe FOLDER NOTES-FILE MOMENT [SAVE-AS-NAME]
#include <QApplication>
#include <QEventLoop>
#include <QTest>
#include <QTextEdit>
#include <QtGui/private/qguiapplication_p.h>
#include <cstdio>
#include <fstream>

#include "editor/recovery_copy.h"
#include "editor/tedit_form.h"
#include "platform/qt/application.h"
#include "platform/qt/end_signals.h"

namespace {

void Ready() {
    std::puts("ready");
    std::fflush(stdout);
}

class ProbeDialogs : public platform::Dialogs {
public:
    QString saveAs;
    platform::MessageButton Message(QWidget*, platform::MessageKind kind, const QString&,
                                    unsigned buttons) override {
        if (kind == platform::MessageKind::Error) {
            Ready();
            QEventLoop().exec();
        }
        return buttons & platform::ButtonNo ? platform::ButtonNo : platform::ButtonOk;
    }
    QString Input(QWidget*, const QString&, const QString&, const QString& initial) override {
        return initial;
    }
    std::optional<QString> OpenFileName(QWidget*, platform::FileRequest&) override {
        return std::nullopt;
    }
    std::optional<QString> SaveFileName(QWidget*, platform::FileRequest&) override {
        return saveAs.isEmpty() ? std::nullopt : std::optional(saveAs);
    }
    std::optional<QFont> Font(QWidget*, const QFont&) override { return std::nullopt; }
    bool Print(QWidget*, QPrinter&) override { return false; }
    bool PrinterSetup(QWidget*, QPrinter&) override { return false; }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) return 2;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    platform::TolvaneApplication app(argc, argv);
    const QString notes = QString::fromLocal8Bit(argv[2]);
    const std::string moment = argv[3];
    ProbeDialogs dialogs;
    if (argc > 4) dialogs.saveAs = QString::fromLocal8Bit(argv[4]);
    app.SetDialogs(&dialogs);
    editor::TEditForm form(dialogs);
    form.Recovery().SetFolder(argv[1]);
    // Only the moment itself may write the copy, unless the copy follows the typing.
    const bool byTimer = moment == "typed" || moment == "new" || moment == "rtf";
    form.Recovery().SetDelays(byTimer ? 50 : 600'000, byTimer ? 1000 : 600'000);
    platform::KeepAtEnd([&] { form.Recovery().Flush(); });
    form.show();
    form.LoadFile(notes);
    if (moment == "new") form.Action("New1")->trigger();
    QTest::keyClicks(form.Editor(), QStringLiteral("erstes Wort "));
    if (moment == "changed-no") {
        // Another program rewrites the file.
        std::ofstream(argv[2], std::ios::binary | std::ios::trunc) << "fremd\n";
    }
    QTest::keyClicks(form.Editor(), QStringLiteral("Schlusswort"));
    if (moment == "failed-save" || moment == "changed-no" || moment == "saved")
        form.Action("Save1")->trigger();
    if (moment == "failed-saveas") form.Action("Saveas1")->trigger();
    if (moment == "saved" || moment == "link-folder") form.Recovery().Flush();
    // The desktop session ends: its manager asks the program to save what it holds, as
    // Qt's session management does on the manager's request.
    if (moment == "session-end") QGuiApplicationPrivate::instance()->commitData();
    Ready();
    return app.exec();
}
