// SPDX-License-Identifier: GPL-3.0-or-later
// The recovery copy's timing on the UI thread and its writer thread.
#include "editor/recovery_copy.h"

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>

namespace editor {

RecoveryCopy::RecoveryCopy(SnapshotMaker snapshot)
    : snapshot_(std::move(snapshot)), writer_([this] { Work(); }) {
    quiet_.setSingleShot(true);
    longest_.setSingleShot(true);
    SetDelays(2000, 30000);
    QObject::connect(&quiet_, &QTimer::timeout, [this] { WriteNow(); });
    QObject::connect(&longest_, &QTimer::timeout, [this] { WriteNow(); });
    QObject::connect(&readingAhead_, &QTimer::timeout, [this] {
        if (readAhead_()) readingAhead_.stop();
    });
}

RecoveryCopy::~RecoveryCopy() {
    {
        const std::lock_guard lock(mutex_);
        ending_ = true;
    }
    wake_.notify_one();
    writer_.join();
}

void RecoveryCopy::SetFolder(std::filesystem::path folder) {
    WaitIdle();
    enabled_ = !folder.empty();
    store_.SetFolder(std::move(folder));
}

void RecoveryCopy::SetDelays(int quietMs, int longestMs) {
    quiet_.setInterval(quietMs);
    longest_.setInterval(longestMs);
}

// On the key path: no more than restarting a timer.
void RecoveryCopy::Changed() {
    if (!enabled_) return;
    quiet_.start();
    if (!longest_.isActive()) longest_.start();
    if (readAhead_ && !readingAhead_.isActive()) readingAhead_.start(0);
}

void RecoveryCopy::Discard() {
    quiet_.stop();
    longest_.stop();
    readingAhead_.stop();
    if (!enabled_) return;
    {
        // Copies not yet written are of a text that is now saved or dropped.
        const std::lock_guard lock(mutex_);
        std::erase_if(jobs_, [](const Job& job) { return job.kind == Job::Kind::Write; });
    }
    Queue({Job::Kind::Remove, {}, {}});
}

std::vector<platform::FoundRecovery> RecoveryCopy::Unheld(const std::string& notesFile) {
    if (!enabled_) return {};
    WaitIdle();
    return store_.Unheld(notesFile);
}

void RecoveryCopy::Adopt(platform::FoundRecovery copy) {
    Queue({Job::Kind::Adopt, {}, std::move(copy)});
}

void RecoveryCopy::Delete(platform::FoundRecovery copy) { store_.Delete(std::move(copy)); }

void RecoveryCopy::Flush() {
    if (quiet_.isActive() || longest_.isActive()) WriteNow();
    WaitIdle();
}

void RecoveryCopy::WriteNow() {
    quiet_.stop();
    longest_.stop();
    if (!enabled_) return;
    std::optional<Snapshot> snapshot = snapshot_();
    if (!snapshot && held_) return;
    {
        // A copy still waiting is out of date.
        const std::lock_guard lock(mutex_);
        std::erase_if(jobs_, [](const Job& job) { return job.kind == Job::Kind::Write; });
    }
    // Nothing to keep: the text is as saved again, and a copy would offer nothing.
    if (!snapshot)
        Queue({Job::Kind::Remove, {}, {}});
    else
        Queue({Job::Kind::Write, std::move(snapshot), {}});
}

void RecoveryCopy::Queue(Job job) {
    {
        const std::lock_guard lock(mutex_);
        jobs_.push_back(std::move(job));
    }
    wake_.notify_one();
}

void RecoveryCopy::WaitIdle() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return jobs_.empty() && !busy_; });
}

void RecoveryCopy::Work() {
    // Below the UI thread: on a busy machine the keys come first. (Linux gives each thread
    // a nice value of its own.)
    (void)::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), 10);
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return ending_ || !jobs_.empty(); });
        if (jobs_.empty()) return;  // ending, with nothing left to do
        Job job = std::move(jobs_.front());
        jobs_.pop_front();
        busy_ = true;
        lock.unlock();
        switch (job.kind) {
        case Job::Kind::Write: {
            platform::RecoveryRecord record = std::move(job.write->record);
            std::string error;
            try {
                record.text = job.write->text();
                if (store_.Write(std::move(record), error)) error.clear();
            } catch (const std::exception& e) {
                error = record.notesFile + ": Wiederherstellungskopie nicht geschrieben (" +
                        e.what() + ")";
            }
            Report(error);
            break;
        }
        case Job::Kind::Remove: store_.Remove(); break;
        case Job::Kind::Adopt: store_.Adopt(std::move(*job.adopt)); break;
        }
        job = {};  // the snapshot goes on this thread
        lock.lock();
        busy_ = false;
        if (jobs_.empty()) idle_.notify_all();
    }
}

// A copy that cannot be written never stops the editing: one line on standard error, and
// the same line not again until a copy has been written.
void RecoveryCopy::Report(const std::string& error) {
    if (error == lastError_) return;
    lastError_ = error;
    if (!error.empty()) std::fprintf(stderr, "tolvane: %s\n", error.c_str());
}

}  // namespace editor
