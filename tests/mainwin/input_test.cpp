// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwin/activation.h"
#include "window_fixture.h"

#include <deque>

using namespace testing_support;

using Input = WindowTest;

TEST_F(Input, CommandLine) {
    Start({"24031998", "14"});
    EXPECT_EQ(Inputs(), (QStringList{"14", "24", "3", "1998"}));
    EXPECT_EQ(Text("JstLabel"), "das Jahr beginnt am 28.1.1998");
    EXPECT_FALSE(form->ClockRunning());
    EXPECT_FALSE(InputsGrey());
    EXPECT_EQ(form->windowTitle(), ProgramFile());
    EXPECT_TRUE(dialogs.prompts.empty());

    // A single argument is ignored: clock mode.
    Start({"24031998"});
    EXPECT_TRUE(form->ClockRunning());
    EXPECT_TRUE(InputsGrey());
    EXPECT_EQ(Inputs(), (QStringList{"14", "10", "2", "2024"}));

    Start({"0101-0500", "7"});
    EXPECT_EQ(Inputs(), (QStringList{"7", "1", "1", "-500"}));
    EXPECT_EQ(Text("JstLabel").left(20), "das Jahr beginnt am ");
}

TEST_F(Input, BadCommandLinePartsAskToClose) {
    // The year part of "2403" is empty: a message, then the window is asked to close; the
    // End-Msg question is answered No, so the program goes on.
    dialogs.answers = {platform::ButtonAbort, platform::ButtonNo};
    Start({"2403", "14"});
    ASSERT_EQ(dialogs.prompts.size(), 2u);
    EXPECT_EQ(dialogs.prompts[0].text, "2403 ist ein falscher Datum-Parameter !");
    EXPECT_EQ(dialogs.prompts[0].kind, platform::MessageKind::Error);
    EXPECT_EQ(dialogs.prompts[0].buttons, unsigned(platform::ButtonAbort));
    EXPECT_EQ(dialogs.prompts[1].text, "beenden OHNE Parametersicherung?");
    EXPECT_FALSE(form->Ended());

    dialogs.prompts.clear();
    dialogs.answers = {platform::ButtonAbort, platform::ButtonNo};
    Start({"24031998", "7x"});
    EXPECT_EQ(dialogs.prompts.at(0).text, "7x ist ein falscher Stunden-Parameter !");

    // Answered Yes, the close goes ahead: the program ends without saving.
    dialogs.prompts.clear();
    dialogs.answers = {platform::ButtonAbort, platform::ButtonYes};
    Start({"xx031998", "14"});
    EXPECT_TRUE(form->Ended());
    EXPECT_FALSE(std::filesystem::exists(File("tolvane.INI")));
}

// However many parts of the command line are bad, a close that goes ahead ends the
// program: no further box, no calculation, no window left behind.
TEST_F(Input, ACloseAfterBadArgumentsEndsTheProgram) {
    using platform::ButtonAbort, platform::ButtonNo, platform::ButtonYes;
    struct Case {
        QStringList args;
        bool endMsg;
        std::deque<platform::MessageButton> answers;
        std::size_t prompts;
        bool ended;
    };
    const Case cases[] = {
        {{"aabbcccc", "xx"}, true, {ButtonAbort, ButtonYes}, 2, true},
        {{"aabbcccc", "xx"}, true, {ButtonAbort, ButtonNo, ButtonAbort, ButtonYes}, 4, true},
        {{"aabb1998", "14"}, false, {ButtonAbort}, 1, true},
        {{"aa031998", "7x"}, true, {ButtonAbort, ButtonNo, ButtonAbort, ButtonYes}, 4, true},
        {{"aa031998", "7x"}, true, {ButtonAbort, ButtonNo, ButtonAbort, ButtonNo}, 4, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.args.join(' ') + (c.endMsg ? "" : " EndMsg=0")).toStdString());
        WriteSettings(c.endMsg ? "" : "[Parameter]\r\nEndMsg=0\r\n");
        dialogs.prompts.clear();
        dialogs.answers = c.answers;
        ASSERT_TRUE(Create(c.args));
        ShowAndActivate();
        QCoreApplication::processEvents();
        EXPECT_EQ(dialogs.prompts.size(), c.prompts);
        EXPECT_EQ(form->Ended(), c.ended);
        EXPECT_EQ(form->isVisible(), !c.ended);
        if (c.ended) {
            EXPECT_EQ(Text("SEdit"), "");  // the activation stopped at the close
        } else {
            Trigger("MenuEndMsg");  // let the fixture close without a question
        }
    }
}

TEST_F(Input, EditingLock) {
    Start();
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QCoreApplication::processEvents();
    ASSERT_TRUE(form->ClockRunning());
    QLineEdit* hour = form->Field("SEdit");
    hour->setFocus();
    hour->setCursorPosition(hour->text().size());

    // A digit stops the clock and is typed.
    QTest::keyClick(hour, Qt::Key_5);
    EXPECT_FALSE(form->ClockRunning());
    EXPECT_FALSE(InputsGrey());
    EXPECT_EQ(hour->text(), "145");
    // Typing only empties the results; nothing is calculated.
    EXPECT_EQ(Text("JstLabel"), "");

    // A letter is not typed.
    QTest::keyClick(hour, Qt::Key_A);
    EXPECT_EQ(hour->text(), "145");
    // Backspace unlocks again; keypad digits lock, the keypad minus unlocks.
    QTest::keyClick(hour, Qt::Key_Backspace);
    EXPECT_EQ(hour->text(), "14");
    QTest::keyClick(hour, Qt::Key_7, Qt::KeypadModifier);
    EXPECT_EQ(hour->text(), "14");
    QTest::keyClick(hour, Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_EQ(hour->text(), "14-");
    QTest::keyClick(hour, Qt::Key_Backspace);
    // Shift turns the main minus key into "_": it unlocks all the same.
    QTest::keyClick(hour, Qt::Key_A);
    QTest::keyClick(hour, Qt::Key_Underscore, Qt::ShiftModifier);
    EXPECT_EQ(hour->text(), "14_");
    QTest::keyClick(hour, Qt::Key_Backspace);

    // J, M, S, T move the focus, with or without modifiers, and select the field's text:
    // what is typed next replaces it, also when the field had the focus already.
    QTest::keyClick(hour, Qt::Key_J);
    EXPECT_EQ(QApplication::focusWidget(), form->Field("JEdit"));
    QTest::keyClicks(form->Field("JEdit"), "1998");
    QTest::keyClick(form->Field("JEdit"), Qt::Key_J);
    EXPECT_EQ(form->Field("JEdit")->selectedText(), "1998");
    QTest::keyClick(form->Field("JEdit"), Qt::Key_T, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), form->Field("TEdit"));
    QTest::keyClick(form->Field("TEdit"), Qt::Key_M, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), form->Field("MEdit"));
    QTest::keyClick(form->Field("MEdit"), Qt::Key_S);
    EXPECT_EQ(QApplication::focusWidget(), hour);

    // Return calculates from the fields as they stand.
    QTest::keyClick(hour, Qt::Key_Return);
    EXPECT_EQ(Text("JstLabel"), "das Jahr beginnt am 28.1.1998");
    Trigger("MenuEndMsg");  // let the fixture close without a question
}

TEST_F(Input, ClickOnAnyFieldStopsTheClockAndCalculates) {
    Start();
    form->Field("JEdit")->setText("1998");
    ASSERT_TRUE(form->ClockRunning());
    QTest::mouseClick(form->Field("BranchMEdit2"), Qt::LeftButton);
    EXPECT_FALSE(form->ClockRunning());
    EXPECT_EQ(Text("JstLabel"), "das Jahr beginnt am 28.1.1998");
}

TEST_F(Input, ErrorsOfACalculationAreShownAndTheProgramGoesOn) {
    Start({"24031998", "14"});
    std::filesystem::remove(File("PLANETS.DAT"));
    QTest::mouseClick(form->Field("T60Edit"), Qt::LeftButton);
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_EQ(dialogs.prompts[0].text, "File not found");
    EXPECT_EQ(dialogs.prompts[0].caption, "Error");
    for (std::string_view field : cycle::ResultFieldNames)
        EXPECT_EQ(Text(std::string(field).c_str()), "") << field;
}

TEST_F(Input, EscapeAsksWhenEndMsgIsSet) {
    Start({"24031998", "14"});
    form->show();
    // One Escape, one question: the answer No keeps the program running.
    dialogs.answers = {platform::ButtonNo};
    QTest::keyClick(form->Field("SEdit"), Qt::Key_Escape);
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_EQ(dialogs.prompts.back().text, "beenden OHNE Parametersicherung?");
    EXPECT_EQ(dialogs.prompts.back().kind, platform::MessageKind::Confirm);
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->FontInstalled());

    dialogs.answers = {platform::ButtonYes};
    QTest::keyClick(form->Field("SEdit"), Qt::Key_Escape);
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(form->Ended());

    // Without End-Msg, Escape ends at once; a changed MoonSpeed is not saved.
    Start({"24031998", "14"});
    form->show();
    Trigger("MenuEndMsg");
    dialogs.prompts.clear();
    dialogs.inputs = {QString("20")};
    form->MenuMoonSpeedClick();
    QTest::keyClick(form->Field("SEdit"), Qt::Key_Escape);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(dialogs.prompts.size(), 1u);  // only the MoonSpeed box
    EXPECT_FALSE(std::filesystem::exists(File("tolvane.INI")));
}

// Focus arriving at the main window from no window or from the notes editor activates it;
// coming back from another program or from a message box does not.
TEST(Activation, WhoseFocusCounts) {
    QWidget main, editor, box;
    mainwin::ActivationTracker tracker(&main);
    tracker.SetEditorWindow(&editor);
    EXPECT_TRUE(tracker.FocusArrived(&main));     // first showing
    EXPECT_FALSE(tracker.FocusArrived(nullptr));  // to another program …
    EXPECT_FALSE(tracker.FocusArrived(&main));    // … and back
    EXPECT_FALSE(tracker.FocusArrived(&box));     // a message box …
    EXPECT_FALSE(tracker.FocusArrived(&main));    // … and back
    EXPECT_FALSE(tracker.FocusArrived(&editor));  // the editor …
    EXPECT_FALSE(tracker.FocusArrived(nullptr));
    EXPECT_TRUE(tracker.FocusArrived(&main));     // … and back
}

TEST_F(Input, ReturnFromTheEditorRestoresTheLastCalculation) {
    ASSERT_TRUE(Create({"24031998", "14"}));
    editor::TEditForm& editor = *editForm;
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    EXPECT_TRUE(WaitFor([&] { return Text("JstLabel") == "das Jahr beginnt am 28.1.1998"; }));

    // Unfinished input, then a visit to the editor and back.
    form->Field("JEdit")->setText("2000");
    editor.show();
    editor.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    EXPECT_TRUE(WaitFor([&] { return Text("JEdit") == "1998"; }));
    EXPECT_EQ(Text("JstLabel"), "das Jahr beginnt am 28.1.1998");

    // Another window of the program (a message box stand-in) and back: nothing changes.
    QWidget box;
    form->Field("JEdit")->setText("2000");
    box.show();
    box.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&box));
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QCoreApplication::processEvents();
    EXPECT_EQ(Text("JEdit"), "2000");
    Trigger("MenuEndMsg");  // let the fixture close without a question
}
