#include "shell/window_layout.h"

#include <algorithm>

namespace pelmar {

namespace {
constexpr int DialogStrip = 405, RightGap = 10, BottomGap = 5, EdgeGap = 10, TransGap = 15, PictureGap = 5;
}  // namespace

FrameMargins MarginsOf(const QRect& frame, const QRect& client) {
    return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
            frame.bottom() - client.bottom()};
}

FrameMargins EstimatedMargins(const FrameMargins& own, const FrameMargins& framed) {
    return own.none() ? framed : own;
}

int DialogRoom(std::span<const int> clientWidths, const FrameMargins& frame) {
    const int widest = clientWidths.empty() ? 0 : *std::max_element(clientWidths.begin(), clientWidths.end());
    return widest > 0 ? widest + frame.left + frame.right : 0;
}

QPoint KeepInside(QPoint at, QSize size, const QRect& area) {
    if (area.isEmpty()) return at;
    const int x = std::clamp(at.x(), area.left(), std::max(area.left(), area.right() + 1 - size.width()));
    const int y = std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() + 1 - size.height()));
    return {x, y};
}

QRect KeepPictureInside(const QRect& place, const PictureArea& area) {
    const QSize least(MinPictureWidth, MinPictureHeight);
    const QRect atLeast(place.topLeft(), place.size().expandedTo(least));
    if (area.view.contains(atLeast) && area.seen.contains(QRect(atLeast.topLeft(), least))) return atLeast;
    QSize size = place.size();
    if (!area.seen.isEmpty()) size = size.boundedTo(area.seen.size());
    size = size.expandedTo(least);
    return {KeepInside(place.topLeft(), size, area.seen), size};
}

WindowLayout DefaultWindowLayout(const MainGeometry& m) {
    WindowLayout l;
    l.pictureLeft = std::max(DialogStrip, m.dialogFrameWidth > 0 ? EdgeGap + m.dialogFrameWidth + PictureGap : 0);
    l.pictureTop = 0;
    l.pictureWidth = m.clientWidth - l.pictureLeft - RightGap;
    l.pictureHeight = m.clientHeight - m.toolBarHeight - BottomGap;
    if (l.pictureWidth < MinPictureWidth) {
        l.pictureWidth = MinPictureWidth;
        l.pictureLeft = std::clamp(m.clientWidth - RightGap - MinPictureWidth, 0, l.pictureLeft);
    }
    l.pictureHeight = std::max(l.pictureHeight, MinPictureHeight);

    const QPoint dialog = KeepInside({m.client.x() + EdgeGap, m.client.y() + m.toolBarHeight},
                                     QSize(std::max(m.dialogFrameWidth, 1), 1), m.available);
    l.dialogLeft = dialog.x();
    l.dialogTop = dialog.y();
    const QPoint trans = KeepInside({m.client.x() + EdgeGap, m.top + m.height - TransGap - m.transFrame.height()},
                                    m.transFrame, m.available);
    l.transLeft = trans.x();
    l.transTop = trans.y();
    return l;
}

}  // namespace pelmar
