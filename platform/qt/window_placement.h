// SPDX-License-Identifier: GPL-3.0-or-later
// Where a window opens at the bounds stored in the settings file: where it was, as long as
// the screens show all of it, else fully on the nearest screen, made smaller where it is
// larger than that screen.
#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace platform {

// The height counted as the title bar above a window's content until the window manager
// has framed the window.
inline constexpr int TitleBarHeight = 24;

// `frame`: the stored outer bounds of a window, title bar included (its top-left is the
// stored Left and Top). `screens`: the areas of the screens that windows may use.
// A window that the screens show whole (on one of them or across several) keeps `frame`
// exactly. Any other goes onto the nearest screen (the one it overlaps most, else the one
// closest to it), moved as little as possible to lie fully on it and made smaller only
// where it is larger than that screen. Without screens `frame` stays.
QRect PlaceOnScreens(const QRect& frame, const QList<QRect>& screens);

// The areas of the desktop's screens without their panels and docks.
QList<QRect> AvailableScreenAreas();

// Whether windows can place themselves: not on Wayland, where the compositor alone decides
// and no window learns where it went.
bool WindowsPlaceThemselves();

// The bounds at which a window whose content has `size` opens when its stored top-left is
// `stored`: PlaceOnScreens on the desktop's screens, the title bar added above the content.
// Returns the top-left and the content size to apply (the size shrinks only for a window
// larger than its screen).
struct Placement {
    QPoint TopLeft;
    QSize Size;
};
Placement PlaceStoredWindow(QPoint stored, QSize size);

// Moves and sizes `window`, not shown yet, by PlaceStoredWindow. Its frame, not its
// content, is put at the top-left: under X11 a window placed before the window manager
// framed it may find its content where its frame belonged, so its first activation puts
// the frame where it was meant to stand (else every save and start would move the window
// up by a title bar), placed once more by PlaceOnScreens with the frame's real size.
void ApplyStoredBounds(QWidget& window, QPoint stored, QSize size);

}  // namespace platform
