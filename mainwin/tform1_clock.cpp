// SPDX-License-Identifier: GPL-3.0-or-later
// Clock mode: while Timer1 is enabled, every tick puts the local hour and date into the
// input fields and calculates; caption and task-bar text show the hour's branch.
#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>

#include "mainwin/tform1.h"

namespace mainwin {

void TForm1::SetTimerEnabled(bool enabled) {
    timerEnabled_ = enabled;
    // An interval of 0 never ticks (a 0 ms timer would fire without pause).
    if (enabled && timerInterval_ > 0)
        timer1_.start(static_cast<int>(std::min<std::uint32_t>(timerInterval_, INT32_MAX)));
    else
        timer1_.stop();
}

void TForm1::SetTimerInterval(std::uint32_t ms) {
    if (ms == timerInterval_) return;
    timerInterval_ = ms;
    SetTimerEnabled(timerEnabled_);  // a running clock counts the new interval afresh
}

void TForm1::PaintInputs(bool clockRunning) {
    for (const cycle::InputField field : cycle::InputFields) {
        QLineEdit* edit = Input(field);
        QPalette pal = edit->palette();
        const QPalette standard = QApplication::palette(edit);
        pal.setColor(QPalette::Base,
                     standard.color(clockRunning ? QPalette::Button : QPalette::Base));
        edit->setPalette(pal);
    }
}

void TForm1::MenuClockClick() {
    SetTimerEnabled(!timerEnabled_);
    if (timerEnabled_) {
        PaintInputs(true);
        // Let the grey fields be painted before the calculation starts.
        QCoreApplication::processEvents();
        Timer1Timer();
    } else {
        PaintInputs(false);
        setWindowIconText(QFileInfo(programFile_).fileName());
        setWindowTitle(programFile_);
    }
}

void TForm1::Timer1Timer() {
    ReadClock();
    WriteInputs();
    calc_.CalcReturnPress();
    setWindowIconText("Std=" + results_[cycle::IndexOf(cycle::ResultField::BranchSEdit2)].edit->text());
    setWindowTitle(programFile_ + "   UHR");
}

void TForm1::MenuUhrSpeedClick() {
    const auto seconds = AskNumber("Uhr Intervall 1..3600[sec]",
                                   static_cast<std::int32_t>(timerInterval_ / 1000), 1, 3600);
    if (seconds) SetTimerInterval(static_cast<std::uint32_t>(*seconds) * 1000u);
}

}  // namespace mainwin
