// SPDX-License-Identifier: GPL-3.0-or-later
// Windows at stored bounds: kept where the screens show them whole, else brought fully
// onto the nearest screen.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>

#include "platform/qt/window_placement.h"

namespace {

TEST(WindowPlacement, StoredBoundsAgainstScreens) {
    const QRect full(0, 0, 1920, 1080);
    const QRect small(0, 0, 1024, 768);
    const QRect panel(0, 32, 1920, 1048);  // a panel along the top
    const QRect right(1920, 0, 1280, 1024);
    struct Case {
        const char* name;
        QRect stored;
        QList<QRect> screens;
        QRect placed;
    };
    const Case cases[] = {
        {"whole on the screen", {1257, 668, 663, 412}, {full}, {1257, 668, 663, 412}},
        {"hanging off the right", {1800, 500, 663, 412}, {full}, {1257, 500, 663, 412}},
        {"one pixel off the bottom", {100, 669, 663, 412}, {full}, {100, 668, 663, 412}},
        {"title bar above the screen", {-1, -20, 663, 412}, {full}, {0, 0, 663, 412}},
        {"title bar under the panel", {300, 10, 663, 412}, {panel}, {300, 32, 663, 412}},
        {"too little of the bar left", {1850, 500, 663, 412}, {full}, {1257, 500, 663, 412}},
        {"larger than the screen", {3000, 3000, 1400, 900}, {small}, {0, 0, 1024, 768}},
        {"larger, on the screen", {0, 0, 100000, 100000}, {small}, {0, 0, 1024, 768}},
        {"on the second screen", {2500, 100, 663, 412}, {full, right}, {2500, 100, 663, 412}},
        {"across both screens", {1700, 100, 663, 412}, {full, right}, {1700, 100, 663, 412}},
        {"across, below the second", {1700, 900, 663, 412}, {full, right}, {1920, 612, 663, 412}},
        {"beyond the second screen", {5000, 100, 663, 412}, {full, right}, {2537, 100, 663, 412}},
        {"below the first, nearer it", {100, 3000, 663, 412}, {full, right}, {100, 668, 663, 412}},
        {"no screens", {-5000, -5000, 663, 412}, {}, {-5000, -5000, 663, 412}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::PlaceOnScreens(c.stored, c.screens), c.placed) << c.name;
}

// Positions straight from a settings file, as far out as 32 bits go, land on the screen the
// test runs on; one on it stays.
TEST(WindowPlacement, ExtremeStoredValuesLandOnTheScreen) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    for (const QPoint stored : {QPoint(INT32_MIN, INT32_MIN), QPoint(INT32_MAX, INT32_MAX)}) {
        const platform::Placement p = platform::PlaceStoredWindow(stored, QSize(300, 200));
        EXPECT_TRUE(screen.contains(QRect(p.TopLeft, p.Size))) << stored.x();
    }
    EXPECT_EQ(platform::PlaceStoredWindow({10, 10}, {300, 200}).TopLeft, QPoint(10, 10));
}

}  // namespace
