// SPDX-License-Identifier: GPL-3.0-or-later
// The real program as a user works with it: on a private X display (Xvfb), driven through
// keyboard and window moves with xdotool, ended with the end command and started again.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTextDocument>
#include <QThread>
#include <filesystem>
#include <fstream>
#include <memory>
#include <signal.h>
#include <unistd.h>

#include "editor/formats/notes_file.h"
#include "platform/ini_file.h"
#include "support/temp_folder.h"

// Texts in failure messages as text, not as a row of bytes.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

// Runs a tool to its end (at most `ms`); its standard output, trimmed, and in `status` its
// exit status.
QString RunTool(const QString& tool, const QStringList& arguments, const QProcessEnvironment& env,
                int* status = nullptr, int ms = 10000) {
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(tool, arguments);
    if (!process.waitForFinished(ms)) {
        process.kill();
        process.waitForFinished();
        ADD_FAILURE() << tool.toStdString() << " " << arguments.join(' ').toStdString()
                      << " did not finish";
    }
    if (status) *status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

template <class Condition>
bool WaitFor(Condition done, int ms = 10000) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > ms) return false;
        QThread::msleep(50);
    }
    return true;
}

// A private X server for the test, on a display number no other server holds.
class PrivateDisplay {
public:
    PrivateDisplay() {
        for (int n = 100 + ::getpid() % 500; n < 1000 && name_.isEmpty(); n += 7) {
            if (QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(n))) continue;
            // -noreset: a server resets when its last client leaves, and refuses connections
            // meanwhile; the program is started twice, and the keyboard set once.
            server_.start(QStringLiteral("Xvfb"), {QStringLiteral(":%1").arg(n), "-screen", "0",
                                                   "1280x1024x24", "-nolisten", "tcp",
                                                   "-noreset"});
            if (!server_.waitForStarted()) return;
            // Ready once its socket is there; a server that ends had lost the race for `n`.
            const QString socket = QStringLiteral("/tmp/.X11-unix/X%1").arg(n);
            bool ended = false;
            WaitFor([&] { return QFile::exists(socket) || (ended = server_.waitForFinished(50)); });
            if (!ended && QFile::exists(socket)) name_ = QStringLiteral(":%1").arg(n);
        }
    }
    ~PrivateDisplay() {
        server_.terminate();
        server_.waitForFinished(3000);
    }
    const QString& Name() const { return name_; }

private:
    QProcess server_;
    QString name_;
};

class DesktopSession : public testing::Test {
protected:
    void SetUp() override {
        for (const char* tool : {"Xvfb", "xdotool", "setxkbmap"})
            if (QStandardPaths::findExecutable(tool).isEmpty())
                GTEST_SKIP() << tool
                             << " is not installed (Debian packages xvfb, xdotool, x11-xkb-utils)";
        display_ = std::make_unique<PrivateDisplay>();
        ASSERT_FALSE(display_->Name().isEmpty()) << "Xvfb did not start";
        env_ = QProcessEnvironment::systemEnvironment();
        env_.insert("DISPLAY", display_->Name());
        // A German keyboard, as the program's users have: umlauts and ß are keys of their
        // own, so xdotool need not remap a key for each of them while typing.
        // (The first client to get through also shows that the server is ready.)
        ASSERT_TRUE(WaitFor([&] {
            int status = 1;
            RunTool(QStringLiteral("setxkbmap"), {"de"}, env_, &status);
            return status == 0;
        })) << "setxkbmap de failed";
        env_.insert("QT_QPA_PLATFORM", "xcb");
        env_.insert("LC_ALL", "C.UTF-8");  // one language, whatever the machine's
        // In the sanitizer build: libxkbcommon-x11 calls strndup on a keymap name that ends
        // within its length but has no NUL there, which strndup allows and the strict
        // string checks do not.
        if (env_.contains("ASAN_OPTIONS"))
            env_.insert("ASAN_OPTIONS", env_.value("ASAN_OPTIONS")
                                            .replace("strict_string_checks=1",
                                                     "strict_string_checks=0"));
        for (const char* name : {"tolvane", "PLANETS.NDX", "PLANETS.DAT", "Vivar01.TTF"})
            std::filesystem::copy_file(std::filesystem::path(TOLVANE_BIN_DIR) / name,
                                       folder_.Path() / name);
    }
    void TearDown() override {
        if (program_.state() != QProcess::NotRunning) {
            program_.kill();
            program_.waitForFinished();
        }
    }

    QString Path(const char* name) const {
        return QString::fromStdString((folder_.Path() / name).string());
    }
    QString Xdotool(const QStringList& arguments) {
        return RunTool(QStringLiteral("xdotool"), arguments, env_);
    }
    void Keys(const QString& keys) {
        Xdotool(QStringList{"key", "--delay", "30"} + keys.split(' '));
    }
    void Type(const QString& text) { Xdotool({"type", "--delay", "30", text}); }

    // Starts the program and returns its main window, once shown and holding the focus.
    QString Start(const QStringList& arguments) {
        program_.setProcessEnvironment(env_);
        program_.setProcessChannelMode(QProcess::MergedChannels);
        program_.start(Path("tolvane"), arguments);
        EXPECT_TRUE(program_.waitForStarted());
        QString main;
        EXPECT_TRUE(WaitFor([&] {
            return !(main = ShownWindow(QString())).isEmpty() || program_.waitForFinished(0);
        })) << Output();
        if (main.isEmpty()) return main;
        // The program asks for the focus as it shows its window; without a window manager
        // the X server may refuse it to a new client, and then it gets it as from a click.
        const auto focused = [&] { return Xdotool({"getwindowfocus"}) == main; };
        if (!WaitFor(focused, 2000)) Xdotool({"windowfocus", "--sync", main});
        EXPECT_TRUE(WaitFor(focused)) << Output();
        return main;
    }
    // The shown window of the program whose title ends with `suffix` (empty: the first).
    QString ShownWindow(const QString& suffix) {
        const QStringList windows =
            Xdotool({"search", "--onlyvisible", "--pid", QString::number(program_.processId())})
                .split('\n', Qt::SkipEmptyParts);
        for (const QString& w : windows)
            if (suffix.isEmpty() || Xdotool({"getwindowname", w}).endsWith(suffix)) return w;
        return {};
    }
    // Position and size of a window as "x,y WxH".
    QString Geometry(const QString& window) {
        const QStringList lines = Xdotool({"getwindowgeometry", window}).split('\n');
        if (lines.size() < 3) return {};
        return lines[1].section(':', 1).section('(', 0, 0).trimmed() + " " +
               lines[2].section(':', 1).trimmed();
    }
    // F1 in the calculator: the notes window opens on the default notes file with the focus.
    QString OpenNotes() {
        Keys("F1");
        QString notes;
        EXPECT_TRUE(WaitFor([&] {
            notes = ShownWindow("/tolvane.RTF");
            return !notes.isEmpty() && Xdotool({"getwindowfocus"}) == notes;
        })) << Output();
        return notes;
    }
    // Escape closes the notes window; the focus goes back to the calculator, as a window
    // manager gives it to the window below (this display has none).
    void CloseNotes(const QString& main) {
        Keys("Escape");
        EXPECT_TRUE(WaitFor([&] { return ShownWindow("/tolvane.RTF").isEmpty(); }));
        Xdotool({"windowfocus", "--sync", main});
    }
    // Alt+E: "&Ende + Parametersicherung".
    void End() {
        Keys("alt+e");
        EXPECT_TRUE(program_.waitForFinished(10000)) << "the end command did not end the program";
        EXPECT_EQ(program_.exitCode(), 0) << Output();
    }
    // What the program wrote so far, for failure messages.
    std::string Output() {
        program_.waitForReadyRead(200);
        return program_.readAll().toStdString();
    }

    QString NotesText() const {
        std::ifstream in(folder_.Path() / "tolvane.RTF", std::ios::binary);
        const std::string bytes(std::istreambuf_iterator<char>(in), {});
        QTextDocument document;
        editor::NotesFile().read(QByteArray::fromStdString(bytes), false, document);
        return document.toPlainText();
    }

    testing_support::TempFolder folder_;
    std::unique_ptr<PrivateDisplay> display_;
    QProcessEnvironment env_;
    QProcess program_;
};

TEST_F(DesktopSession, NotesAndSettingsOutliveTheProgram) {
    const QString note = QStringLiteral("Grüße vom Mondjahr");

    // First run: a date from the command line, another typed in, a note, the end command.
    QString main = Start({"24031998", "14"});
    ASSERT_FALSE(main.isEmpty());
    Xdotool({"windowmove", "--sync", main, "120", "80"});
    Keys("t ctrl+a 1 5 m ctrl+a 8 j ctrl+a 2 0 0 1 Return");
    QString notes = OpenNotes();
    ASSERT_FALSE(notes.isEmpty());
    const QString notesGeometry = Geometry(notes);
    Type(note);
    Keys("F2");
    EXPECT_TRUE(WaitFor([&] { return NotesText() == note; })) << NotesText().toStdString();
    CloseNotes(main);
    End();

    const platform::IniDocument settings = platform::IniFile(folder_.Path() / "tolvane.INI").Load();
    EXPECT_EQ(settings.ReadInteger("Main", "Left", -1), 120);
    EXPECT_EQ(settings.ReadInteger("Main", "Top", -1), 80);
    const auto editorKey = [&](const char* key) {
        return QString::fromStdString(settings.ReadString("Editor", key, "(missing)"));
    };
    EXPECT_EQ(QStringLiteral("%1,%2 %3x%4")
                  .arg(editorKey("Left"), editorKey("Top"), editorKey("Width"),
                       editorKey("Height")),
              notesGeometry);
    EXPECT_EQ(editorKey("LastPos"), QString::number(note.size()));
    EXPECT_EQ(editorKey("WordWrap"), "1");
    EXPECT_EQ(editorKey("FileName"), Path("tolvane.RTF"));
    EXPECT_EQ(editorKey("SuchText"), "");
    EXPECT_EQ(editorKey("IsBAK"), "0");
    EXPECT_EQ(editorKey("FontName"), "Arial");
    EXPECT_EQ(editorKey("FontSize"), "10");

    // Second run: the window where it was left, the note with the caret where it was.
    main = Start({});
    ASSERT_FALSE(main.isEmpty());
    EXPECT_TRUE(Geometry(main).startsWith("120,80 ")) << Geometry(main).toStdString();
    notes = OpenNotes();
    ASSERT_FALSE(notes.isEmpty());
    Type("!");
    Keys("F2");
    EXPECT_TRUE(WaitFor([&] { return NotesText() == note + "!"; })) << NotesText().toStdString();
    CloseNotes(main);
    End();
}

// Typed notes outlive a kill: the recovery copy written while the text rested is offered at
// the next F1, and Yes shows the text, still to be saved.
TEST_F(DesktopSession, TypedNotesOutliveAKill) {
    const QString note = QStringLiteral("Übermorgen Neumond");
    QString main = Start({"24031998", "14"});
    ASSERT_FALSE(main.isEmpty());
    ASSERT_FALSE(OpenNotes().isEmpty());
    Type(note);
    // The copy follows some two seconds after the last key.
    const std::filesystem::path folder = folder_.Path() / "tolvane.recovery";
    // (A temporary file may be there before the copy takes its name.)
    const auto copies = [&] {
        int n = 0;
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
            n += entry.path().extension() == ".recovery";
        return n;
    };
    ASSERT_TRUE(WaitFor([&] { return copies() == 1; })) << Output();
    ::kill(static_cast<pid_t>(program_.processId()), SIGKILL);
    ASSERT_TRUE(program_.waitForFinished(5000));
    EXPECT_FALSE(std::filesystem::exists(folder_.Path() / "tolvane.RTF"));

    main = Start({"24031998", "14"});
    ASSERT_FALSE(main.isEmpty());
    Keys("F1");
    // The question comes first, in a box of its own; Alt+Y answers "&Yes".
    QString box;
    ASSERT_TRUE(WaitFor([&] { return !(box = ShownWindow("Confirm")).isEmpty(); })) << Output();
    Xdotool({"windowfocus", "--sync", box});
    Keys("alt+y");
    QString notes;
    ASSERT_TRUE(WaitFor([&] { return !(notes = ShownWindow("/tolvane.RTF")).isEmpty(); }));
    // Saved, the text is the one typed before the kill.
    Xdotool({"windowfocus", "--sync", notes});
    Keys("F2");
    EXPECT_TRUE(WaitFor([&] { return NotesText() == note; })) << NotesText().toStdString();
    EXPECT_TRUE(WaitFor([&] { return copies() == 0; })) << "the copy outlived the save";
    CloseNotes(main);
    End();
}

// Shift with a digit key unlocks the fields as the digit does ("$", a hexadecimal number,
// on a German keyboard): the running clock stops at once.
TEST_F(DesktopSession, ShiftedDigitUnlocksTheFields) {
    const QString main = Start({});
    ASSERT_FALSE(main.isEmpty());
    const auto clockRuns = [&] { return Xdotool({"getwindowname", main}).endsWith("   UHR"); };
    EXPECT_TRUE(WaitFor(clockRuns)) << Output();
    Keys("j shift+4");
    EXPECT_TRUE(WaitFor([&] { return !clockRuns(); })) << Output();
}

// Without any desktop the program says so in German, names the way to calculate in a
// terminal and ends with status 1.
TEST(NoDesktop, SaysSoAndEnds) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(TOLVANE_BIN_DIR "/tolvane"), {"24031998", "14"});
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 1);
    const QString error = QString::fromUtf8(program.readAllStandardError());
    EXPECT_TRUE(error.contains("keine grafische Oberfläche gefunden")) << error.toStdString();
    EXPECT_TRUE(error.contains("tolvane-cli 24031998 14")) << error.toStdString();

    // A desktop chosen by QT_QPA_PLATFORM was the only one tried: the message names it.
    env.insert("QT_QPA_PLATFORM", "xcb");
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(TOLVANE_BIN_DIR "/tolvane"), {"24031998", "14"});
    ASSERT_TRUE(program.waitForFinished(10000));
    const QString chosen = QString::fromUtf8(program.readAllStandardError());
    EXPECT_TRUE(chosen.contains("in QT_QPA_PLATFORM gewählte grafische Oberfläche \"xcb\""))
        << chosen.toStdString();
}

}  // namespace
