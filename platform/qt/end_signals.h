// SPDX-License-Identifier: GPL-3.0-or-later
// The end of the program from outside: SIGTERM (shutdown, kill) and SIGHUP (the terminal
// or the session went away). The signal handler only writes a byte into a pipe; what the
// program does then runs on the UI thread, from the event loop.
#pragma once

#include <functional>

namespace platform {

// Calls `ending(signal)` on the UI thread when SIGTERM or SIGHUP arrives. Once only.
void OnEndSignals(std::function<void(int signal)> ending);

}  // namespace platform
