// The folder of the running executable, where the program keeps its data files.
#pragma once

#include <string>

namespace platform {

// The directory part of the executable's full path, including the final "/". Raises
// std::runtime_error when the path cannot be determined.
std::string ProgramFolder();

}  // namespace platform
