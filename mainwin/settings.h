// SPDX-License-Identifier: GPL-3.0-or-later
// The calculator window's settings: sections [Main] and [Parameter] of the settings file
// next to the program.
#pragma once

#include <cstdint>
#include <vector>

#include "cycle/solar_search.h"
#include "platform/ini_file.h"

namespace mainwin {

struct MainSettings {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::uint8_t MoonSpeed = cycle::DefaultMoonSpeed;
    std::int32_t SymbolSize = 33;
    std::uint32_t TimerInterval = 60000;
    bool AutoFont = true;
    bool EndMsg = true;
};

// The keys read while the window is created (all but TimerInterval). Values that are not
// valid settings read as their defaults: a MoonSpeed outside 1..255, a SymbolSize of 0 or
// less.
MainSettings ReadCreationSettings(const platform::IniFile& file);

// TimerInterval, read at the first activation; a negative value reads as 60000.
std::uint32_t ReadTimerInterval(const platform::IniDocument& settings);

// For a desktop on which windows cannot learn where they stand: sets Left and Top of
// [Main] in `settings` and those of any section in `more` (the notes window's) to the values
// `stored` holds, or to their default 0 where it holds none.
void KeepStoredPositions(const platform::IniDocument& stored, MainSettings& settings,
                         std::vector<platform::IniEntry>& more);

// Writes the seven keys, then `more` (the notes window's section), in one replacement of the
// file; raises platform::IniWriteError ("Unable to write to …") when the file cannot be
// written, leaving it as it was.
void WriteSettings(platform::IniFile& file, const MainSettings& settings,
                   const std::vector<platform::IniEntry>& more = {});

}  // namespace mainwin
