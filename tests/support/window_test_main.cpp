// SPDX-License-Identifier: GPL-3.0-or-later
// The entry of both window test suites (calculator and notes window): they run headless
// inside the program's own application object, so that errors take the same way to the
// user as in the program.
#include <gtest/gtest.h>

#include <QLocale>

#include "platform/qt/application.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    platform::TolvaneApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("tolvane"));
    // One language whatever the machine's: no Qt translations, the dialogs' English texts.
    QLocale::setDefault(QLocale::c());
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
