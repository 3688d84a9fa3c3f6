// The Paint and Change tools of the magnified view.
#include <optional>

#include "GridGeometry.h"
#include "IconCanvas.h"

namespace mosaikon {

namespace {
constexpr std::int16_t kPrimaryButton = 1;
}  // namespace

// The cell the scan hits, if any: its interior on the view, then its pixel on the icon.
void IconCanvas::paintScan(float X, float Y) {
    const std::optional<grid::Cell> hit = grid::paintScanHit(X, Y, state.CellSize);
    if (!hit) {
        return;
    }
    const int cx = hit->column * state.CellSize;
    const int cy = hit->row * state.CellSize;
    LargePicture.Line(cx + 1, cy + 1, cx + state.CellFill, cy + state.CellFill, state.CurrentColor,
                      LineShape::FilledBox);
    SmallPicture.PSet(cx / state.CellSize, cy / state.CellSize, state.CurrentColor);
    opacity.paint(hit->column, hit->row, state.CurrentColor.resolved().value());
    // Mirrored drawing paints the cell's mirror image too; while it is off, as at start, the
    // scan paints exactly as it always has.
    if (m_mirroring == Mirroring::On) {
        paintCell(surfaces(), shapes::mirroredCell(*hit), state.CurrentColor);
    }
}

// Replaces every icon pixel of the colour under the pointer with the painting colour, rebuilds
// the view and hands back to the Paint tool. A reference colour never equals a colour read
// from a surface, so painting with one always replaces.
void IconCanvas::replaceColour(float X, float Y) {
    state.TargetColor = LargePicture.Point(X, Y);
    if (state.TargetColor == state.CurrentColor) {
        return;
    }
    const auto columns = static_cast<int>(SmallPicture.ScaleWidth());
    const auto rows = static_cast<int>(SmallPicture.ScaleHeight());
    for (int i = 0; i < columns; ++i) {
        for (int j = 0; j < rows; ++j) {
            state.PixelColor = SmallPicture.Point(i, j);
            if (state.PixelColor == state.TargetColor) {
                SmallPicture.PSet(i, j, state.CurrentColor);
                opacity.paint(i, j, state.CurrentColor.resolved().value());
            }
        }
    }
    state.Snapshot = rebuildView();
    selectTool(Tool::Paint);
}

void IconCanvas::LargePicture_MouseDown(std::int16_t Button, std::int16_t /*Shift*/, float X,
                                        float Y) {
    switch (activeTool()) {
        case Tool::Change:  // whatever the button
            replaceColour(X, Y);
            break;
        case Tool::Paint:
            if (Button == kPrimaryButton) {
                paintScan(X, Y);
            }
            break;
        case Tool::None:
            break;
        default:  // the other tools take their presses through toolPress
            break;
    }
}

// Dragging with the primary button alone paints, whichever tool is active.
void IconCanvas::LargePicture_MouseMove(std::int16_t Button, std::int16_t /*Shift*/, float X,
                                        float Y) {
    if (Button == kPrimaryButton) {
        paintScan(X, Y);
    }
}

}  // namespace mosaikon
