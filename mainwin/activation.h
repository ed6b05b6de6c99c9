// SPDX-License-Identifier: GPL-3.0-or-later
// Decides when the calculator window's activation handler runs: when the keyboard focus
// comes to it for the first time (its first showing, whatever box had the focus before it)
// or from the notes editor, but not on return from another program or from one of this
// program's message boxes.
#pragma once

#include <QPointer>
#include <QWidget>

namespace mainwin {

class ActivationTracker {
public:
    ActivationTracker(const QWidget* mainWindow) : main_(mainWindow) {}

    void SetEditorWindow(const QWidget* editor) { editor_ = editor; }

    // Focus came to the top-level window `window` (nullptr: to no window of the program,
    // which is ignored). Returns true when the main window's activation handler runs.
    bool FocusArrived(const QWidget* window) {
        if (!window) return false;
        const bool activate =
            window == main_ && (!mainSeen_ || (last_ && last_ == editor_.data()));
        if (window == main_) mainSeen_ = true;
        last_ = window;
        return activate;
    }

private:
    const QWidget* main_;
    QPointer<const QWidget> editor_;
    QPointer<const QWidget> last_;
    bool mainSeen_ = false;
};

}  // namespace mainwin
