// SPDX-License-Identifier: GPL-3.0-or-later
// Typed notes outlive a killed program: a real notes window in a process of its own reaches
// a moment of its text's life, is killed with SIGKILL (nothing of its own runs any more),
// and its recovery copy must hold the last word typed, or, after a save, be gone. Copies of
// running programs are never offered to another.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTest>
#include <signal.h>
#include <sys/stat.h>

#include "file_fixture.h"
#include "platform/recovery_file.h"

namespace {

using editor_test::FileFolder;

class Probe {
public:
    Probe(const FileFolder& folder, const std::string& notes, const char* moment,
          const std::string& saveAs = {}) {
        QStringList args = {QString::fromStdString(folder.Path("copies").string()),
                            QString::fromStdString(folder.Path(notes).string()),
                            QString::fromLatin1(moment)};
        if (!saveAs.empty()) args << QString::fromStdString(saveAs);
        process_.start(QStringLiteral(TOLVANE_BIN_DIR "/notes_probe"), args);
    }
    ~Probe() { Kill(); }
    bool Ready() {
        return QTest::qWaitFor([&] { return process_.readAllStandardOutput().contains("ready") ||
                                            process_.state() == QProcess::NotRunning; },
                               20'000) &&
               process_.state() == QProcess::Running;
    }
    void Signal(int signal) { ::kill(static_cast<pid_t>(process_.processId()), signal); }
    void Kill() {
        if (process_.state() == QProcess::NotRunning) return;
        Signal(SIGKILL);
        process_.waitForFinished(10'000);
    }
    // The program's exit status once it has ended by itself; -1 when it did not.
    int Ended() {
        return process_.waitForFinished(20'000) && process_.exitStatus() == QProcess::NormalExit
                   ? process_.exitCode()
                   : -1;
    }

private:
    QProcess process_;
};

// The copies no running program holds, as the next F1 finds them.
std::vector<platform::FoundRecovery> Offered(const FileFolder& folder, const std::string& notes) {
    platform::RecoveryStore store;
    store.SetFolder(folder.Path("copies"));
    return store.Unheld(notes.empty() ? std::string() : folder.Path(notes).string());
}

bool HoldsLastWord(const std::vector<platform::FoundRecovery>& copies) {
    return copies.size() == 1 &&
           copies[0].record.text.find("Schlusswort") != std::string::npos;
}

// A whole copy with the last word in the folder, read without its lock.
bool CopyOnDisk(const FileFolder& folder) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path("copies"), ec)) {
        std::ifstream in(entry.path(), std::ios::binary);
        bool cutOff = true;
        const auto record = platform::DecodeRecovery(
            std::string(std::istreambuf_iterator<char>(in), {}), &cutOff);
        if (record && !cutOff && record->text.find("Schlusswort") != std::string::npos)
            return true;
    }
    return false;
}

// Each moment, then SIGKILL: is the last word typed in a copy of the right text afterwards?
TEST(NotesSessionKilled, TheLastWordIsInACopy) {
    const struct {
        const char* moment;
        const char* file;           // the notes file loaded ("" : none, the text is unnamed)
        std::string copyOf;         // the text the copy must belong to ("": unnamed)
        bool lastWordKept;
    } rows[] = {
        {"typed", "a.txt", "a.txt", true},
        {"rtf", "b.RTF", "b.RTF", true},
        {"failed-save", "protected.txt", "protected.txt", true},  // its error box left open
        {"changed-no", "a.txt", "a.txt", true},
        {"failed-saveas", "a.txt", "a.txt", true},  // into a folder that does not exist
        {"new", "a.txt", "", true},
        {"sigterm", "a.txt", "a.txt", true},
        {"sighup", "a.txt", "a.txt", true},
        {"session-end", "a.txt", "a.txt", true},  // the desktop session's request to save
        {"saved", "a.txt", "a.txt", false},
        {"link-folder", "a.txt", "a.txt", false},  // the copies' folder is a link
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.moment);
        FileFolder folder;
        folder.Write("a.txt", "alt\n");
        folder.Write("b.RTF", "{\\rtf1\\ansi {\\b fett} alt\\par}");
        folder.Write("protected.txt", "alt\n");
        ::chmod(folder.Path("protected.txt").c_str(), 0444);
        folder.MakeFolder("elsewhere");
        if (std::string(row.moment) == "link-folder")
            std::filesystem::create_directory_symlink("elsewhere", folder.Path("copies"));
        Probe probe(folder, row.file, row.moment, folder.Path("nirgends/neu.txt").string());
        ASSERT_TRUE(probe.Ready());
        const int signal = row.moment == std::string("sigterm")  ? SIGTERM
                           : row.moment == std::string("sighup") ? SIGHUP
                                                                 : 0;
        if (signal) {
            probe.Signal(signal);  // right after the typing: the program ends by itself
            EXPECT_EQ(probe.Ended(), 128 + signal);
        } else if (row.lastWordKept) {
            // Held by the running program, a copy is offered to nobody; it is on disk all
            // the same, once the writer's thread has written it whole.
            EXPECT_TRUE(Offered(folder, row.copyOf).empty());
            EXPECT_TRUE(QTest::qWaitFor([&] { return CopyOnDisk(folder); }, 20'000));
        }
        probe.Kill();
        const auto copies = Offered(folder, row.copyOf);
        EXPECT_EQ(HoldsLastWord(copies), row.lastWordKept) << copies.size();
        EXPECT_TRUE(std::filesystem::is_empty(folder.Path("elsewhere")));
        EXPECT_EQ(folder.Read("a.txt"), row.moment == std::string("saved")
                                            ? "erstes Wort Schlusswortalt\n"
                                            : row.moment == std::string("changed-no") ? "fremd\n"
                                                                                      : "alt\n");
    }
}

}  // namespace

namespace {

// Two programs on one file: the save in one removes its own copy only, and the other's copy,
// held while it runs, is offered once that program is gone.
TEST(NotesSessionKilled, TwoProgramsKeepTheirOwnCopies) {
    FileFolder folder;
    folder.Write("a.txt", "alt\n");
    Probe typing(folder, "a.txt", "typed");
    ASSERT_TRUE(typing.Ready());
    ASSERT_TRUE(QTest::qWaitFor([&] { return CopyOnDisk(folder); }, 20'000));
    Probe saving(folder, "a.txt", "saved");
    ASSERT_TRUE(saving.Ready());
    EXPECT_TRUE(Offered(folder, "a.txt").empty());
    EXPECT_TRUE(CopyOnDisk(folder));
    typing.Kill();
    EXPECT_TRUE(HoldsLastWord(Offered(folder, "a.txt")));
    EXPECT_EQ(folder.Read("a.txt"), "erstes Wort Schlusswortalt\n");
}

}  // namespace
