// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers of the front-end tests: running tolvane-cli in-process or as a process.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

#include "app/cli_run.h"
#include "platform/program_folder.h"
#include "support/temp_folder.h"

namespace clitest {

struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};

// A fixed clock: 2021-07-09 17:42:05 local time.
inline std::tm FixedNow() {
    std::tm t{};
    t.tm_year = 2021 - 1900;
    t.tm_mon = 6;
    t.tm_mday = 9;
    t.tm_hour = 17;
    t.tm_min = 42;
    t.tm_sec = 5;
    return t;
}

// The front end in-process, with the test executable's folder (which holds the term files).
inline RunResult RunInProcess(const std::vector<std::string>& args,
                              const std::string& folder = platform::ProgramFolder()) {
    std::ostringstream out, err;
    RunResult r;
    r.status = cli::RunCli(args, out, err, {folder, FixedNow});
    r.out = out.str();
    r.err = err.str();
    return r;
}

using testing_support::TempFolder;

inline std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Runs `program` with `args` through the shell; stdout through a pipe, stderr via a file.
inline RunResult RunProcess(const std::string& program, const std::vector<std::string>& args) {
    const TempFolder scratch;
    const std::filesystem::path errFile = scratch.Path() / "stderr";
    std::string command = "'" + program + "'";
    for (const std::string& a : args) command += " '" + a + "'";
    command += " 2>'" + errFile.string() + "'";
    RunResult r;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) throw std::runtime_error("popen failed: " + command);
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) r.out.append(buf, n);
    const int raw = pclose(pipe);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.err = ReadAll(errFile);
    return r;
}

// The lines of `text`, without their line ends.
inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace clitest
