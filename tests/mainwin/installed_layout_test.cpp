// SPDX-License-Identifier: GPL-3.0-or-later
// The window started from an installation's layout: the program in bin/, the term files and
// the glyph font in share/tolvane/ beside it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <filesystem>
#include <memory>

#include "mainwin/tform1.h"
#include "platform/qt/application.h"
#include "scripted_dialogs.h"
#include "support/environment.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;
using testing_support::ScopedEnv;
using testing_support::ScriptedDialogs;
using testing_support::TempFolder;

namespace {

struct InstalledLayout {
    TempFolder prefix;
    fs::path bin = prefix.Path() / "bin";
    fs::path share = prefix.Path() / "share" / "tolvane";

    InstalledLayout() {
        fs::create_directories(bin);
        fs::create_directories(share);
        for (const char* name : {"PLANETS.NDX", "PLANETS.DAT", "Vivar01.TTF"})
            fs::copy_file(fs::path(TOLVANE_BIN_DIR) / name, share / name);
    }
    QString Program() const { return QString::fromStdString((bin / "tolvane").string()); }
    QString Share() const { return QString::fromStdString(share.string()) + "/"; }
};

// The scripted dialogs reach the application's error handling for the test's length.
struct DialogsInstalled {
    ScriptedDialogs dialogs;
    DialogsInstalled() { App()->SetDialogs(&dialogs); }
    ~DialogsInstalled() { App()->SetDialogs(nullptr); }
    static platform::TolvaneApplication* App() {
        return static_cast<platform::TolvaneApplication*>(QCoreApplication::instance());
    }
};

}  // namespace

TEST(InstalledLayout, TermFilesAndGlyphFontComeFromShareTolvane) {
    const InstalledLayout layout;
    const fs::path config = layout.prefix.Path() / "config", data = layout.prefix.Path() / "data";
    const ScopedEnv configHome("XDG_CONFIG_HOME", config.string());
    const ScopedEnv dataHome("XDG_DATA_HOME", data.string());
    DialogsInstalled d;
    mainwin::TForm1 form(d.dialogs, layout.Program(), {"01031996", "12"});
    ASSERT_TRUE(form.FormCreate());
    EXPECT_TRUE(d.dialogs.prompts.empty());
    EXPECT_TRUE(form.FontInstalled());
    form.FormActivate();
    EXPECT_EQ(form.Field("T60Edit")->text(), "12");
    // An installation keeps no settings beside its program, even where it could (root).
    EXPECT_EQ(form.SettingsPath().toStdString(), (config / "tolvane" / "tolvane.INI").string());
    EXPECT_EQ(form.DefaultNotesFile().toStdString(), (data / "tolvane" / "tolvane.RTF").string());
    form.RemoveGlyphFont();
}

// The messages name the folder where the files were looked for.
TEST(InstalledLayout, MissingFilesAreNamedInTheDataFolder) {
    const InstalledLayout layout;
    fs::remove(layout.share / "Vivar01.TTF");
    fs::remove(layout.share / "PLANETS.DAT");
    DialogsInstalled d;
    mainwin::TForm1 form(d.dialogs, layout.Program(), {});
    EXPECT_FALSE(form.FormCreate());
    EXPECT_EQ(d.dialogs.MessageTexts(),
              (std::vector<QString>{layout.Share() + "Vivar01.TTF nicht gefunden",
                                    layout.Share() + "PLANETS.NDX und .DAT nicht gefunden !"}));
}
