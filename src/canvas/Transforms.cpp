// Whole-icon transforms. Each works through the surfaces' own drawing operations: a scaled,
// offset or mirrored paint onto the view, then the view shrunk back onto the icon surface.
#include <array>

#include "IconCanvas.h"

namespace mosaikon {

namespace {
constexpr std::int32_t kMoveStep = 10;
constexpr int kLastIconPixel = 31;
}  // namespace

void IconCanvas::MoveIcon(const std::string& direction) {
    if (direction == "left") {
        ShiftImage(-kMoveStep, 0);
    } else if (direction == "right") {
        ShiftImage(kMoveStep, 0);
    } else if (direction == "up") {
        ShiftImage(0, -kMoveStep);
    } else if (direction == "down") {
        ShiftImage(0, kMoveStep);
    }
    DrawGrid();
}

// The icon painted at the view's own 319-pixel scale, offset by one cell. The strip it moves
// away from keeps what the view showed there, and the read-back takes the edge column or row
// from it, so the edge pixels stay where they were.
void IconCanvas::ShiftImage(std::int32_t dx, std::int32_t dy) {
    state.Snapshot = SmallPicture.Image();
    LargePicture.PaintPicture(state.Snapshot, static_cast<double>(dx), static_cast<double>(dy),
                              kViewEdge, kViewEdge);
    opacity.shiftByView(dx, dy);
    readBackIcon();
}

void IconCanvas::FlipHorizontal() {
    state.Snapshot = SmallPicture.Image();
    const double width = LargePicture.ScaleWidth();
    const double height = LargePicture.ScaleHeight();
    LargePicture.PaintPicture(state.Snapshot, width - 1, 0, -width, height);
    opacity.flipLeftRight();
    readBackIcon();
    DrawGrid(state.IconSize, colours::kBlack);
}

void IconCanvas::FlipVertical() {
    state.Snapshot = SmallPicture.Image();
    const double width = LargePicture.ScaleWidth();
    const double height = LargePicture.ScaleHeight();
    LargePicture.PaintPicture(state.Snapshot, 0, height - 1, width, -height);
    opacity.flipTopBottom();
    readBackIcon();
    DrawGrid(state.IconSize, colours::kBlack);
}

// A quarter turn clockwise: transpose, then mirror left-right.
void IconCanvas::Rotat_Icon() {
    // Every colour is read before any is written, so the transpose sees the icon as it was.
    std::array<std::array<Colour, kIconEdge>, kIconEdge> before{};
    for (int i = 0; i <= kLastIconPixel; ++i) {
        for (int j = 0; j <= kLastIconPixel; ++j) {
            before[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] =
                SmallPicture.Point(j, i);
        }
    }
    for (int i = 0; i <= kLastIconPixel; ++i) {
        for (int j = 0; j <= kLastIconPixel; ++j) {
            SmallPicture.PSet(i, j,
                              before[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)]);
        }
    }
    state.Snapshot = SmallPicture.Image();
    SmallPicture.setPicture(Picture{});
    SmallPicture.PaintPicture(state.Snapshot, kLastIconPixel, 0, -kIconEdge, kIconEdge);
    opacity.rotateClockwise();
    rebuildView();
    readBackIcon();
    state.Snapshot = SmallPicture.Image();
}

void IconCanvas::ClearIcon() {
    LargePicture.setPicture(Picture{});
    SmallPicture.setPicture(Picture{});
    opacity.clear();
    DrawGrid(state.IconSize, colours::kBlack);
}

void IconCanvas::New_Icon() {
    SmallPicture.setPicture(Picture{});
    opacity.clear();
    LargePicture.setPicture(Picture{});
    DrawGrid();
}

}  // namespace mosaikon
