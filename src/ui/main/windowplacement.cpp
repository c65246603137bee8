#include "ui/main/windowplacement.h"

#include <QList>
#include <QtGlobal>
#include <algorithm>

namespace zelcor {

QPoint initialWindowPosition(const QRect& screen, const QSize& window) {
    const int left = (screen.width() - window.width()) / 2;
    const int top = (screen.height() - window.height()) / 3;
    return screen.topLeft() + QPoint(qMax(0, left), qMax(0, top));
}

namespace {

constexpr int kGap = 6;

qint64 overlap(const QRect& a, const QRect& b) {
    const QRect both = a.intersected(b);
    return both.isEmpty() ? 0 : qint64(both.width()) * both.height();
}

} // namespace

QPoint besideOwnerPosition(const QSize& block, const QRect& screen, const QRect& owner, const QRect& window) {
    const auto inside = [&](QPoint at) {
        at.setX(std::clamp(at.x(), screen.left(), std::max(screen.left(), screen.right() + 1 - block.width())));
        at.setY(std::clamp(at.y(), screen.top(), std::max(screen.top(), screen.bottom() + 1 - block.height())));
        return at;
    };
    const QList<int> xs{owner.right() + 1 + kGap,           owner.left() - kGap - block.width(),
                        window.right() + 1 + kGap,          window.left() - kGap - block.width(),
                        screen.right() + 1 - block.width(), screen.left()};
    const QList<int> ys{owner.top(), window.top(), screen.top(), screen.bottom() + 1 - block.height()};
    QPoint best = inside(QPoint(xs.first(), ys.first()));
    qint64 bestCost = -1;
    for (const int y : ys)
        for (const int x : xs) {
            const QPoint at = inside(QPoint(x, y));
            const QRect placed(at, block);
            // Covering the owner costs far more than covering the rest of its window.
            const qint64 cost = 16 * overlap(placed, owner) + overlap(placed, window);
            if (bestCost < 0 || cost < bestCost) {
                bestCost = cost;
                best = at;
            }
        }
    return best;
}

GaugeBlockOrigins gaugeBlockOrigins(const QSize& large, const QSize& small, const QRect& screen, const QRect& owner,
                                    const QRect& window) {
    const QSize whole(large.width() + small.width(), std::max(large.height(), small.height()));
    const QPoint together = besideOwnerPosition(whole, screen, owner, window);
    const GaugeBlockOrigins joined{together, together + QPoint(large.width(), 0)};
    const QPoint largeAt = besideOwnerPosition(large, screen, owner, window);
    // The small ones keep off the large ones as they keep off the window.
    const QPoint smallAt = besideOwnerPosition(small, screen, owner, window.united(QRect(largeAt, large)));
    const GaugeBlockOrigins split{largeAt, smallAt};
    const auto covered = [&](const GaugeBlockOrigins& at) {
        const QRect largeRect(at.large, large), smallRect(at.small, small);
        return overlap(largeRect, owner) + overlap(smallRect, owner) + overlap(largeRect, smallRect);
    };
    return covered(split) < covered(joined) ? split : joined;
}

} // namespace zelcor
