#include "window_fixture.h"

using namespace testing_support;

using Menu = WindowTest;

TEST_F(Menu, MoonSpeedBox) {
    Start({"24031998", "14"});
    form->MenuMoonSpeedClick();  // cancelled
    EXPECT_EQ(dialogs.prompts[0].text, "MoonSpeed 0..20[°]");
    EXPECT_EQ(dialogs.prompts[0].initial, "14");
    EXPECT_EQ(dialogs.prompts.size(), 1u);

    dialogs.inputs = {QString("21")};
    form->MenuMoonSpeedClick();
    EXPECT_EQ(dialogs.prompts.back().text, "21 ungeeignet !");
    EXPECT_EQ(form->Calculator().MoonSpeed(), 14);
    dialogs.inputs = {QString("20")};
    form->MenuMoonSpeedClick();
    EXPECT_EQ(form->Calculator().MoonSpeed(), 20);

    // A value from the settings file outside the box's range is refused again on cancel.
    WriteSettings("[Parameter]\r\nMoonSpeed=200\r\n");
    Start({"24031998", "14"});
    dialogs.prompts.clear();
    form->MenuMoonSpeedClick();
    EXPECT_EQ(dialogs.prompts.at(1).text, "200 ungeeignet !");
    EXPECT_EQ(form->Calculator().MoonSpeed(), 200);
}

TEST_F(Menu, SymbolSizeBox) {
    Start({"24031998", "14"});
    for (const char* refused : {"7", "", "81", "x"}) {
        dialogs.prompts.clear();
        dialogs.inputs = {QString(refused)};
        form->MenuSymbolSizeClick();
        EXPECT_EQ(dialogs.prompts.at(0).text, "Symbolgröße 8..80");
        EXPECT_EQ(dialogs.prompts.at(1).text, QString(refused) + " ungeeignet !");
        EXPECT_EQ(form->SymbolSize(), 33);
    }
    dialogs.inputs = {QString("80")};
    form->MenuSymbolSizeClick();
    EXPECT_EQ(form->SymbolSize(), 80);
    EXPECT_EQ(form->Field("BranchJEdit")->font().pointSize(), 80);
}

TEST_F(Menu, InfoBox) {
    Start({"24031998", "14"});
    form->MenuInfoClick();
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    const Prompt& info = dialogs.prompts[0];
    EXPECT_EQ(info.kind, platform::MessageKind::Plain);
    EXPECT_EQ(info.buttons, unsigned(platform::ButtonOk));
    EXPECT_EQ(info.caption, form->windowIconText());
    const QStringList lines = info.text.split('\n');
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[0], "tolvane ver. 080413");
    EXPECT_TRUE(lines[2].isEmpty());
    EXPECT_TRUE(lines[3].contains("Meeus"));
    EXPECT_TRUE(lines[4].contains("VSOP87"));
    EXPECT_TRUE(lines[5].contains("1991-1992"));
}

TEST_F(Menu, LocalFontSetting) {
    Start({"24031998", "14"});
    dialogs.answers = {platform::ButtonNo};
    form->MenuAutoFontClick();
    EXPECT_EQ(dialogs.prompts[0].kind, platform::MessageKind::Confirm);
    EXPECT_EQ(dialogs.prompts[0].text,
              "Neue Einstellung: WINDOWS Font\nDie Einstellung wird nur mit Menü \"Ende\" "
              "wirksam !\njetzt beenden?");
    EXPECT_FALSE(form->AutoFont());
    EXPECT_FALSE(form->Ended());
    EXPECT_FALSE(std::filesystem::exists(File("tolvane.INI")));

    // Yes ends the program through the end command, which saves the new setting.
    dialogs.answers = {platform::ButtonYes};
    form->MenuAutoFontClick();
    EXPECT_TRUE(dialogs.prompts[1].text.startsWith("Neue Einstellung: lokaler Font\n"));
    EXPECT_TRUE(form->Ended());
    EXPECT_NE(ReadSettings().find("AutoFont=1\r\n"), std::string::npos);
}

TEST_F(Menu, EndCommandSavesAllSevenKeys) {
    Start({"24031998", "14"});
    dialogs.inputs = {QString("3"), QString("12"), QString("40")};
    form->MenuMoonSpeedClick();
    form->MenuUhrSpeedClick();
    form->MenuSymbolSizeClick();
    form->MenuEndMsgClick();
    form->move(7, 8);
    Trigger("MenuEnde");
    EXPECT_TRUE(form->Ended());
    EXPECT_EQ(ReadSettings(),
              "[Main]\r\nLeft=7\r\nTop=8\r\n[Parameter]\r\nMoonSpeed=3\r\nSymbolSize=40\r\n"
              "TimerInterval=12000\r\nAutoFont=1\r\nEndMsg=0\r\n");
    // The end command asks nothing.
    EXPECT_EQ(dialogs.MessageTexts().size(), 0u);
}
