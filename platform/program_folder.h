// SPDX-License-Identifier: GPL-3.0-or-later
// The running executable and its folder, where a portable copy keeps its files.
#pragma once

#include <string>

namespace platform {

// The executable's full path. Raises std::runtime_error when it cannot be determined.
std::string ProgramFile();

// The directory part of the executable's full path, including the final "/". Raises
// std::runtime_error when the path cannot be determined.
std::string ProgramFolder();

}  // namespace platform
