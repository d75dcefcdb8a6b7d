#include "shell/window_layout.h"

#include <algorithm>
#include <cmath>

namespace pelmar {

WindowLayout DefaultWindowLayout(const MainGeometry& m, int transHeight) {
    constexpr int DialogStrip = 405, RightGap = 10, BottomGap = 5, EdgeGap = 10, TransGap = 15;
    WindowLayout l;
    l.pictureLeft = DialogStrip;
    l.pictureTop = 0;
    l.pictureWidth = m.clientWidth - DialogStrip - RightGap;
    l.pictureHeight = m.clientHeight - m.toolBarHeight - BottomGap;
    if (l.pictureWidth < MinPictureWidth) {
        l.pictureWidth = MinPictureWidth;
        l.pictureLeft = std::clamp(m.clientWidth - RightGap - MinPictureWidth, 0, DialogStrip);
    }
    l.pictureHeight = std::max(l.pictureHeight, MinPictureHeight);

    const int frameX = static_cast<int>(std::nearbyint((m.width - m.clientWidth) / 2.0));
    l.dialogLeft = frameX + m.left + EdgeGap;
    l.dialogTop = m.top + (m.height - m.clientHeight) + m.toolBarHeight;
    l.transLeft = l.dialogLeft;
    l.transTop = m.top + m.height - TransGap - transHeight;
    return l;
}

}  // namespace pelmar
