// The window's side of the settings file: the clock interval and the notes window's
// section read at the first activation, and the save of every setting by the end command.
#include "editor/editor_settings.h"
#include "mainwin/tform1.h"

namespace mainwin {

void TForm1::LoadDeferredSettings() {
    const platform::IniDocument settings = settings_.Load();
    SetTimerInterval(ReadTimerInterval(settings));
    if (editForm_) editor::LoadEditorSettings(*editForm_, settings, defaultNotesFile_);
}

void TForm1::SaveSettings() {
    MainSettings s;
    s.Left = pos().x();
    s.Top = pos().y();
    s.MoonSpeed = calc_.MoonSpeed();
    s.SymbolSize = symbolSize_;
    s.TimerInterval = timerInterval_;
    s.AutoFont = AutoFont();
    s.EndMsg = EndMsg();
    WriteSettings(settings_, s,
                  editForm_ ? editor::SaveEditorSettings(*editForm_)
                            : std::vector<platform::IniEntry>{});
}

}  // namespace mainwin
