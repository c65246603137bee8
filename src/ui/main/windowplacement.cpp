#include "ui/main/windowplacement.h"

#include <QtGlobal>
#include <algorithm>
#include <array>
#include <optional>
#include <tuple>

namespace zelcor {

QPoint initialWindowPosition(const QRect& screen, const QSize& window) {
    const int left = (screen.width() - window.width()) / 2;
    const int top = (screen.height() - window.height()) / 3;
    return screen.topLeft() + QPoint(qMax(0, left), qMax(0, top));
}

namespace {

constexpr int kGap = 6; // between floating windows and what they keep off

enum class Side { Right, Left, Below, Above };
constexpr std::array kSides{Side::Right, Side::Left, Side::Below, Side::Above};

QRect grown(const QRect& r) {
    return r.isEmpty() ? r : r.adjusted(-kGap, -kGap, kGap, kGap);
}

qint64 overlap(const QRect& a, const QRect& b) {
    const QRect both = a.intersected(b);
    return both.isEmpty() ? 0 : qint64(both.width()) * both.height();
}

qint64 squaredDistance(const QRect& a, const QRect& b) {
    if (a.isEmpty() || b.isEmpty()) return 0;
    const qint64 dx = std::max({0, b.left() - a.right(), a.left() - b.right()});
    const qint64 dy = std::max({0, b.top() - a.bottom(), a.top() - b.bottom()});
    return dx * dx + dy * dy;
}

// The part of `screen` on `side` of `window`, a gap away from it.
QRect strip(const QRect& screen, const QRect& window, Side side) {
    const QRect near = grown(window);
    QRect part = screen;
    switch (side) {
    case Side::Right:
        part.setLeft(near.right() + 1);
        break;
    case Side::Left:
        part.setRight(near.left() - 1);
        break;
    case Side::Below:
        part.setTop(near.bottom() + 1);
        break;
    case Side::Above:
        part.setBottom(near.top() - 1);
        break;
    }
    return part.isValid() ? part.intersected(screen) : QRect();
}

Side sideOf(const QRect& place, const QRect& window) {
    const QRect near = grown(window);
    if (place.left() > near.right()) return Side::Right;
    if (place.right() < near.left()) return Side::Left;
    if (place.top() > near.bottom()) return Side::Below;
    return Side::Above;
}

// On a side, places fill columns (rows below and above) outwards from the window's edge,
// each from the window's top (left) edge on.
std::pair<qint64, qint64> outwards(const QRect& place, const QRect& window, Side side) {
    switch (side) {
    case Side::Right:
        return {place.left() - window.right(), std::abs(place.top() - window.top())};
    case Side::Left:
        return {window.left() - place.right(), std::abs(place.top() - window.top())};
    case Side::Below:
        return {place.top() - window.bottom(), std::abs(place.left() - window.left())};
    case Side::Above:
        break;
    }
    return {window.top() - place.bottom(), std::abs(place.left() - window.left())};
}

// Top-left corners worth trying for a window of `size` in `room`: against the room's edges,
// and beside or in line with each of `edges`; all moved into the room.
QList<QPoint> corners(const QSize& size, const QRect& room, const QList<QRect>& edges) {
    QList<int> xs{room.left(), room.right() + 1 - size.width()};
    QList<int> ys{room.top(), room.bottom() + 1 - size.height()};
    for (const QRect& edge : edges) {
        if (edge.isEmpty()) continue;
        const QRect near = grown(edge);
        xs << near.right() + 1 << near.left() - size.width() << edge.left() << edge.right() + 1 - size.width();
        ys << near.bottom() + 1 << near.top() - size.height() << edge.top() << edge.bottom() + 1 - size.height();
    }
    const auto into = [](int v, int low, int high) { return std::clamp(v, low, std::max(low, high)); };
    for (QList<int>* values : {&xs, &ys}) {
        std::sort(values->begin(), values->end());
        values->erase(std::unique(values->begin(), values->end()), values->end());
    }
    QList<QPoint> points;
    points.reserve(xs.size() * ys.size());
    for (const int x : xs)
        for (const int y : ys)
            points << QPoint(into(x, room.left(), room.right() + 1 - size.width()),
                             into(y, room.top(), room.bottom() + 1 - size.height()));
    return points;
}

// All of `sizes` on one side of the window, clear of `taken` and of each other; empty when
// they do not all fit there.
QList<QRect> allOnSide(const QRect& screen, const QRect& window, Side side, const QList<QRect>& taken,
                       const QList<QSize>& sizes) {
    const QRect room = strip(screen, window, side);
    if (room.isEmpty()) return {};
    QList<QRect> blocked = taken;
    QList<QRect> placed;
    for (const QSize& size : sizes) {
        std::optional<QRect> best;
        std::pair<qint64, qint64> bestOrder;
        for (const QPoint& at : corners(size, room, blocked + QList<QRect>{window})) {
            const QRect place(at, size);
            if (!room.contains(place)) continue;
            if (std::any_of(blocked.begin(), blocked.end(),
                            [&](const QRect& other) { return grown(other).intersects(place); }))
                continue;
            const auto order = outwards(place, window, side);
            if (!best || order < bestOrder) {
                best = place;
                bestOrder = order;
            }
        }
        if (!best) return {};
        placed << *best;
        blocked << *best;
    }
    return placed;
}

// The best place for one more window: off the controls, off the others, off the window (the
// free area, by side and outwards), else as far from the controls as the screen goes.
QRect bestPlace(const QSize& size, const QRect& screen, const QRect& window, const QRect& controls,
                const QList<QRect>& others) {
    using Cost = std::tuple<qint64, qint64, int, int, qint64, qint64, qint64>;
    std::optional<Cost> bestCost;
    QRect best(screen.topLeft(), size);
    for (const QPoint& at : corners(size, screen, others + QList<QRect>{window, controls})) {
        const QRect place(at, size);
        qint64 covered = 0;
        for (const QRect& other : others)
            covered += overlap(place, grown(other));
        Cost cost;
        if (overlap(place, grown(window)) == 0) {
            const Side side = sideOf(place, window);
            const auto [out, along] = outwards(place, window, side);
            cost = Cost{overlap(place, grown(controls)), covered, 0, int(side), out, along, 0};
        } else {
            cost = Cost{overlap(place, grown(controls)),   covered,     1,           0,
                        -squaredDistance(place, controls), place.top(), place.left()};
        }
        if (!bestCost || cost < *bestCost) {
            bestCost = cost;
            best = place;
        }
    }
    return best;
}

} // namespace

QList<QRect> placesBeside(const QRect& screen, const QRect& window, const QRect& controls, const QList<QRect>& taken,
                          const QList<QSize>& sizes) {
    for (const Side side : kSides) {
        const QList<QRect> placed = allOnSide(screen, window, side, taken, sizes);
        if (!placed.isEmpty()) return placed;
    }
    QList<QRect> others = taken;
    QList<QRect> placed;
    for (const QSize& size : sizes) {
        placed << bestPlace(size, screen, window, controls, others);
        others << placed.back();
    }
    return placed;
}

bool placeStillFits(const QRect& place, const QList<QRect>& screens, const QRect& controls) {
    const QPoint middle = place.center();
    return !place.intersects(controls) &&
           std::any_of(screens.begin(), screens.end(), [&](const QRect& screen) { return screen.contains(middle); });
}

} // namespace zelcor
