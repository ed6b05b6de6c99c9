// SPDX-License-Identifier: GPL-3.0-or-later
// The placement rule for stored window bounds.
#include "platform/qt/window_placement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QRegion>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cstdint>
#include <limits>

namespace platform {

namespace {

// Far beyond any screen, yet with room for the rectangle's arithmetic: stored bounds come
// from a file and may be anything.
constexpr int Far = 1 << 24;

// Sizes and distances in 64 bits: stored positions come from a file and may be anything.
std::int64_t Area(const QRect& r) {
    return r.isEmpty() ? 0 : std::int64_t{r.width()} * r.height();
}

std::int64_t Gap(int lowA, int highA, int lowB, int highB) {
    if (highA < lowB) return std::int64_t{lowB} - highA;
    if (highB < lowA) return std::int64_t{lowA} - highB;
    return 0;
}

// Squared distance between two rectangles; 0 when they touch or overlap.
std::int64_t Distance(const QRect& a, const QRect& b) {
    const std::int64_t dx = Gap(a.left(), a.right(), b.left(), b.right());
    const std::int64_t dy = Gap(a.top(), a.bottom(), b.top(), b.bottom());
    return dx * dx + dy * dy;
}

// Whether the screens together show every pixel of the frame (it may span two of them).
bool WhollyShown(const QRect& frame, const QList<QRect>& screens) {
    QRegion hidden(frame);
    for (const QRect& screen : screens) hidden -= screen;
    return hidden.isEmpty();
}

// Moves [low, low + length) as little as possible into [screenLow, screenLow + screenLength).
int Clamp(int low, int length, int screenLow, int screenLength) {
    const std::int64_t highest = std::int64_t{screenLow} + screenLength - length;
    return static_cast<int>(std::clamp<std::int64_t>(low, screenLow, highest));
}

// Puts the frame of a window at its place on the window's first activation, when the
// window manager has framed it, and checks the place once more with the frame's real size
// (its borders were only estimated); then goes away.
class FramePlacement : public QObject {
public:
    FramePlacement(QWidget& window, QPoint frame) : QObject(&window), frame_(frame) {
        setObjectName(QStringLiteral("FramePlacement"));
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::WindowActivate) {
            auto* window = static_cast<QWidget*>(watched);
            const QRect real(frame_, window->frameGeometry().size());
            const QRect placed = PlaceOnScreens(real, AvailableScreenAreas());
            if (placed.size() != real.size())
                window->resize(window->size() - (real.size() - placed.size()));
            if (window->pos() != placed.topLeft()) window->move(placed.topLeft());
            window->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }

private:
    QPoint frame_;
};

}  // namespace

QRect PlaceOnScreens(const QRect& frame, const QList<QRect>& screens) {
    if (screens.isEmpty() || WhollyShown(frame, screens)) return frame;
    const QRect* nearest = nullptr;
    std::int64_t bestDistance = std::numeric_limits<std::int64_t>::max();
    std::int64_t bestOverlap = -1;
    for (const QRect& screen : screens) {
        const std::int64_t distance = Distance(frame, screen);
        const std::int64_t overlap = Area(frame.intersected(screen));
        if (distance < bestDistance || (distance == bestDistance && overlap > bestOverlap)) {
            nearest = &screen;
            bestDistance = distance;
            bestOverlap = overlap;
        }
    }
    const QRect& s = *nearest;
    const int width = std::min(frame.width(), s.width());
    const int height = std::min(frame.height(), s.height());
    return {Clamp(frame.left(), width, s.left(), s.width()),
            Clamp(frame.top(), height, s.top(), s.height()), width, height};
}

QList<QRect> AvailableScreenAreas() {
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas.append(screen->availableGeometry());
    return areas;
}

bool WindowsPlaceThemselves() {
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

Placement PlaceStoredWindow(QPoint stored, QSize size) {
    const auto limit = [](int v, int low) { return std::clamp(v, low, Far); };
    const QPoint topLeft(limit(stored.x(), -Far), limit(stored.y(), -Far));
    const QSize content(limit(size.width(), 0), limit(size.height(), 0));
    const QRect frame(topLeft, QSize(content.width(), content.height() + TitleBarHeight));
    const QRect placed = PlaceOnScreens(frame, AvailableScreenAreas());
    if (placed == frame) return {stored, size};
    return {placed.topLeft(), QSize(placed.width(), placed.height() - TitleBarHeight)};
}

void ApplyStoredBounds(QWidget& window, QPoint stored, QSize size) {
    const Placement placed = PlaceStoredWindow(stored, size);
    window.move(placed.TopLeft);
    window.resize(placed.Size);
    // Where windows cannot place themselves, there is nothing to put right.
    if (!WindowsPlaceThemselves()) return;
    delete window.findChild<FramePlacement*>(QStringLiteral("FramePlacement"),
                                             Qt::FindDirectChildrenOnly);
    new FramePlacement(window, placed.TopLeft);
}

}  // namespace platform
