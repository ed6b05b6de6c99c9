// SPDX-License-Identifier: GPL-3.0-or-later
// Runs part of a test as a user whom file permissions bind. Root reads and writes through
// them, so as root the part runs in a forked child that has become user "nobody".
#pragma once

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

namespace testing_support {

// Runs `body` without root's powers and returns its result: an empty text for success,
// otherwise what went wrong. As root, `owned` (a folder) and everything in it first pass to
// user and group 65534 and `body` runs in a child process; a child that ends abnormally
// gives a text saying so.
inline std::string AsUnprivilegedUser(const std::filesystem::path& owned,
                                      const std::function<std::string()>& body) {
    if (::geteuid() != 0) return body();
    constexpr uid_t Nobody = 65534;
    namespace fs = std::filesystem;
    if (::lchown(owned.c_str(), Nobody, Nobody) != 0) return "chown failed";
    for (const auto& entry : fs::recursive_directory_iterator(owned)) {
        if (::lchown(entry.path().c_str(), Nobody, Nobody) != 0) return "chown failed";
    }
    int channel[2];
    if (::pipe(channel) != 0) return "pipe failed";
    const pid_t child = ::fork();
    if (child < 0) return "fork failed";
    if (child == 0) {
        ::close(channel[0]);
        std::string result = "could not become user nobody";
        if (::setgroups(0, nullptr) == 0 && ::setgid(Nobody) == 0 && ::setuid(Nobody) == 0)
            result = body();
        const ssize_t ignored = ::write(channel[1], result.data(), result.size());
        static_cast<void>(ignored);
        ::_exit(0);
    }
    ::close(channel[1]);
    std::string result;
    char buffer[512];
    ssize_t got;
    while ((got = ::read(channel[0], buffer, sizeof buffer)) > 0)
        result.append(buffer, static_cast<std::size_t>(got));
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return "the child process failed";
    return result;
}

}  // namespace testing_support
