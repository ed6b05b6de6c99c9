// SPDX-License-Identifier: GPL-3.0-or-later
// A calculator window in a private program folder with its own settings file, term files
// and glyph font, a scripted clock and scripted dialogs, and its notes window.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <memory>

#include "editor/tedit_form.h"
#include "mainwin/tform1.h"
#include "platform/qt/application.h"
#include "scripted_dialogs.h"
#include "support/temp_folder.h"

namespace testing_support {

class WindowTest : public testing::Test {
protected:
    WindowTest() {
        for (const char* name : {"PLANETS.NDX", "PLANETS.DAT", "Vivar01.TTF"})
            std::filesystem::copy_file(std::filesystem::path(TOLVANE_BIN_DIR) / name,
                                       folder_ / name);
        app()->SetDialogs(&dialogs);
    }
    ~WindowTest() override {
        form.reset();
        editForm.reset();
        app()->SetDialogs(nullptr);
    }

    static platform::TolvaneApplication* app() {
        return static_cast<platform::TolvaneApplication*>(QCoreApplication::instance());
    }

    std::filesystem::path File(const char* name) const { return folder_ / name; }
    QString ProgramFile() const { return QString::fromStdString((folder_ / "tolvane").string()); }
    QString Folder() const { return QString::fromStdString(folder_.string()) + "/"; }

    void WriteSettings(const std::string& text) {
        std::ofstream(File("tolvane.INI"), std::ios::binary) << text;
    }
    std::string ReadSettings() const {
        std::ifstream in(File("tolvane.INI"), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    // Creates both windows as the program entry does; false when creation ended the
    // program.
    bool Create(QStringList arguments = {}) {
        form.reset();
        form = std::make_unique<mainwin::TForm1>(dialogs, ProgramFile(), std::move(arguments),
                                                 [this] { return now; });
        const bool created = form->FormCreate();
        editForm = std::make_unique<editor::TEditForm>(dialogs);
        form->SetEditForm(editForm.get());
        return created;
    }
    // Creates the window and runs its first activation.
    void Start(QStringList arguments = {}) {
        ASSERT_TRUE(Create(std::move(arguments)));
        form->FormActivate();
    }

    QString Text(const char* field) const {
        if (QLineEdit* edit = form->Field(field)) return edit->text();
        return form->Label(field)->text();
    }
    QStringList Inputs() const {
        return {Text("SEdit"), Text("TEdit"), Text("MEdit"), Text("JEdit")};
    }
    bool InputsGrey() const {
        const QLineEdit* e = form->Field("SEdit");
        return e->palette().color(QPalette::Base) ==
               QApplication::palette(e).color(QPalette::Button);
    }
    // Runs a menu command the way a click does: through the event loop, where errors are
    // caught and shown. A check-mark item inverts its mark first, as on a click.
    void Trigger(const char* action) {
        QMetaObject::invokeMethod(form->Action(action), "trigger", Qt::QueuedConnection);
        QCoreApplication::processEvents();
    }

    // Processes events until `done` holds or `ms` milliseconds have passed; true if it
    // holds. (QtTest's QTRY_ macros report to QtTest, not to GoogleTest: a failure there
    // would pass unseen.)
    template <class Condition>
    static bool WaitFor(Condition done, int ms = 5000) {
        return QTest::qWaitFor(done, ms);
    }

    // Shows the window and waits until it has the focus, as when the program starts.
    void ShowAndActivate() {
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        QCoreApplication::processEvents();
    }

    ScriptedDialogs dialogs;
    QDateTime now{QDate(2024, 2, 10), QTime(14, 25, 7)};
    std::unique_ptr<editor::TEditForm> editForm;
    std::unique_ptr<mainwin::TForm1> form;

private:
    const TempFolder temp_;
    const std::filesystem::path folder_ = temp_.Path();
};

}  // namespace testing_support
