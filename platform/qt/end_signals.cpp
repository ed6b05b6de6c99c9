// SPDX-License-Identifier: GPL-3.0-or-later
// SIGTERM and SIGHUP through a pipe to a QSocketNotifier (only write() in the handler), and
// the session manager's request to save.
#include "platform/qt/end_signals.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

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

void KeepAtEnd(std::function<void()> keep) {
    if (pipeEnds[0] >= 0 || ::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) return;
    auto shared = std::make_shared<std::function<void()>>(std::move(keep));
    QCoreApplication* app = QCoreApplication::instance();
    auto* notifier = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, app);
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [shared] {
        unsigned char byte = 0;
        if (::read(pipeEnds[0], &byte, 1) != 1) return;
        (*shared)();
        QCoreApplication::exit(128 + byte);
    });
    if (auto* gui = qobject_cast<QGuiApplication*>(app))
        QObject::connect(gui, &QGuiApplication::commitDataRequest, gui, [shared] { (*shared)(); });
    struct sigaction action {};
    action.sa_handler = Handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGHUP, &action, nullptr);
}

}  // namespace platform
