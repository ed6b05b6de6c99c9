// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_fixture.h"

#include <sys/stat.h>

#include <functional>
#include <new>
#include <stdexcept>

using namespace testing_support;
using platform::MessageKind;

using StartUp = WindowTest;

TEST_F(StartUp, DefaultsWithoutSettingsFile) {
    Start();
    EXPECT_EQ(form->Calculator().MoonSpeed(), 14);
    EXPECT_EQ(form->SymbolSize(), 33);
    EXPECT_EQ(form->TimerInterval(), 60000u);
    EXPECT_TRUE(form->AutoFont());
    EXPECT_TRUE(form->EndMsg());
    EXPECT_TRUE(form->FontInstalled());
    EXPECT_TRUE(dialogs.prompts.empty());
    // No arguments: the clock runs and shows the local hour and date.
    EXPECT_TRUE(form->ClockRunning());
    EXPECT_EQ(Inputs(), (QStringList{"14", "10", "2", "2024"}));
    EXPECT_EQ(Text("JstLabel"), "das Jahr beginnt am 10.2.2024");
    EXPECT_EQ(form->windowTitle(), ProgramFile() + "   UHR");
    EXPECT_EQ(form->windowIconText(), "Std=" + Text("BranchSEdit2"));
    // The settings file is created only by saving.
    EXPECT_FALSE(std::filesystem::exists(File("tolvane.INI")));
}

TEST_F(StartUp, SettingsValuesAndTheirDefaults) {
    WriteSettings(
        "[Main]\r\nLeft=40\r\nTop=0x1E\r\n[Parameter]\r\nMoonSpeed=20\r\nSymbolSize=0x1E\r\n"
        "TimerInterval=1500\r\nAutoFont=2\r\nEndMsg=0\r\n");
    Start({"24031998", "14"});
    EXPECT_EQ(form->Calculator().MoonSpeed(), 20);
    EXPECT_EQ(form->SymbolSize(), 30);
    EXPECT_EQ(form->TimerInterval(), 1500u);
    EXPECT_TRUE(form->AutoFont());
    EXPECT_FALSE(form->EndMsg());
    EXPECT_EQ(form->pos(), QPoint(40, 30));
    EXPECT_EQ(form->Field("StemTEdit")->font().pointSize(), 30);

    // Values that are no valid settings read as the defaults.
    WriteSettings("[parameter]\r\nmoonspeed=300\r\nSymbolSize=abc\r\nTimerInterval=-5\r\n");
    Start({"24031998", "14"});
    EXPECT_EQ(form->Calculator().MoonSpeed(), 14);
    EXPECT_EQ(form->SymbolSize(), 33);
    EXPECT_EQ(form->TimerInterval(), 60000u);
    WriteSettings("[Parameter]\r\nSymbolSize=0\r\nMoonSpeed=-1\r\n");
    Start({"24031998", "14"});
    EXPECT_EQ(form->SymbolSize(), 33);
    EXPECT_EQ(form->Calculator().MoonSpeed(), 14);
    // With MoonSpeed 0 no year start is ever found.
    WriteSettings("[Parameter]\r\nMoonSpeed=0\r\n");
    Start({"24031998", "14"});
    EXPECT_EQ(form->Calculator().MoonSpeed(), 14);
}

TEST_F(StartUp, SaveKeepsEverythingElseOfTheFile) {
    WriteSettings(
        "; tolvane\r\n[Editor]\r\nFileName=notes.rtf\r\n[Parameter]\r\nAutoFont=2\r\n"
        "Unknown line\r\n[Main]\r\nTop=5\r\n");
    Start({"24031998", "14"});
    form->move(12, 34);
    Trigger("MenuEnde");
    EXPECT_TRUE(form->Ended());
    // Keys are replaced where they stand and the missing ones added to their section.
    EXPECT_EQ(ReadSettings(),
              "; tolvane\r\n[Editor]\r\nFileName=" + Folder().toStdString() + "tolvane.RTF\r\n"
              "Left=0\r\nTop=0\r\nHeight=402\r\nWidth=579\r\nLastPos=0\r\nWordWrap=1\r\n"
              "SuchText=\r\nIsBAK=0\r\nFontName=Arial\r\nFontSize=10\r\n"
              "[Parameter]\r\nAutoFont=1\r\n"
              "Unknown line\r\nMoonSpeed=14\r\nSymbolSize=33\r\nTimerInterval=60000\r\n"
              "EndMsg=1\r\n[Main]\r\nTop=34\r\nLeft=12\r\n");
}

TEST_F(StartUp, UnwritableSettingsFileKeepsTheProgramRunning) {
    std::filesystem::create_directory(File("tolvane.INI"));  // a folder cannot be written
    Start({"24031998", "14"});
    Trigger("MenuEnde");
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_EQ(dialogs.prompts[0].kind, MessageKind::Error);
    EXPECT_EQ(dialogs.prompts[0].caption, "Error");
    EXPECT_EQ(dialogs.prompts[0].text, "Unable to write to " + form->SettingsPath());
    EXPECT_FALSE(form->Ended());
    EXPECT_TRUE(form->FontInstalled());
}

// Code entered from Qt runs guarded: an error that ends it is shown in the one "Error" box
// and goes no further.
TEST_F(StartUp, GuardedHandlersShowTheirErrors) {
    struct Case {
        std::function<void()> handler;
        bool ok;
        const char* shown;  // nullptr: nothing
    };
    const Case cases[] = {
        {[] {}, true, nullptr},
        {[] { throw std::runtime_error("File not found"); }, false, "File not found"},
        {[] { throw std::bad_alloc(); }, false, "std::bad_alloc"},
        {[] { throw 42; }, false, "Unknown error"},
    };
    for (const Case& c : cases) {
        dialogs.prompts.clear();
        EXPECT_EQ(platform::RunGuarded(c.handler), c.ok);
        if (!c.shown) {
            EXPECT_TRUE(dialogs.prompts.empty());
            continue;
        }
        ASSERT_EQ(dialogs.prompts.size(), 1u);
        EXPECT_EQ(dialogs.prompts[0].kind, MessageKind::Error);
        EXPECT_EQ(dialogs.prompts[0].caption, "Error");
        EXPECT_EQ(dialogs.prompts[0].text, c.shown);
    }
}

TEST_F(StartUp, MissingTermFilesEndTheProgramBeforeAnyWindow) {
    std::filesystem::remove(File("PLANETS.DAT"));
    EXPECT_FALSE(Create());
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_EQ(dialogs.prompts[0].kind, MessageKind::Error);
    EXPECT_EQ(dialogs.prompts[0].buttons, unsigned(platform::ButtonAbort));
    EXPECT_EQ(dialogs.prompts[0].text, Folder() + "PLANETS.NDX und .DAT nicht gefunden !");
    EXPECT_FALSE(form->isVisible());
}

TEST_F(StartUp, GlyphFontMessages) {
    // Missing font file: a warning, and start-up goes on.
    std::filesystem::remove(File("Vivar01.TTF"));
    ASSERT_TRUE(Create());
    EXPECT_EQ(dialogs.MessageTexts(), std::vector<QString>{Folder() + "Vivar01.TTF nicht gefunden"});
    EXPECT_EQ(dialogs.prompts[0].kind, MessageKind::Warning);
    EXPECT_FALSE(form->FontInstalled());

    // Without "lokaler Font" nothing is tried and nothing is said.
    dialogs.prompts.clear();
    WriteSettings("[Parameter]\r\nAutoFont=0\r\n");
    ASSERT_TRUE(Create());
    EXPECT_TRUE(dialogs.prompts.empty());

    // A file that is no font: the warning comes first, then the term-file check.
    WriteSettings("");
    std::ofstream(File("Vivar01.TTF")) << "not a font";
    std::filesystem::remove(File("PLANETS.NDX"));
    EXPECT_FALSE(Create());
    EXPECT_EQ(dialogs.MessageTexts(),
              (std::vector<QString>{
                  Folder() + "Vivar01.TTF konnte nicht installiert werden\n"
                             "bitte manuell unter Windows-Schriftarten installieren !",
                  Folder() + "PLANETS.NDX und .DAT nicht gefunden !"}));
}

// A warning box before the window appears does not keep the window's first showing from
// being its first activation: the arguments are read, the results shown, the clock
// interval of the settings file taken. A FIFO, a device or a folder in the font file's
// place is a font that cannot be installed; nothing waits on it.
TEST_F(StartUp, FirstActivationFollowsAStartUpWarning) {
    enum class Font { Missing, Damaged, Fifo, Folder };
    struct Case {
        Font font;
        QStringList args;
    };
    const Case cases[] = {{Font::Missing, {"24031998", "14"}},
                          {Font::Damaged, {"24031998", "14"}},
                          {Font::Missing, {}},
                          {Font::Fifo, {"24031998", "14"}},
                          {Font::Folder, {"24031998", "14"}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString() + " font " + std::to_string(int(c.font)));
        const std::filesystem::path font = File("Vivar01.TTF");
        std::filesystem::remove_all(font);
        if (c.font == Font::Damaged) std::ofstream(font) << "not a font";
        if (c.font == Font::Fifo) { ASSERT_EQ(::mkfifo(font.c_str(), 0600), 0); }
        if (c.font == Font::Folder) std::filesystem::create_directory(font);
        WriteSettings("[Parameter]\r\nTimerInterval=5000\r\n");
        dialogs.prompts.clear();
        ASSERT_TRUE(Create(c.args));
        ASSERT_EQ(dialogs.prompts.size(), 1u);
        EXPECT_EQ(dialogs.prompts[0].kind, MessageKind::Warning);
        ShowAndActivate();
        EXPECT_TRUE(WaitFor([&] { return !Text("JstLabel").isEmpty(); }));
        EXPECT_EQ(form->TimerInterval(), 5000u);
        EXPECT_EQ(form->ClockRunning(), c.args.isEmpty());
        if (!c.args.isEmpty()) {
            EXPECT_EQ(Inputs(), (QStringList{"14", "24", "3", "1998"}));
        }
        Trigger("MenuEndMsg");
    }
}

TEST_F(StartUp, GlyphFieldsUseTheGlyphFontAtEverySize) {
    Start({"24031998", "14"});
    for (const char* name : {"StemTEdit", "BranchSEdit", "BranchJEdit"}) {
        const QFont font = form->Field(name)->font();
        EXPECT_EQ(font.family(), "Vivar01");
        EXPECT_TRUE(font.bold());
        EXPECT_EQ(font.pointSize(), 33);
    }
    // Name fields and positions keep the window's font.
    EXPECT_NE(form->Field("StemTEdit2")->font().family(), "Vivar01");
    EXPECT_NE(form->Field("T60Edit")->font().family(), "Vivar01");

    for (const char* size : {"8", "80"}) {
        dialogs.inputs.push_back(QString(size));
        form->MenuSymbolSizeClick();
        form->adjustSize();
        for (const char* name : {"StemTEdit", "StemJEdit2", "BranchTEdit2", "T60Edit",
                                 "BranchMEdit", "JEdit"}) {
            QLineEdit* edit = form->Field(name);
            const QFontMetrics fm(edit->font());
            SCOPED_TRACE(std::string(name) + " at " + size);
            EXPECT_LE(fm.horizontalAdvance(edit->text()) + 8, edit->width());
            EXPECT_LE(fm.height(), edit->height());
        }
        EXPECT_EQ(form->Field("StemTEdit")->font().pointSize(), QString(size).toInt());
    }
    // The rows stay aligned across the columns.
    EXPECT_EQ(form->Field("BranchTEdit")->mapTo(form.get(), QPoint()).y(),
              form->Field("T60Edit")->mapTo(form.get(), QPoint()).y());
}

// Where windows cannot learn where they stand (Wayland), a save writes every key all the
// same: the positions as the file holds them, or their defaults.
TEST(KeepStoredPositions, FromTheFileOrTheDefaults) {
    mainwin::MainSettings s;
    s.Left = s.Top = 77;
    std::vector<platform::IniEntry> editor = {
        {"Editor", "Left", "88"}, {"Editor", "Top", "99"}, {"Editor", "Height", "402"}};
    mainwin::KeepStoredPositions(
        platform::IniDocument::Parse("[Main]\r\nTop=0x1E\r\n[Editor]\r\nTop=-5\r\nLeft=x\r\n"), s,
        editor);
    EXPECT_EQ((std::vector<std::string>{std::to_string(s.Left), std::to_string(s.Top),
                                        editor[0].Value, editor[1].Value, editor[2].Value}),
              (std::vector<std::string>{"0", "30", "0", "-5", "402"}));
}
