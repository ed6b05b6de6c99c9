// SPDX-License-Identifier: GPL-3.0-or-later
// The recovery copy of the notes: which moments leave one behind, and its offer at the next
// load.
#include <QKeyEvent>
#include <QTextEdit>
#include <tuple>

#include "editor/recovery_copy.h"
#include "platform/locations.h"
#include "platform/recovery_file.h"
#include "window_fixture.h"

// Texts in failure messages as text, not as a row of bytes.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

class Recovery : public testing_support::WindowTest {
protected:
    // The notes window of a program in this folder, on the default notes file, with copies
    // written 50 ms after a change.
    void OpenNotes() {
        Start({"24031998", "14"});
        editForm->Recovery().SetFolder(platform::RecoveryFolder(ProgramFile().toStdString()));
        editForm->Recovery().SetDelays(50, 1000);
        QTest::keyClick(form->Field("SEdit"), Qt::Key_F1);
    }
    void TypeNote(const QString& text) {
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(editForm->Editor(), &press);
        }
    }
    // The copies in the folder (their names are random).
    std::vector<std::filesystem::path> Copies() const {
        std::vector<std::filesystem::path> found;
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(File("tolvane.recovery"), ec))
            if (entry.path().extension() == ".recovery") found.push_back(entry.path());
        return found;
    }
    bool CopyWritten() { return WaitFor([&] { return Copies().size() == 1; }); }
    std::optional<platform::RecoveryRecord> Copy() const {
        const auto copies = Copies();
        if (copies.size() != 1) return std::nullopt;
        std::ifstream in(copies[0], std::ios::binary);
        return platform::DecodeRecovery(std::string(std::istreambuf_iterator<char>(in), {}));
    }
};

// Only a saved text and changes dropped take the copy away; a killed program and an end
// whose Save As was cancelled leave it, with everything typed.
TEST_F(Recovery, MomentsThatKeepOrRemoveTheCopy) {
    enum class Moment { Killed, Saved, PromptNo, New, CloseNo, EndSaveAsDone, EndSaveAsCancelled };
    const struct {
        const char* name;
        Moment moment;
        bool copyAfter;
    } rows[] = {
        {"typed, then killed", Moment::Killed, true},
        {"saved with F2", Moment::Saved, false},
        {"F1 again, No in the save prompt", Moment::PromptNo, false},
        {"Neu, No in the save prompt", Moment::New, false},
        {"Esc, No in the save prompt", Moment::CloseNo, false},
        {"end, Save As done", Moment::EndSaveAsDone, false},
        {"end, Save As cancelled", Moment::EndSaveAsCancelled, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::filesystem::remove(File("tolvane.RTF"));
        OpenNotes();
        TypeNote("Neumond");
        ASSERT_TRUE(CopyWritten());
        TypeNote(" am Abend");  // not yet in the copy
        dialogs.answers = {platform::ButtonNo};
        switch (row.moment) {
        case Moment::Killed:
            ASSERT_TRUE(WaitFor([&] { return Copy() && Copy()->text.size() > 10; }));
            break;
        case Moment::Saved: editForm->Action("Save1")->trigger(); break;
        case Moment::PromptNo: QTest::keyClick(form->Field("SEdit"), Qt::Key_F1); break;
        case Moment::New: editForm->Action("New1")->trigger(); break;
        case Moment::CloseNo: editForm->close(); break;
        case Moment::EndSaveAsDone: dialogs.files = {{Folder() + "mond.txt"}}; [[fallthrough]];
        case Moment::EndSaveAsCancelled: Trigger("MenuEnde"); break;
        }
        if (row.moment == Moment::EndSaveAsDone || row.moment == Moment::EndSaveAsCancelled) {
            ASSERT_TRUE(form->Ended());
            editForm.reset();  // as at the program's end
        } else {
            editForm->Recovery().Flush();
        }
        EXPECT_EQ(!Copies().empty(), row.copyAfter);
        if (row.copyAfter) {
            const auto copy = Copy();
            ASSERT_TRUE(copy);  // of the default notes file, which does not exist yet
            EXPECT_EQ(std::tie(copy->notesFile, copy->plainText, copy->notesStamp.exists,
                               copy->text),
                      std::make_tuple(File("tolvane.RTF").string(), true, false,
                                      std::string("Neumond am Abend")));
            EXPECT_EQ(std::filesystem::status(Copies()[0]).permissions(),
                      std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
        }
        // Nothing of this row may remain for the next.
        std::filesystem::remove_all(File("tolvane.recovery"));
        std::filesystem::remove(File("mond.txt"));
    }
}

// A copy is offered when its file is loaded: Yes shows its text as modified and leaves the
// file alone, No deletes it; a file changed since its text was read is named as such.
TEST_F(Recovery, TheCopyIsOfferedAtTheNextLoad) {
    const struct {
        const char* name;
        platform::MessageButton answer;
        bool fileChanged;
    } rows[] = {
        {"Yes", platform::ButtonYes, false},
        {"No", platform::ButtonNo, false},
        {"Yes, file changed since", platform::ButtonYes, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::ofstream(File("tolvane.RTF"), std::ios::binary) << "Plan\n";
        OpenNotes();
        TypeNote(QStringLiteral("Grüße: "));
        ASSERT_TRUE(CopyWritten());
        editForm.reset();  // killed: no question asked, nothing saved (the copy is current)
        if (row.fileChanged) std::ofstream(File("tolvane.RTF"), std::ios::app) << "Neu\n";
        const std::string onDisk = row.fileChanged ? "Plan\nNeu\n" : "Plan\n";

        dialogs.prompts.clear();
        dialogs.answers = {row.answer};
        OpenNotes();
        const std::vector<QString> texts = dialogs.MessageTexts();
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_TRUE(texts[0].startsWith("Für " + Folder() + "tolvane.RTF gibt es ungesicherte "
                                        "Änderungen vom "))
            << texts[0].toStdString();
        EXPECT_EQ(texts[0].endsWith(". Wiederherstellen? Die Datei wurde inzwischen geändert."),
                  row.fileChanged);
        EXPECT_EQ(dialogs.prompts[0].buttons, platform::ButtonYes | platform::ButtonNo);
        const bool yes = row.answer == platform::ButtonYes;
        EXPECT_EQ(editForm->Editor()->toPlainText(),
                  yes ? QStringLiteral("Grüße: Plan\n") : QString::fromStdString(onDisk));
        EXPECT_EQ(editForm->Modified(), yes);
        EXPECT_EQ(editForm->Action("SaveBtn")->isEnabled(), yes);
        editForm->Recovery().Flush();
        EXPECT_EQ(Copies().size(), yes ? 1u : 0u);
        std::ifstream in(File("tolvane.RTF"), std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), onDisk);
        dialogs.answers = {platform::ButtonNo};
        editForm->close();  // drops the text, and its copy
        editForm->Recovery().Flush();
        EXPECT_TRUE(Copies().empty());
    }
}

// A folder for the copies that cannot be made: one line on standard error, no box, and the
// editing goes on.
TEST_F(Recovery, AFolderThatCannotBeWrittenIsReportedOnce) {
    std::ofstream(File("tolvane.recovery")) << "no folder";
    OpenNotes();
    dialogs.prompts.clear();
    testing::internal::CaptureStderr();
    TypeNote("Neumond");
    QTest::qWait(200);
    TypeNote("!");
    QTest::qWait(200);
    editForm->Recovery().Flush();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find("tolvane.recovery"), std::string::npos) << err;
    EXPECT_TRUE(dialogs.prompts.empty());
    EXPECT_EQ(editForm->Editor()->toPlainText(), "Neumond!");
}

}  // namespace
