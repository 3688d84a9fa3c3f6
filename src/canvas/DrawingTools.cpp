// The Paint and Change tools of the magnified view.
#include "IconCanvas.h"

namespace mosaikon {

namespace {
constexpr std::int16_t kPrimaryButton = 1;
constexpr int kCellsPerSide = 32;
constexpr int kRowEnd = 320;
}  // namespace

// Tests every cell in turn, row by row from the top. The bounds are strict, so a position on a
// grid line, at 320 or beyond, or below 0 hits nothing, and at most one cell is hit.
void IconCanvas::paintScan(float X, float Y) {
    int cx = 0;
    int cy = 0;
    for (int pass = 0; pass < kCellsPerSide; ++pass) {
        for (int step = 0; step < kCellsPerSide; ++step) {
            const bool hit =
                X > static_cast<float>(cx) && X < static_cast<float>(cx + state.CellSize) &&
                Y < static_cast<float>(cy + state.CellSize) && Y > static_cast<float>(cy);
            if (hit) {
                LargePicture.Line(cx + 1, cy + 1, cx + state.CellFill, cy + state.CellFill,
                                  state.CurrentColor, LineShape::FilledBox);
                SmallPicture.PSet(cx / state.CellSize, cy / state.CellSize, state.CurrentColor);
            }
            cx += state.CellSize;
            if (cx == kRowEnd) {
                cx = 0;
                cy += state.CellSize;
            }
        }
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
            }
        }
    }
    state.Snapshot = rebuildView();
    LargePicture.setMousePointer(pointers::kPencil);
}

void IconCanvas::LargePicture_MouseDown(std::int16_t Button, std::int16_t /*Shift*/, float X,
                                        float Y) {
    const std::int16_t mode = LargePicture.MousePointer();
    if (mode == pointers::kUpArrow) {
        replaceColour(X, Y);
    } else if (Button == kPrimaryButton && mode == pointers::kPencil) {
        paintScan(X, Y);
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
