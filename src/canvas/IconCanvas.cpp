#include "IconCanvas.h"

#include "GridGeometry.h"

namespace mosaikon {

namespace {
constexpr std::int16_t kIconSize = 32;
constexpr std::int16_t kCellSize = grid::kCellSize;
constexpr std::int16_t kCellFill = grid::kCellFill;
}  // namespace

IconCanvas::IconCanvas()
    : SmallPicture(kIconEdge, kIconEdge, colours::kWhite),
      LargePicture(kViewEdge, kViewEdge, colours::kWhite) {}

void IconCanvas::Form_Load(const std::function<void()>& setSwatchColours) {
    state.IconSize = kIconSize;
    state.CellFill = kCellFill;
    state.CurrentColor = colours::kBlack;
    state.CellSize = kCellSize;
    if (setSwatchColours) {
        setSwatchColours();
    }
    DrawGrid();
    selectTool(Tool::Paint);
}

void IconCanvas::DrawGrid(std::int16_t& iconSize, const Colour& gridColor) {
    iconSize = kIconSize;
    state.CellFill = kCellFill;
    state.CellSize = kCellSize;
    // All horizontal lines first, then the vertical ones, each reaching across the whole area.
    const double rowLimit = LargePicture.ScaleHeight();
    for (int y = 0; y <= rowLimit; y += state.CellSize) {
        LargePicture.Line(0, y, LargePicture.ScaleWidth(), y, gridColor);
    }
    const double columnLimit = LargePicture.ScaleWidth();
    for (int x = 0; x <= columnLimit; x += state.CellSize) {
        LargePicture.Line(x, 0, x, LargePicture.ScaleHeight(), gridColor);
    }
}

void IconCanvas::DrawGrid() {
    std::int16_t iconSize = kIconSize;
    DrawGrid(iconSize, colours::kBlack);
}

Picture IconCanvas::rebuildView() {
    Picture icon = SmallPicture.Image();
    LargePicture.PaintPicture(icon, 0, 0, kViewOuterEdge, kViewOuterEdge);
    DrawGrid();
    return icon;
}

void IconCanvas::readBackIcon() {
    SmallPicture.PaintPicture(LargePicture.Image(), 0, 0, kIconEdge, kIconEdge);
    // What the plane was not told of (the view's own pixels showing through) is opaque.
    opacity.follow(SmallPicture);
}

void IconCanvas::takePicture(const Picture& picture) {
    SmallPicture.setPicture(picture);
    opacity.take(picture);
    rebuildView();
}

}  // namespace mosaikon
