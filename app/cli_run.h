// SPDX-License-Identifier: GPL-3.0-or-later
// One run of tolvane-cli from its arguments to its exit status, with the streams and the
// surroundings (program folder, clock) passed in so that tests can run it in-process.
#pragma once

#include <ctime>
#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace cli {

inline constexpr int ExitOk = 0;
inline constexpr int ExitFailed = 1;   // term files missing, a search or a file read failed
inline constexpr int ExitBadInput = 2;  // wrong arguments or an input the calculator rejects

struct CliContext {
    // Holds the term files; ends with "/".
    std::string dataFolder;
    // The local time of the system clock.
    std::function<std::tm()> localNow;
    // Whether a long range shows its progress on the error stream (a terminal).
    bool showProgress = false;
    // Search the reference way, day by day (the comparison tool and benchmarks use it).
    bool referenceSearch = false;
    // The settings file the window keeps, read for MoonSpeed; none when empty.
    std::filesystem::path settingsFile{};

    // The executable's data folder and settings file, and the real clock.
    static CliContext System();
};

// `args` without the program name. Results go to `out`, messages to `err`.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const CliContext& context);

std::string UsageText();
// "tolvane-cli" and the version of the program.
std::string VersionText();

}  // namespace cli
