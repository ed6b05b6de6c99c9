// SPDX-License-Identifier: GPL-3.0-or-later
// Dialogs for tests: every prompt is recorded, answers come from queues the test fills.
#pragma once

#include <QApplication>
#include <QFont>
#include <QPrinter>
#include <QString>
#include <QTest>
#include <QWidget>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "platform/qt/dialogs.h"

namespace testing_support {

struct Prompt {
    enum Type { MessageBox, InputBox, OpenFile, SaveFile, FontDialog, PrintDialog, PrinterSetup } type;
    platform::MessageKind kind = platform::MessageKind::Plain;
    QString caption;
    QString text;  // message text, the input box's prompt, or a file dialog's title
    unsigned buttons = 0;
    QString initial;  // input boxes; the preset name of file dialogs
    platform::FileRequest file;  // file dialogs: the request as the window made it
    QFont font;  // the font dialog: the font it started on
    const QWidget* owner = nullptr;  // message boxes: the window the box belongs to
};

// The answer to a file dialog: the name chosen (nullopt: Cancel) and the filter the user
// ends on (0: the one preset).
struct FileAnswer {
    std::optional<QString> name;
    int filterIndex = 0;
};

class ScriptedDialogs : public platform::Dialogs {
public:
    platform::MessageButton Message(QWidget* parent, platform::MessageKind kind,
                                    const QString& text, unsigned buttons) override {
        prompts.push_back({Prompt::MessageBox, kind, platform::MessageCaption(kind, parent), text,
                           buttons, {}, {}, {}, parent});
        TakeTheFocusLikeABox();
        if (!answers.empty()) {
            const platform::MessageButton answer = answers.front();
            answers.pop_front();
            return answer;
        }
        for (platform::MessageButton b : {platform::ButtonOk, platform::ButtonAbort,
                                          platform::ButtonNo, platform::ButtonCancel})
            if (buttons & b) return b;
        return platform::ButtonOk;
    }

    // The next queued text, or the initial text when nothing is queued or the queued
    // answer is "Cancel" (nullopt).
    QString Input(QWidget*, const QString& caption, const QString& prompt,
                  const QString& initial) override {
        prompts.push_back({Prompt::InputBox, platform::MessageKind::Plain, caption, prompt, 0,
                           initial, {}, {}});
        if (inputs.empty()) return initial;
        const std::optional<QString> answer = inputs.front();
        inputs.pop_front();
        return answer.value_or(initial);
    }

    std::optional<QString> OpenFileName(QWidget* parent, platform::FileRequest& request) override {
        return File(Prompt::OpenFile, parent, request);
    }
    std::optional<QString> SaveFileName(QWidget* parent, platform::FileRequest& request) override {
        return File(Prompt::SaveFile, parent, request);
    }

    // The font dialog: the next queued answer (nullopt: Cancel); Cancel when none is queued.
    std::optional<QFont> Font(QWidget*, const QFont& initial) override {
        prompts.push_back({Prompt::FontDialog, platform::MessageKind::Plain, {}, {}, 0, {}, {},
                           initial});
        if (fonts.empty()) return std::nullopt;
        const std::optional<QFont> answer = fonts.front();
        fonts.pop_front();
        return answer;
    }

    // The print dialogs: the next queued answer sets the printer up as the user would and
    // says whether OK was pressed; Cancel when none is queued.
    bool Print(QWidget*, QPrinter& printer) override {
        return PrinterDialog(Prompt::PrintDialog, printAnswers, printer);
    }
    bool PrinterSetup(QWidget*, QPrinter& printer) override {
        return PrinterDialog(Prompt::PrinterSetup, setupAnswers, printer);
    }

    // A real box is a window of its own: while it is open it has the keyboard focus, and
    // when it closes no field of the window behind it has the focus until that window is
    // active again. A stand-in window does the same here.
    static void TakeTheFocusLikeABox() {
        QWidget box;
        box.setWindowTitle(QStringLiteral("box"));
        box.show();
        box.activateWindow();
        [[maybe_unused]] const bool active = QTest::qWaitForWindowActive(&box, 1000);
    }

    std::vector<QString> MessageTexts() const {
        std::vector<QString> texts;
        for (const Prompt& p : prompts)
            if (p.type == Prompt::MessageBox) texts.push_back(p.text);
        return texts;
    }

    std::vector<Prompt> prompts;
    std::deque<platform::MessageButton> answers;
    std::deque<std::optional<QString>> inputs;
    // File dialogs answer Cancel when nothing is queued.
    std::deque<FileAnswer> files;
    // Runs while a file dialog is open, to look at the window behind it.
    std::function<void()> whileFileDialogOpen;
    std::deque<std::optional<QFont>> fonts;
    std::deque<std::function<bool(QPrinter&)>> printAnswers;
    std::deque<std::function<bool(QPrinter&)>> setupAnswers;

private:
    bool PrinterDialog(Prompt::Type type, std::deque<std::function<bool(QPrinter&)>>& queue,
                       QPrinter& printer) {
        prompts.push_back({type, platform::MessageKind::Plain, {}, {}, 0, {}, {}, {}});
        if (queue.empty()) return false;
        const auto answer = queue.front();
        queue.pop_front();
        return answer(printer);
    }

    std::optional<QString> File(Prompt::Type type, QWidget*, platform::FileRequest& request) {
        prompts.push_back({type, platform::MessageKind::Plain, request.title, request.title, 0,
                           request.fileName, request, {}});
        if (whileFileDialogOpen) whileFileDialogOpen();
        if (files.empty()) return std::nullopt;
        const FileAnswer answer = files.front();
        files.pop_front();
        if (answer.name && answer.filterIndex > 0) request.filterIndex = answer.filterIndex;
        return answer.name;
    }
};

}  // namespace testing_support
