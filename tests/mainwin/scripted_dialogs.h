// Dialogs for tests: every prompt is recorded, answers come from queues the test fills.
#pragma once

#include <QApplication>
#include <QString>
#include <QTest>
#include <QWidget>
#include <deque>
#include <optional>
#include <vector>

#include "platform/qt/dialogs.h"

namespace testing_support {

struct Prompt {
    enum Type { MessageBox, InputBox } type;
    platform::MessageKind kind = platform::MessageKind::Plain;
    QString caption;
    QString text;  // message text, or the input box's prompt
    unsigned buttons = 0;
    QString initial;  // input boxes
};

class ScriptedDialogs : public platform::Dialogs {
public:
    platform::MessageButton Message(QWidget* parent, platform::MessageKind kind,
                                    const QString& text, unsigned buttons) override {
        prompts.push_back({Prompt::MessageBox, kind, platform::MessageCaption(kind, parent), text,
                           buttons, {}});
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
                           initial});
        if (inputs.empty()) return initial;
        const std::optional<QString> answer = inputs.front();
        inputs.pop_front();
        return answer.value_or(initial);
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
};

}  // namespace testing_support
