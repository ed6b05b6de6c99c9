// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_fixture.h"

using namespace testing_support;

using Clock = WindowTest;

TEST_F(Clock, StateTable) {
    Start({"24031998", "14"});
    ASSERT_FALSE(form->ClockRunning());

    // stopped → running: grey fields, one tick at once with the local time.
    form->MenuClockClick();
    EXPECT_TRUE(form->ClockRunning());
    EXPECT_TRUE(InputsGrey());
    EXPECT_EQ(Inputs(), (QStringList{"14", "10", "2", "2024"}));
    EXPECT_EQ(form->windowTitle(), ProgramFile() + "   UHR");
    EXPECT_EQ(form->windowIconText(), "Std=8  Schaf");

    // A tick at midnight shows hour 0 of the new day and every result follows.
    now = QDateTime(QDate(2024, 2, 11), QTime(0, 0, 30));
    form->Timer1Timer();
    EXPECT_EQ(Inputs(), (QStringList{"0", "11", "2", "2024"}));
    EXPECT_EQ(Text("T60Edit"), "2");
    EXPECT_EQ(form->windowIconText(), "Std=1  Ratte");

    // running → stopped: window colour, bare file name as title, full path as caption.
    form->MenuClockClick();
    EXPECT_FALSE(form->ClockRunning());
    EXPECT_FALSE(InputsGrey());
    EXPECT_EQ(form->windowIconText(), "tolvane");
    EXPECT_EQ(form->windowTitle(), ProgramFile());
}

TEST_F(Clock, TicksAtItsInterval) {
    WriteSettings("[Parameter]\r\nTimerInterval=50\r\n");
    Start();
    now = QDateTime(QDate(2024, 2, 10), QTime(22, 0));
    EXPECT_TRUE(WaitFor([&] { return Text("SEdit") == "22"; }, 2000));
    EXPECT_EQ(Text("BranchSEdit2"), "12  Wildschwein");
}

TEST_F(Clock, IntervalZeroNeverTicks) {
    WriteSettings("[Parameter]\r\nTimerInterval=0\r\n");
    Start({"24031998", "14"});
    form->MenuClockClick();  // the clock can be switched on: grey fields, one tick at once
    EXPECT_TRUE(form->ClockRunning());
    EXPECT_EQ(Text("JEdit"), "2024");
    now = QDateTime(QDate(2030, 1, 1), QTime(1, 0));
    QTest::qWait(50);
    EXPECT_EQ(Text("JEdit"), "2024");
}

TEST_F(Clock, IntervalBox) {
    Start({"24031998", "14"});
    form->MenuUhrSpeedClick();  // cancelled: the initial text goes through unchanged
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_EQ(dialogs.prompts[0].caption, "Eingabe");
    EXPECT_EQ(dialogs.prompts[0].text, "Uhr Intervall 1..3600[sec]");
    EXPECT_EQ(dialogs.prompts[0].initial, "60");
    EXPECT_EQ(form->TimerInterval(), 60000u);

    struct Case {
        const char* typed;
        std::uint32_t ms;  // 0: refused
    };
    const Case cases[] = {{"3600", 3600000}, {"3601", 0}, {"0", 0},  {"-5", 0},
                          {"", 0},           {"5 ", 0},   {" 5", 5000}, {"$10", 16000}};
    for (const Case& c : cases) {
        dialogs.prompts.clear();
        const std::uint32_t before = form->TimerInterval();
        dialogs.inputs = {QString(c.typed)};
        form->MenuUhrSpeedClick();
        SCOPED_TRACE(c.typed);
        if (c.ms) {
            EXPECT_EQ(form->TimerInterval(), c.ms);
            EXPECT_EQ(dialogs.prompts.size(), 1u);
        } else {
            EXPECT_EQ(form->TimerInterval(), before);
            ASSERT_EQ(dialogs.prompts.size(), 2u);
            EXPECT_EQ(dialogs.prompts[1].text, QString(c.typed) + " ungeeignet !");
            EXPECT_EQ(dialogs.prompts[1].kind, platform::MessageKind::Error);
            EXPECT_EQ(dialogs.prompts[1].buttons, unsigned(platform::ButtonAbort));
        }
    }
}

TEST_F(Clock, IntervalFromTheSettingsFileInWholeSeconds) {
    WriteSettings("[Parameter]\r\nTimerInterval=1500\r\n");
    Start({"24031998", "14"});
    form->MenuUhrSpeedClick();
    EXPECT_EQ(dialogs.prompts[0].initial, "1");
    EXPECT_EQ(form->TimerInterval(), 1000u);

    WriteSettings("[Parameter]\r\nTimerInterval=999\r\n");
    Start({"24031998", "14"});
    dialogs.prompts.clear();
    form->MenuUhrSpeedClick();
    EXPECT_EQ(dialogs.prompts.at(0).initial, "0");
    EXPECT_EQ(dialogs.prompts.at(1).text, "0 ungeeignet !");
    EXPECT_EQ(form->TimerInterval(), 999u);
}
