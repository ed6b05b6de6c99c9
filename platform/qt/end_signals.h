// SPDX-License-Identifier: GPL-3.0-or-later
// The end of the program from outside: SIGTERM (shutdown, kill), SIGHUP (the terminal or
// the session went away) and the desktop session's end. The signal handler only writes a
// byte into a pipe; what the program does then runs on the UI thread, from the event loop.
#pragma once

#include <functional>

namespace platform {

// Calls `keep` on the UI thread when the program is about to be ended from outside, so
// that nothing typed is lost: on SIGTERM or SIGHUP, after which the program ends with
// status 128 + the signal, and when the desktop session ends
// (QGuiApplication::commitDataRequest), after which the session ends it. Once only; the
// application object must exist.
void KeepAtEnd(std::function<void()> keep);

}  // namespace platform
