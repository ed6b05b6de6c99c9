// SPDX-License-Identifier: GPL-3.0-or-later
// The recovery copy of the notes text: written a moment after the last change, and at
// least every 30 s while typing goes on, by a thread of its own, so that typing never waits
// on the disk; removed once the text is saved or its changes are dropped. The session gives
// a snapshot of its text on the UI thread, the thread turns it into bytes and writes them.
// The copy is this running text's own (platform::RecoveryStore): locked while the program
// runs, never offered to another window, left on disk when the program goes.
#pragma once

#include <QTimer>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

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
    // Nothing when there is nothing to keep (the text is as saved): the copy is removed.
    using SnapshotMaker = std::function<std::optional<Snapshot>()>;

    explicit RecoveryCopy(SnapshotMaker snapshot);
    // Ends the writer after the work it was given; a change not yet written is lost here,
    // so the owner writes it first (Flush). The copy stays on disk.
    ~RecoveryCopy();
    RecoveryCopy(const RecoveryCopy&) = delete;
    RecoveryCopy& operator=(const RecoveryCopy&) = delete;

    // The folder of the copies; empty (the default): no copies at all.
    void SetFolder(std::filesystem::path folder);
    // How long the text must rest before a copy is written, and the longest time between
    // copies while it changes.
    void SetDelays(int quietMs, int longestMs);
    // Work that makes the next snapshot quicker, done in short steps from the event loop
    // after a change (a step returns true when nothing is left to do).
    void SetReadAhead(std::function<bool()> step) { readAhead_ = std::move(step); }
    // While held (a save and its boxes run), no copy is removed.
    void Hold(bool on) { held_ = on; }

    // The text changed: a copy follows once it rests.
    void Changed();
    // A copy of the text as it is now, at once (a save failed or was refused).
    void WriteNow();
    // The text was saved or its changes dropped: its copy is removed.
    void Discard();
    // The copies for `notesFile` (empty: texts without a name) that no running program
    // holds, newest first, once the writer has done what it was given.
    std::vector<platform::FoundRecovery> Unheld(const std::string& notesFile);
    // A found copy becomes this text's own (its text is shown), or is deleted.
    void Adopt(platform::FoundRecovery copy);
    void Delete(platform::FoundRecovery copy);
    // Writes a change not yet written, and waits until the writer is done.
    void Flush();

private:
    struct Job {
        enum class Kind { Write, Remove, Adopt } kind;
        std::optional<Snapshot> write;
        std::optional<platform::FoundRecovery> adopt;
    };
    void Queue(Job job);
    void WaitIdle();
    void Work();
    void Report(const std::string& error);

    SnapshotMaker snapshot_;
    bool enabled_ = false;  // a folder is set (UI thread)
    bool held_ = false;
    QTimer quiet_;
    QTimer longest_;
    std::function<bool()> readAhead_;
    QTimer readingAhead_;

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<Job> jobs_;
    bool busy_ = false;
    bool ending_ = false;
    std::string lastError_;  // the writer's last line on standard error, not repeated
    platform::RecoveryStore store_;  // the writer's, or the UI thread's while it is idle
    std::thread writer_;
};

}  // namespace editor
