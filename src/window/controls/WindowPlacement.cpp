#include "controls/WindowPlacement.h"

#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace mosaikon {

void placeBeside(QWidget& side, const QWidget& main, Beside preferred) {
    const QScreen* screen = main.screen();
    if (screen == nullptr) {
        return;
    }
    const QRect room = screen->availableGeometry();
    const QRect frame = main.frameGeometry();
    const QSize size = side.sizeHint().expandedTo(side.size());
    constexpr int kGap = 8;
    const int top =
        std::clamp(frame.top(), room.top(), std::max(room.top(), room.bottom() - size.height()));
    const int right = frame.right() + kGap;
    const int left = frame.left() - kGap - size.width();
    const bool rightFits = right + size.width() <= room.right();
    const bool leftFits = left >= room.left();
    if (rightFits && (preferred == Beside::Right || !leftFits)) {
        side.move(right, top);
    } else if (leftFits) {
        side.move(left, top);
    }
}

}  // namespace mosaikon
