// SPDX-License-Identifier: GPL-3.0-or-later
// A notes window over a private folder, with scripted dialogs that record every prompt.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QTextEdit>
#include <memory>

#include "editor/tedit_form.h"
#include "file_fixture.h"
#include "platform/qt/application.h"
#include "scripted_dialogs.h"

// Texts in failure messages as text, not as a row of bytes.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace editor_test {

class EditFormTest : public testing::Test {
protected:
    EditFormTest() {
        app()->SetDialogs(&dialogs);
        form = std::make_unique<editor::TEditForm>(dialogs);
    }
    ~EditFormTest() override {
        form.reset();
        app()->SetDialogs(nullptr);
    }

    static platform::TolvaneApplication* app() {
        return static_cast<platform::TolvaneApplication*>(QCoreApplication::instance());
    }

    QString Name(const std::string& file) const {
        return QString::fromStdString(folder.Path(file).string());
    }
    QString Text() const { return form->Editor()->toPlainText(); }
    // Types as a user does, so that the control sets its modified flag.
    void Type(const QString& text) { QTest::keyClicks(form->Editor(), text); }
    void Key(Qt::Key key) { QTest::keyClick(form->Editor(), key); }
    void Caret(int position) {
        QTextCursor c = form->Editor()->textCursor();
        c.setPosition(position);
        form->Editor()->setTextCursor(c);
    }
    // Runs a command the way a click does: through the event loop, where errors are caught.
    void Trigger(const char* action) {
        QMetaObject::invokeMethod(form->Action(action), "trigger", Qt::QueuedConnection);
        QCoreApplication::processEvents();
    }
    void ShowAndActivate() {
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        QCoreApplication::processEvents();
    }
    template <class Condition>
    static bool WaitFor(Condition done, int ms = 5000) {
        return QTest::qWaitFor(done, ms);
    }
    // Changes the window's settings as the settings file does.
    template <class Change>
    void Setting(Change change) {
        editor::EditorSettings settings = form->Settings();
        change(settings);
        form->SetSettings(settings);
    }
    // Queues the file dialog's answer.
    void Choose(const QString& name, int filterIndex = 0) {
        dialogs.files.push_back({name, filterIndex});
    }
    std::vector<testing_support::Prompt> Messages() const {
        std::vector<testing_support::Prompt> found;
        for (const auto& p : dialogs.prompts)
            if (p.type == testing_support::Prompt::MessageBox) found.push_back(p);
        return found;
    }
    QString Status() const { return form->StatusPanel(0)->text(); }
    void Select(int from, int to) {
        QTextCursor c = form->Editor()->textCursor();
        c.setPosition(from);
        c.setPosition(to, QTextCursor::KeepAnchor);
        form->Editor()->setTextCursor(c);
    }
    std::pair<int, int> Selection() const {
        const QTextCursor c = form->Editor()->textCursor();
        return {c.selectionStart(), c.selectionEnd()};
    }
    // Opens one of the window's menus, as a click on its title does, and closes it again.
    void OpenMenu(const char* name) {
        auto* menu = form->findChild<QMenu*>(QString::fromLatin1(name));
        ASSERT_NE(menu, nullptr) << name;
        menu->popup(form->mapToGlobal(QPoint(0, 0)));
        QCoreApplication::processEvents();
        menu->hide();
    }

    FileFolder folder;
    testing_support::ScriptedDialogs dialogs;
    std::unique_ptr<editor::TEditForm> form;
};

}  // namespace editor_test
