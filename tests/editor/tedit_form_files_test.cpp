// SPDX-License-Identifier: GPL-3.0-or-later
// The notes window's file commands through scripted dialogs: modes, filters, caret place,
// backups, save prompts, conversions on save-as, the default notes file and failures.
#include <sys/stat.h>
#include <unistd.h>

#include <functional>

#include "edit_form_fixture.h"
#include "editor/notes_file_names.h"

using namespace editor_test;
using testing_support::Prompt;

namespace {

constexpr char SmallRtf[] = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0 Hallo \\b fett\\b0\\par}";

}  // namespace

using NotesFiles = EditFormTest;

TEST_F(NotesFiles, ModeByExtensionInAnyCase) {
    struct Case {
        const char* name;
        bool plainText;
    };
    const Case cases[] = {{"a.RTF", false}, {"b.rtf", false}, {"c.rTf", false},
                          {"d.TXT", true},  {"e.txt", true},  {"f.doc", true},
                          {"g", true},      {"h.rtf.txt", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        folder.Write(c.name, SmallRtf);
        form->LoadFile(Name(c.name));
        EXPECT_EQ(form->PlainText(), c.plainText);
        EXPECT_EQ(form->Editor()->acceptRichText(), !c.plainText);
        EXPECT_EQ(Text(), c.plainText ? QString(SmallRtf) : QString("Hallo fett"));
        EXPECT_EQ(form->windowTitle(), Name(c.name));
        EXPECT_EQ(form->TextLength(), Text().size());
        EXPECT_FALSE(form->Modified());
    }
    EXPECT_TRUE(dialogs.prompts.empty());
}

TEST_F(NotesFiles, FileDialogsPresetFromTheName) {
    struct Case {
        const char* name;
        int filterIndex;
        const char* directory;
    };
    const Case cases[] = {{"/x/PLAN.RTF", 3, "/x"}, {"/x/plan.Rtf", 3, "/x"},
                          {"/x/a.TXT", 2, "/x"},    {"/x/a.txt", 2, "/x"},
                          {"/x/a.doc", 1, "/x"},    {"/x/y.z/liste", 1, "/x/y.z"},
                          {"Unbekannt", 1, ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Setting([&](editor::EditorSettings& s) { s.fileName = c.name; });
        dialogs.prompts.clear();
        form->Open1Click();  // cancelled
        form->Saveas1Click();  // cancelled
        ASSERT_EQ(dialogs.prompts.size(), 2u);
        const Prompt& open = dialogs.prompts[0];
        const Prompt& save = dialogs.prompts[1];
        EXPECT_EQ(open.type, Prompt::OpenFile);
        EXPECT_EQ(open.file.title, "Datei öffnen");
        EXPECT_EQ(save.type, Prompt::SaveFile);
        EXPECT_EQ(save.file.title, QString(c.name) + " speichern als");
        for (const Prompt* p : {&open, &save}) {
            EXPECT_EQ(p->file.filterIndex, c.filterIndex);
            EXPECT_EQ(p->file.fileName, c.name);
            EXPECT_EQ(p->file.directory, c.directory);
            ASSERT_EQ(p->file.filters.size(), 3);
            EXPECT_TRUE(p->file.filters[0].startsWith("alle Dateien   *.*"));
            EXPECT_TRUE(p->file.filters[1].startsWith("Text-Dateien   *.TXT"));
            EXPECT_TRUE(p->file.filters[2].startsWith("RTF-Dateien   *.RTF"));
        }
        EXPECT_EQ(form->FileName(), c.name);  // Cancel changes nothing
    }
}

TEST_F(NotesFiles, CaretPlaceOnReopening) {
    folder.Write("a.txt", "0123456789");
    folder.Write("b.txt", "abcdefghij");
    form->LoadFile(Name("a.txt"));
    Setting([](editor::EditorSettings& s) { s.lastPos = 5; });
    Choose(Name("a.txt"));
    form->Open1Click();  // the same file: the remembered place
    EXPECT_EQ(form->Editor()->textCursor().position(), 5);
    EXPECT_EQ(form->Settings().lastPos, 5);
    Choose(Name("b.txt"));
    form->Open1Click();  // another file: its start
    EXPECT_EQ(form->Editor()->textCursor().position(), 0);
    EXPECT_EQ(form->Settings().lastPos, 0);
    Setting([](editor::EditorSettings& s) { s.lastPos = 1000; });  // beyond the end: the end
    form->LoadFile(Name("a.txt"));
    EXPECT_EQ(form->Editor()->textCursor().position(), 10);
    EXPECT_FALSE(form->Editor()->textCursor().hasSelection());
}

TEST_F(NotesFiles, BackupsOnSave) {
    struct Case {
        const char* name;
        const char* backup;  // nullptr: the file is new and gets none
    };
    const Case cases[] = {{"PLAN.RTF", "PLAN.~RTF"}, {"brief.txt", "brief.~txt"},
                          {"liste", "liste.~"},      {"neu.txt", nullptr}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string old = std::string(c.name).ends_with("RTF") ? SmallRtf : "alt\n";
        if (c.backup) {
            folder.Write(c.name, old);
            folder.Write(c.backup, "ältere Sicherung");
        }
        Setting([](editor::EditorSettings& s) { s.isBAK = true; });
        form->LoadFile(Name(c.name));
        Type("neu ");
        form->Save1Click();
        EXPECT_FALSE(form->Modified());
        EXPECT_TRUE(folder.Read(c.name).find("neu") != std::string::npos);
        if (c.backup)
            EXPECT_EQ(folder.Read(c.backup), old);
        else
            EXPECT_FALSE(std::filesystem::exists(folder.Path(editor::BackupName(c.name))));
    }
    EXPECT_TRUE(dialogs.prompts.empty());
    EXPECT_EQ(folder.Names(), (std::set<std::string>{"PLAN.RTF", "PLAN.~RTF", "brief.txt",
                                                     "brief.~txt", "liste", "liste.~",
                                                     "neu.txt"}));
}

TEST_F(NotesFiles, NewAsksWithTheCurrentName) {
    folder.Write("a.txt", "eins");
    form->LoadFile(Name("a.txt"));
    Type("x");
    dialogs.answers = {platform::ButtonCancel};
    form->New1Click();
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].text, Name("a.txt") + " speichern ?");
    EXPECT_EQ(Messages()[0].kind, platform::MessageKind::Confirm);
    EXPECT_EQ(Messages()[0].buttons,
              unsigned(platform::ButtonYes | platform::ButtonNo | platform::ButtonCancel));
    EXPECT_EQ(Text(), "xeins");  // Cancel: nothing changed
    EXPECT_EQ(form->FileName(), Name("a.txt"));

    dialogs.answers = {platform::ButtonNo};
    form->New1Click();
    EXPECT_EQ(form->FileName(), "Unbekannt");
    EXPECT_EQ(form->windowTitle(), "Unbekannt");
    EXPECT_EQ(Text(), "");
    EXPECT_EQ(folder.Read("a.txt"), "eins");  // the changes were dropped

    Type("y");
    dialogs.answers = {platform::ButtonNo};
    form->New1Click();
    EXPECT_EQ(Messages().back().text, "Unbekannt speichern ?");
}

TEST_F(NotesFiles, SaveOfAnUnnamedTextAsksForAName) {
    for (const QString& unnamed : {QString("Unbekannt"), QString()}) {
        SCOPED_TRACE(unnamed.toStdString());
        form->New1Click();
        Setting([&](editor::EditorSettings& s) { s.fileName = unnamed; });
        Type("Notiz");
        dialogs.prompts.clear();
        form->Save1Click();  // cancelled
        ASSERT_EQ(dialogs.prompts.size(), 1u);
        EXPECT_EQ(dialogs.prompts[0].type, Prompt::SaveFile);
        EXPECT_TRUE(form->Modified());
        EXPECT_TRUE(form->Action("SaveBtn")->isEnabled());

        Choose(Name("n.txt"));
        form->Save1Click();
        EXPECT_EQ(folder.Read("n.txt"), "Notiz");
        EXPECT_EQ(form->FileName(), Name("n.txt"));
        EXPECT_EQ(form->windowTitle(), Name("n.txt"));
        EXPECT_FALSE(form->Modified());
        EXPECT_FALSE(form->Action("SaveBtn")->isEnabled());
        std::filesystem::remove(folder.Path("n.txt"));
        form->New1Click();
    }
}

TEST_F(NotesFiles, SaveAsConversions) {
    struct Case {
        const char* from;
        const char* to;
        const char* question;  // nullptr: none
        platform::MessageButton answer;
        bool writesRtf;
        QString shown;  // the text after the reload
        bool plainTextAfter;
    };
    const Case cases[] = {
        {"a.RTF", "b.txt", "RTF -> TXT-Konvertierung?", platform::ButtonYes, false, "Hallo fett",
         true},
        {"a.RTF", "b.txt", "RTF -> TXT-Konvertierung?", platform::ButtonNo, true, "", true},
        {"a.txt", "b.RTF", "TXT -> RTF-Konvertierung?", platform::ButtonYes, true, "Hallo fett",
         false},
        {"a.txt", "b.rtf", "TXT -> RTF-Konvertierung?", platform::ButtonNo, false, "Hallo fett",
         false},
        {"a.txt", "b.doc", nullptr, platform::ButtonOk, false, "Hallo fett", true},
        {"a.RTF", "b.rtf", nullptr, platform::ButtonOk, true, "Hallo fett", false},
        {"a", "b.TXT", nullptr, platform::ButtonOk, false, "Hallo fett", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.from) + " -> " + c.to);
        form->New1Click();
        folder.Write(c.from, std::string(c.from).ends_with("RTF") ? SmallRtf : "Hallo fett");
        form->LoadFile(Name(c.from));
        dialogs.prompts.clear();
        Choose(Name(c.to));
        if (c.question) dialogs.answers = {c.answer};
        form->Saveas1Click();
        std::vector<QString> questions;
        for (const Prompt& p : Messages()) questions.push_back(p.text);
        EXPECT_EQ(questions, c.question ? std::vector<QString>{c.question} : std::vector<QString>{});
        const std::string written = folder.Read(c.to);
        EXPECT_EQ(written.starts_with("{\\rtf1"), c.writesRtf) << written;
        // RTF markup written under a plain-text name shows as markup after the reload.
        EXPECT_EQ(Text(), c.shown.isEmpty()
                              ? QString::fromStdString(written).replace("\r\n", "\n")
                              : c.shown);
        EXPECT_EQ(form->PlainText(), c.plainTextAfter);
        EXPECT_EQ(form->FileName(), Name(c.to));
        EXPECT_FALSE(form->Modified());
        std::filesystem::remove(folder.Path(c.to));
    }
}

// The default notes file before it exists: empty in plain-text mode, written as plain text
// the first time, read back through the plain-text fallback in rich-text mode, then RTF.
TEST_F(NotesFiles, DefaultNotesFileFirstSave) {
    form->LoadFile(Name("tolvane.RTF"));
    EXPECT_TRUE(form->PlainText());
    EXPECT_EQ(Text(), "");
    Type("Erste Notiz");
    form->Save1Click();
    EXPECT_EQ(folder.Read("tolvane.RTF"), "Erste Notiz");
    form->LoadFile(Name("tolvane.RTF"));
    EXPECT_FALSE(form->PlainText());
    EXPECT_EQ(Text(), "Erste Notiz");
    Type("Zweite: ");
    form->Save1Click();
    EXPECT_TRUE(folder.Read("tolvane.RTF").starts_with("{\\rtf1"));
    form->LoadFile(Name("tolvane.RTF"));
    EXPECT_EQ(Text(), "Zweite: Erste Notiz");
    EXPECT_TRUE(dialogs.prompts.empty());
}

// A write that fails leaves the old file byte for byte, says so, and keeps the text unsaved.
TEST_F(NotesFiles, FailedWriteKeepsTheOldFile) {
    const std::string old = "alter Text\r\nzweite Zeile\r\n";
    folder.Write("brief.txt", old);
    Setting([](editor::EditorSettings& s) { s.isBAK = true; });
    form->LoadFile(Name("brief.txt"));
    Type(QString(200, u'x'));
    {
        FileSizeLimit limit(8);
        form->Save1Click();
    }
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].text, Name("brief.txt") + ": Schreibfehler");
    EXPECT_EQ(Messages()[0].kind, platform::MessageKind::Error);
    EXPECT_EQ(Messages()[0].buttons, unsigned(platform::ButtonOk));
    EXPECT_EQ(folder.Read("brief.txt"), old);
    EXPECT_TRUE(form->Modified());
    EXPECT_TRUE(form->Action("SaveBtn")->isEnabled());
    EXPECT_EQ(folder.Names(), (std::set<std::string>{"brief.txt"}));

    // Saving as a name that is a folder: the text stays, unsaved, and is not reloaded.
    folder.MakeFolder("ordner.txt");
    Choose(Name("ordner.txt"));
    form->Saveas1Click();
    EXPECT_EQ(Messages().back().text, Name("ordner.txt") + ": Schreibfehler");
    EXPECT_TRUE(Text().startsWith(QString(200, u'x')));
    EXPECT_TRUE(form->Modified());
    EXPECT_TRUE(std::filesystem::is_directory(folder.Path("ordner.txt")));

    // A read-only folder stops writes only for users other than root.
    if (geteuid() != 0) {
        folder.MakeFolder("fest");
        folder.Write("fest/a.txt", old);
        std::filesystem::permissions(folder.Path("fest"), std::filesystem::perms(0555));
        dialogs.answers = {platform::ButtonNo};
        form->LoadFile(Name("fest/a.txt"));
        Type("neu");
        form->Save1Click();
        EXPECT_EQ(Messages().back().text, Name("fest/a.txt") + ": Schreibfehler");
        EXPECT_EQ(folder.Read("fest/a.txt"), old);
    }
}

// A save prompt answered Yes whose save fails stops the load, so the text is not lost.
TEST_F(NotesFiles, LoadStopsWhenTheSaveFails) {
    form->New1Click();
    Type("ungesichert");
    dialogs.answers = {platform::ButtonYes};  // then the save dialog is cancelled
    folder.Write("a.txt", "eins");
    form->LoadFile(Name("a.txt"));
    EXPECT_EQ(Text(), "ungesichert");
    EXPECT_EQ(form->FileName(), "Unbekannt");
    EXPECT_TRUE(form->Modified());
}

// A file that cannot be read: the error box names it and the reason at once (no hang on a
// FIFO, no endless read of a device, no 1 GiB in memory), and name, caption, mode and text
// stay as they were.
TEST_F(NotesFiles, FailedReadPutsEverythingBack) {
    struct Case {
        const char* name;
        std::function<void(const std::filesystem::path&)> make;
        const char* reason;
    };
    const Case cases[] = {
        {"kaputt.RTF", [](const auto& p) { std::filesystem::create_directory(p); },
         "ein Ordner, keine Datei"},
        {"fifo.txt", [](const auto& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); },
         "eine benannte Pipe (FIFO), keine Datei"},
        {"null.txt", [](const auto& p) { std::filesystem::create_symlink("/dev/zero", p); },
         "ein Gerät, keine Datei"},
        {"riesig.txt",
         [](const auto& p) {
             std::ofstream{p};
             std::filesystem::resize_file(p, 1ull << 30);
         },
         "größer als 64 MiB, zu groß für den Notizeditor"},
    };
    folder.Write("a.txt", "eins");
    form->LoadFile(Name("a.txt"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.make(folder.Path(c.name));
        dialogs.prompts.clear();
        Choose(Name(c.name));
        Trigger("Open1");
        ASSERT_EQ(Messages().size(), 1u);
        EXPECT_EQ(Messages()[0].kind, platform::MessageKind::Error);
        EXPECT_EQ(Messages()[0].text, Name(c.name) + ": Lesefehler – " + c.reason);
        EXPECT_EQ(form->FileName(), Name("a.txt"));
        EXPECT_EQ(form->windowTitle(), Name("a.txt"));
        EXPECT_TRUE(form->PlainText());
        EXPECT_EQ(Text(), "eins");
    }
    Type("zwei ");
    form->Save1Click();
    EXPECT_EQ(folder.Read("a.txt"), "zwei eins");
    EXPECT_TRUE(std::filesystem::is_directory(folder.Path("kaputt.RTF")));
}

// A file another program changed or replaced since it was read is overwritten only after
// a Yes; our own saves ask nothing. A write-protected file is refused.
TEST_F(NotesFiles, ChangedOrProtectedFileOnDisk) {
    const QString question = Name("a.txt") +
                             " wurde inzwischen von einem anderen Programm geändert. "
                             "Trotzdem speichern?";
    folder.Write("a.txt", "eins");
    form->LoadFile(Name("a.txt"));
    folder.Write("fremd.txt", "vom anderen Programm");
    std::filesystem::rename(folder.Path("fremd.txt"), folder.Path("a.txt"));
    Type("x");
    dialogs.answers = {platform::ButtonNo};
    form->Save1Click();
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].text, question);
    EXPECT_EQ(Messages()[0].buttons, unsigned(platform::ButtonYes | platform::ButtonNo));
    EXPECT_EQ(folder.Read("a.txt"), "vom anderen Programm");
    EXPECT_TRUE(form->Modified());

    dialogs.answers = {platform::ButtonYes};
    form->Save1Click();
    EXPECT_EQ(folder.Read("a.txt"), "xeins");
    EXPECT_FALSE(form->Modified());
    Type("y");
    form->Save1Click();
    EXPECT_EQ(folder.Read("a.txt"), "xyeins");
    EXPECT_EQ(Messages().size(), 2u);

    std::filesystem::permissions(folder.Path("a.txt"), std::filesystem::perms(0444));
    Type("z");
    form->Save1Click();
    EXPECT_EQ(Messages().back().text, Name("a.txt") + ": Schreibfehler");
    EXPECT_EQ(folder.Read("a.txt"), "xyeins");
    EXPECT_TRUE(form->Modified());
    EXPECT_EQ(folder.Names(), (std::set<std::string>{"a.txt"}));
}
