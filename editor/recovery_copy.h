// SPDX-License-Identifier: GPL-3.0-or-later
// The recovery copy of the notes text: written a moment after the last change, and at
// least every 30 s while typing goes on, by a thread of its own, so that typing never waits
// on the disk; removed once the text is saved or its changes are dropped. The window gives
// a snapshot of its text on the UI thread, the thread turns it into bytes and writes them.
#pragma once

#include <QString>
#include <QTimer>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "platform/recovery_file.h"

namespace editor {

// What a copy is to hold: the record without its text, and the work that makes the text
// (run on the writer's thread).
struct RecoveryCopySnapshot {
    platform::RecoveryRecord record;
    std::function<std::string()> text;
};

class RecoveryCopy {
public:
    using Snapshot = RecoveryCopySnapshot;
    // Nothing when there is nothing to keep: the text is unchanged or has no file; the copy
    // written last is then removed.
    using SnapshotMaker = std::function<std::optional<Snapshot>()>;

    explicit RecoveryCopy(SnapshotMaker snapshot);
    // Ends the writer after the work it was given; a change not yet written is lost here,
    // so the window writes it first (Flush).
    ~RecoveryCopy();
    RecoveryCopy(const RecoveryCopy&) = delete;
    RecoveryCopy& operator=(const RecoveryCopy&) = delete;

    // The folder of the copies; empty (the default): no copies at all.
    void SetFolder(std::filesystem::path folder);
    const std::filesystem::path& Folder() const { return folder_; }
    // How long the text must rest before a copy is written, and the longest time between
    // copies while it changes.
    void SetDelays(int quietMs, int longestMs);

    // The text changed: a copy follows once it rests.
    void Changed();
    // The text of `notesFile` was saved or its changes dropped: its copy is removed, and so
    // is the copy written last under another name.
    void Discard(const QString& notesFile);
    // The copy of `notesFile`, once the writer has done what it was given.
    std::optional<platform::FoundRecovery> Find(const QString& notesFile);
    // Writes a change not yet written, and waits until the writer is done.
    void Flush();

private:
    struct Job {
        std::filesystem::path removal;  // empty: a write
        std::optional<Snapshot> write;
    };
    void WriteNow();
    void Queue(Job job);
    void WaitIdle();
    void Work();
    void Report(const std::string& error);

    SnapshotMaker snapshot_;
    std::filesystem::path folder_;
    QTimer quiet_;
    QTimer longest_;
    QString written_;  // the notes file whose copy was written last (UI thread)

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<Job> jobs_;
    bool busy_ = false;
    bool ending_ = false;
    std::string lastError_;  // the writer's last line on standard error, not repeated
    std::thread writer_;
};

}  // namespace editor
