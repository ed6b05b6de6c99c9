// SPDX-License-Identifier: GPL-3.0-or-later
// SIGTERM and SIGHUP through a pipe to a QSocketNotifier (only write() in the handler).
#include "platform/qt/end_signals.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

namespace {

int pipeEnds[2] = {-1, -1};

void Handler(int signal) {
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(signal);
    (void)!::write(pipeEnds[1], &byte, 1);
    errno = saved;
}

}  // namespace

void OnEndSignals(std::function<void(int signal)> ending) {
    if (pipeEnds[0] >= 0 || ::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) return;
    auto* notifier = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read,
                                         QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier,
                     [ending = std::move(ending)] {
                         unsigned char byte = 0;
                         while (::read(pipeEnds[0], &byte, 1) == 1) ending(byte);
                     });
    struct sigaction action {};
    action.sa_handler = Handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGHUP, &action, nullptr);
}

}  // namespace platform
