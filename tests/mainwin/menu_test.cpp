// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_fixture.h"

#include <map>

using namespace testing_support;

using Menu = WindowTest;

TEST_F(Menu, MoonSpeedBox) {
    Start({"24031998", "14"});
    form->MenuMoonSpeedClick();  // cancelled
    EXPECT_EQ(dialogs.prompts[0].text, "MoonSpeed 1..20[°]");
    EXPECT_EQ(dialogs.prompts[0].initial, "14");
    EXPECT_EQ(dialogs.prompts.size(), 1u);

    // 0 would find no year start at all.
    for (const char* refused : {"21", "0"}) {
        dialogs.inputs = {QString(refused)};
        Trigger("MenuMoonSpeed");
        EXPECT_EQ(dialogs.prompts.back().text, QString(refused) + " ungeeignet !");
        EXPECT_EQ(form->Calculator().MoonSpeed(), 14);
    }
    dialogs.inputs = {QString("1")};
    Trigger("MenuMoonSpeed");
    EXPECT_EQ(form->Calculator().MoonSpeed(), 1);
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

// The two check-mark items, clicked in the menu: the mark changes once per click, and what
// the program does afterwards follows the new mark.
TEST_F(Menu, CheckMarkItems) {
    Start({"24031998", "14"});
    dialogs.answers = {platform::ButtonNo};
    Trigger("MenuAutoFont");
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_EQ(dialogs.prompts[0].kind, platform::MessageKind::Confirm);
    EXPECT_EQ(dialogs.prompts[0].text,
              "Neue Einstellung: WINDOWS Font\nDie Einstellung wird nur mit Menü \"Ende\" "
              "wirksam !\njetzt beenden?");
    EXPECT_FALSE(form->AutoFont());
    EXPECT_FALSE(form->Ended());
    EXPECT_FALSE(std::filesystem::exists(File("tolvane.INI")));

    // Yes ends the program through the end command, which saves the new setting.
    dialogs.answers = {platform::ButtonYes};
    Trigger("MenuAutoFont");
    EXPECT_TRUE(form->AutoFont());
    EXPECT_TRUE(dialogs.prompts.at(1).text.startsWith("Neue Einstellung: lokaler Font\n"));
    EXPECT_TRUE(form->Ended());
    EXPECT_NE(ReadSettings().find("AutoFont=1\r\n"), std::string::npos);

    // End-Msg from either starting state: one click inverts it, and Escape follows it.
    for (const bool initially : {true, false}) {
        SCOPED_TRACE(initially);
        WriteSettings(initially ? "" : "[Parameter]\r\nEndMsg=0\r\n");
        Start({"24031998", "14"});
        form->show();
        ASSERT_EQ(form->EndMsg(), initially);
        Trigger("MenuEndMsg");
        EXPECT_EQ(form->EndMsg(), !initially);
        dialogs.prompts.clear();
        dialogs.answers = {platform::ButtonNo};
        QTest::keyClick(form->Field("SEdit"), Qt::Key_Escape);
        EXPECT_EQ(dialogs.prompts.size(), initially ? 0u : 1u);
        EXPECT_EQ(form->Ended(), initially);
        if (!form->Ended()) Trigger("MenuEndMsg");
    }
}

// After every change of the symbol size, smaller or larger, the four rows lie at the same
// heights in every column and the window has the size it has when started at that size.
TEST_F(Menu, SymbolSizeKeepsTheRowsAlignedAndTheWindowFitted) {
    const char* rows[][4] = {{"Std.-Rhythmus", "S60Edit", "StemSEdit", "BranchSEdit"},
                             {"Tages-Rhythmus", "T60Edit", "StemTEdit", "BranchTEdit"},
                             {"Monats-Rhythmus", "M60Edit", "StemMEdit", "BranchMEdit"},
                             {"Jahres-Rhythmus", "J60Edit", "StemJEdit", "BranchJEdit"}};
    auto top = [this](const char* name) {
        QWidget* w = form->Field(name);
        if (!w) {
            for (QLabel* label : form->findChildren<QLabel*>())
                if (label->text() == QString::fromUtf8(name)) w = label;
        }
        return w->mapTo(form.get(), QPoint()).y();
    };
    auto sizeAtStart = [this](int symbolSize) {
        WriteSettings("[Parameter]\r\nSymbolSize=" + std::to_string(symbolSize) + "\r\n");
        Start({"24031998", "14"});
        ShowAndActivate();
        const QSize size = form->size();
        Trigger("MenuEndMsg");
        return size;
    };
    std::map<int, QSize> expected;
    for (const int size : {12, 8, 20, 80, 33}) expected[size] = sizeAtStart(size);
    WriteSettings("");
    Start({"24031998", "14"});
    ShowAndActivate();
    for (const int size : {12, 8, 20, 80, 33}) {
        SCOPED_TRACE(size);
        dialogs.inputs = {QString::number(size)};
        Trigger("MenuSymbolSize");
        QCoreApplication::processEvents();
        EXPECT_EQ(form->size(), expected[size]);
        int previous = -1;
        for (const auto& row : rows) {
            const int y = top(row[1]);
            EXPECT_GT(y, previous);
            for (const char* name : row) EXPECT_EQ(top(name), y) << name;
            previous = y;
        }
    }
    Trigger("MenuEndMsg");
}

TEST_F(Menu, EndCommandSavesAllEighteenKeys) {
    Start({"24031998", "14"});
    dialogs.inputs = {QString("3"), QString("12"), QString("40")};
    form->MenuMoonSpeedClick();
    form->MenuUhrSpeedClick();
    form->MenuSymbolSizeClick();
    Trigger("MenuEndMsg");
    form->move(7, 8);
    Trigger("MenuEnde");
    EXPECT_TRUE(form->Ended());
    EXPECT_EQ(ReadSettings(),
              "[Main]\r\nLeft=7\r\nTop=8\r\n[Parameter]\r\nMoonSpeed=3\r\nSymbolSize=40\r\n"
              "TimerInterval=12000\r\nAutoFont=1\r\nEndMsg=0\r\n"
              "[Editor]\r\nLeft=0\r\nTop=0\r\nHeight=402\r\nWidth=579\r\nLastPos=0\r\n"
              "WordWrap=1\r\nFileName=" + Folder().toStdString() + "tolvane.RTF\r\n"
              "SuchText=\r\nIsBAK=0\r\nFontName=Arial\r\nFontSize=10\r\n");
    // The end command asks nothing.
    EXPECT_EQ(dialogs.MessageTexts().size(), 0u);
}

// The glyphs are bold at every symbol size: their ink, per square point, stays as it is at
// 45 points up to the largest size.
TEST_F(Menu, GlyphsStayBoldAtEverySize) {
    Start({"24031998", "14"});
    ShowAndActivate();
    const auto ink = [this](int size) {
        dialogs.inputs = {QString::number(size)};
        Trigger("MenuSymbolSize");
        QCoreApplication::processEvents();
        const QImage image = form->Field("StemTEdit")->grab().toImage();
        double dark = 0;
        for (int i = 0; i < image.width() * image.height(); ++i)
            dark += qGray(image.pixel(i % image.width(), i / image.width())) < 128;
        return dark / (size * size);
    };
    const double at45 = ink(45);
    for (const int size : {48, 49, 64, 80}) EXPECT_GT(ink(size), 0.85 * at45) << size;
    Trigger("MenuEndMsg");
}
