// SPDX-License-Identifier: GPL-3.0-or-later
// The format tests run headless: QTextDocument needs a QGuiApplication for its fonts.
#include <gtest/gtest.h>

#include <QGuiApplication>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
