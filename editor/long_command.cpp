// SPDX-License-Identifier: GPL-3.0-or-later
// The owner of the long commands: one at a time, stopped by a load, an emptying or a close.
#include "editor/long_command.h"

#include <QApplication>

namespace editor {

void LongCommand::Stop() {
    stop_ = true;
    if (batch_) batch_->Close();
}

LongCommand::Run::Run(LongCommand& owner, Kind kind, bool waitCursor)
    : owner_(owner), waitCursor_(waitCursor) {
    if (owner_.Running()) return;
    started_ = true;
    owner_.kind_ = kind;
    // A request left over from before (a load that failed) is not meant for this command.
    owner_.stop_ = false;
    owner_.document_ = owner_.shown_();
    owner_.batch_ = std::make_unique<EditBatch>(owner_.document_);
    if (waitCursor_) QApplication::setOverrideCursor(Qt::WaitCursor);
    owner_.running_(true);
}

LongCommand::Run::~Run() {
    if (!started_) return;
    owner_.batch_.reset();
    owner_.document_ = nullptr;
    owner_.kind_.reset();
    owner_.stop_ = false;
    if (waitCursor_) QApplication::restoreOverrideCursor();
    owner_.running_(false);
}

bool LongCommand::Run::GoOn() const {
    return !owner_.stop_ && owner_.document_ && owner_.document_ == owner_.shown_();
}

bool LongCommand::Run::Pass() {
    QCoreApplication::processEvents();
    return GoOn();
}

}  // namespace editor
