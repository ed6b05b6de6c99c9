// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and writing [Main] and [Parameter].
#include "mainwin/settings.h"

#include <string>
#include <vector>

namespace mainwin {

MainSettings ReadCreationSettings(const platform::IniFile& file) {
    const platform::IniDocument doc = file.Load();
    MainSettings s;
    s.Left = doc.ReadInteger("Main", "Left", s.Left);
    s.Top = doc.ReadInteger("Main", "Top", s.Top);
    s.MoonSpeed = cycle::MoonSpeedFromSetting(doc.ReadInteger("Parameter", "MoonSpeed", s.MoonSpeed))
                      .value_or(s.MoonSpeed);
    const std::int32_t symbolSize = doc.ReadInteger("Parameter", "SymbolSize", s.SymbolSize);
    if (symbolSize > 0) s.SymbolSize = symbolSize;
    s.AutoFont = doc.ReadBool("Parameter", "AutoFont", s.AutoFont);
    s.EndMsg = doc.ReadBool("Parameter", "EndMsg", s.EndMsg);
    return s;
}

std::uint32_t ReadTimerInterval(const platform::IniDocument& settings) {
    constexpr std::int32_t Default = 60000;
    const std::int32_t ms = settings.ReadInteger("Parameter", "TimerInterval", Default);
    return static_cast<std::uint32_t>(ms < 0 ? Default : ms);
}

void KeepStoredPositions(const platform::IniDocument& stored, MainSettings& s,
                         std::vector<platform::IniEntry>& more) {
    const MainSettings defaults;
    s.Left = stored.ReadInteger("Main", "Left", defaults.Left);
    s.Top = stored.ReadInteger("Main", "Top", defaults.Top);
    for (platform::IniEntry& e : more)
        if (e.Key == "Left" || e.Key == "Top")
            e.Value = std::to_string(stored.ReadInteger(e.Section, e.Key, 0));
}

void WriteSettings(platform::IniFile& file, const MainSettings& s,
                   const std::vector<platform::IniEntry>& more) {
    const auto flag = [](bool b) { return std::string(b ? "1" : "0"); };
    std::vector<platform::IniEntry> entries{
        {"Main", "Left", std::to_string(s.Left)},
        {"Main", "Top", std::to_string(s.Top)},
        {"Parameter", "MoonSpeed", std::to_string(s.MoonSpeed)},
        {"Parameter", "SymbolSize", std::to_string(s.SymbolSize)},
        {"Parameter", "TimerInterval", std::to_string(s.TimerInterval)},
        {"Parameter", "AutoFont", flag(s.AutoFont)},
        {"Parameter", "EndMsg", flag(s.EndMsg)},
    };
    entries.insert(entries.end(), more.begin(), more.end());
    file.WriteStrings(entries);
}

}  // namespace mainwin
