// SPDX-License-Identifier: GPL-3.0-or-later
// The window's side of the settings file: the clock interval and the notes window's
// section read at the first activation, and the save of every setting by the end command.
#include "editor/editor_settings.h"
#include "mainwin/tform1.h"
#include "platform/qt/window_placement.h"

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
    std::vector<platform::IniEntry> editor;
    if (editForm_) editor = editor::SaveEditorSettings(*editForm_);
    // Where windows cannot place themselves (Wayland) they cannot learn where they stand
    // either: the positions of both windows are written as the file holds them, or as
    // their defaults where it holds none.
    if (!platform::WindowsPlaceThemselves()) KeepStoredPositions(settings_.Load(), s, editor);
    WriteSettings(settings_, s, editor);
}

}  // namespace mainwin
