// SPDX-License-Identifier: GPL-3.0-or-later
// Linux: the executable's path is the target of /proc/self/exe.
#include "platform/program_folder.h"

#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "platform/system_error_text.h"

namespace platform {

std::string ProgramFile() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) throw std::runtime_error("Program folder unknown: " + SystemErrorText(ec.value()));
    return exe.string();
}

std::string ProgramFolder() {
    std::string folder = std::filesystem::path(ProgramFile()).parent_path().string();
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

}  // namespace platform
