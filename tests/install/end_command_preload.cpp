// SPDX-License-Identifier: GPL-3.0-or-later
// Loaded (LD_PRELOAD) into an installed tolvane by the staging-install test: once the
// calculator window is active, it chooses "&Ende + Parametersicherung" as a user would, so
// that the real program saves its settings and ends. It never touches the program's files.
#include <QAction>
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace {

constexpr int PollMs = 50;
constexpr int GiveUpMs = 20000;

QWidget* ActiveCalculatorWindow() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QLatin1String("Form1") && w->isActiveWindow()) return w;
    }
    return nullptr;
}

// Waits for the first activation (it loads the deferred settings), then ends the program
// through the menu command.
void ChooseEndCommandWhenActive(int waitedMs) {
    if (QWidget* form = ActiveCalculatorWindow()) {
        if (auto* end = form->findChild<QAction*>(QStringLiteral("MenuEnde"))) {
            end->trigger();
            return;
        }
        std::fputs("end_command_preload: no action MenuEnde\n", stderr);
        QCoreApplication::exit(3);
        return;
    }
    if (waitedMs >= GiveUpMs) {
        std::fputs("end_command_preload: the calculator window never became active\n", stderr);
        QCoreApplication::exit(4);
        return;
    }
    QTimer::singleShot(PollMs, [waitedMs] { ChooseEndCommandWhenActive(waitedMs + PollMs); });
}

void StartWaiting() {
    QTimer::singleShot(0, [] { ChooseEndCommandWhenActive(0); });
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(StartWaiting)
