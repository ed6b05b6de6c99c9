// SPDX-License-Identifier: GPL-3.0-or-later
// The icon at 16 px, rendered by librsvg as desktops do: every stroke of the glyph and of
// the frame covers whole pixels, so the small icon shows sharp lines, not grey smears.
#include <QColor>
#include <QImage>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/temp_folder.h"

namespace {

// The three colours of the drawing: frame, tile, glyph.
constexpr QRgb Frame = 0xffd9a441, Tile = 0xff9c1c1c, Glyph = 0xfffbf0d2;

bool Near(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) <= 2 && std::abs(qGreen(a) - qGreen(b)) <= 2 &&
           std::abs(qBlue(a) - qBlue(b)) <= 2 && std::abs(qAlpha(a) - qAlpha(b)) <= 2;
}

}  // namespace

TEST(Icon, StrokesCoverWholePixelsAt16Px) {
    if (std::system("command -v rsvg-convert >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "rsvg-convert is not installed (Debian package librsvg2-bin)";
    const testing_support::TempFolder folder;
    const std::string png = (folder.Path() / "icon16.png").string();
    const std::string command = "rsvg-convert -w 16 -h 16 -o '" + png + "' '" TOLVANE_ICON "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const QImage image = QImage(QString::fromStdString(png)).convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(image.size(), QSize(16, 16));
    int glyphPixels = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            // The rounded corners (3 px radius) alone may blend.
            const bool corner = (x < 3 || x > 12) && (y < 3 || y > 12);
            const QRgb p = image.pixel(x, y);
            if (corner) continue;
            SCOPED_TRACE("pixel " + std::to_string(x) + "," + std::to_string(y));
            EXPECT_TRUE(Near(p, Frame) || Near(p, Tile) || Near(p, Glyph))
                << QColor::fromRgba(p).name(QColor::HexArgb).toStdString();
            if (Near(p, Glyph)) ++glyphPixels;
        }
    }
    // Enough of the glyph is there to be seen: its box, bars and stem.
    EXPECT_GE(glyphPixels, 30);
}
