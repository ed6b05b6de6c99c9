// The window's side of the settings file: the clock interval read at the first activation,
// and the save of every setting by the end command.
#include "mainwin/tform1.h"

namespace mainwin {

void TForm1::LoadDeferredSettings() { SetTimerInterval(ReadTimerInterval(settings_)); }

void TForm1::SaveSettings() {
    MainSettings s;
    s.Left = pos().x();
    s.Top = pos().y();
    s.MoonSpeed = calc_.MoonSpeed();
    s.SymbolSize = symbolSize_;
    s.TimerInterval = timerInterval_;
    s.AutoFont = AutoFont();
    s.EndMsg = EndMsg();
    WriteSettings(settings_, s);
}

}  // namespace mainwin
