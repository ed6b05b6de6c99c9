// SPDX-License-Identifier: GPL-3.0-or-later
// The recovery copy's timing on the UI thread and its writer thread.
#include "editor/recovery_copy.h"
#include "editor/notes_path.h"

#include <QFile>
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
    const std::lock_guard lock(mutex_);
    folder_ = std::move(folder);
}

void RecoveryCopy::SetDelays(int quietMs, int longestMs) {
    quiet_.setInterval(quietMs);
    longest_.setInterval(longestMs);
}

// On the key path: no more than restarting a timer.
void RecoveryCopy::Changed() {
    if (folder_.empty()) return;
    quiet_.start();
    if (!longest_.isActive()) longest_.start();
}

void RecoveryCopy::Discard(const QString& notesFile) {
    quiet_.stop();
    longest_.stop();
    if (folder_.empty()) return;
    std::unique_lock lock(mutex_);
    // Copies not yet written are of a text that is now saved or dropped.
    std::erase_if(jobs_, [](const Job& job) { return job.write.has_value(); });
    lock.unlock();
    for (const QString& name : {notesFile, written_})
        if (!name.isEmpty()) Queue({PathOf(name), std::nullopt});
    written_.clear();
}

std::optional<platform::FoundRecovery> RecoveryCopy::Find(const QString& notesFile) {
    if (folder_.empty()) return std::nullopt;
    WaitIdle();
    return platform::ReadRecovery(folder_, PathOf(notesFile));
}

void RecoveryCopy::Flush() {
    if (quiet_.isActive() || longest_.isActive()) WriteNow();
    WaitIdle();
}

void RecoveryCopy::WriteNow() {
    quiet_.stop();
    longest_.stop();
    if (folder_.empty()) return;
    std::optional<Snapshot> snapshot = snapshot_();
    if (!snapshot) {
        // The text is as saved again: a copy would offer nothing.
        if (!written_.isEmpty()) Queue({PathOf(written_), std::nullopt});
        written_.clear();
        return;
    }
    const QString name = QFile::decodeName(snapshot->record.notesFile.c_str());
    const QString previous = written_;
    {
        // A copy of the same text still waiting is out of date.
        const std::lock_guard lock(mutex_);
        std::erase_if(jobs_, [](const Job& job) { return job.write.has_value(); });
    }
    Queue({{}, std::move(snapshot)});
    // One copy per text: the one of its former name goes.
    if (!previous.isEmpty() && previous != name) Queue({PathOf(previous), std::nullopt});
    written_ = name;
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
        const std::filesystem::path folder = folder_;
        lock.unlock();
        if (job.write) {
            platform::RecoveryRecord record = std::move(job.write->record);
            std::string error;
            try {
                record.text = job.write->text();
                if (platform::WriteRecovery(folder, record, error)) error.clear();
            } catch (const std::exception& e) {
                error = record.notesFile + ": Wiederherstellungskopie nicht geschrieben (" +
                        e.what() + ")";
            }
            Report(error);
        } else {
            platform::RemoveRecovery(folder, job.removal);
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
