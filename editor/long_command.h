// SPDX-License-Identifier: GPL-3.0-or-later
// The owner of the notes window's long commands (the DOS/Windows conversion, replace): they
// let events through while they run, and in those events the user may load another file,
// empty the text or close the window.
#pragma once

#include <QPointer>
#include <QTextDocument>
#include <functional>
#include <memory>
#include <optional>

#include "editor/edit_batch.h"

namespace editor {

// One long command at a time, on the document shown when it began. A load, an emptying or a
// close raises the stop request; after every pass of the event loop the command asks
// whether it may go on: not stopped, and its document still the one shown.
class LongCommand {
public:
    enum class Kind { Conversion, Replace };

    // `shown` gives the document the window shows now; `running` is told when a command
    // starts (true) and when it has ended (false).
    LongCommand(std::function<QTextDocument*()> shown, std::function<void(bool)> running)
        : shown_(std::move(shown)), running_(std::move(running)) {}

    bool Running() const { return kind_.has_value(); }
    bool Runs(Kind kind) const { return kind_ == kind; }
    bool StopRequested() const { return stop_; }
    // The running command goes no further; the edits made so far are laid out at once.
    void Stop();
    // A stop request raised while a command runs holds until that command has ended.
    void ClearStop() {
        if (!Running()) stop_ = false;
    }

    // A command while it lives; nothing is started while another one runs.
    class Run {
    public:
        Run(LongCommand& owner, Kind kind, bool waitCursor);
        ~Run();
        Run(const Run&) = delete;
        Run& operator=(const Run&) = delete;

        explicit operator bool() const { return started_; }
        // Its edits, gathered into few layout passes and one step for undo.
        EditBatch& Batch() { return *owner_.batch_; }
        // Not stopped, and the document is still the one shown.
        bool GoOn() const;
        // Lets pending events through once; then GoOn.
        bool Pass();

    private:
        LongCommand& owner_;
        bool started_ = false;
        bool waitCursor_ = false;
    };

private:
    std::function<QTextDocument*()> shown_;
    std::function<void(bool)> running_;
    std::optional<Kind> kind_;
    bool stop_ = false;
    QPointer<QTextDocument> document_;
    std::unique_ptr<EditBatch> batch_;
};

}  // namespace editor
