#include "GridGeometry.h"

#include <algorithm>
#include <cmath>

namespace mosaikon::grid {

ViewRect cellSquare(Cell cell) {
    const int left = cell.column * kCellSize;
    const int top = cell.row * kCellSize;
    return {left, top, left + kCellSize, top + kCellSize};
}

ViewRect cellInterior(Cell cell) {
    const int left = cell.column * kCellSize;
    const int top = cell.row * kCellSize;
    return {left + 1, top + 1, left + kCellFill, top + kCellFill};
}

ViewPoint cellCentre(Cell cell) {
    return {cell.column * kCellSize + kCellSize / 2, cell.row * kCellSize + kCellSize / 2};
}

std::optional<Cell> paintScanHit(float X, float Y, int cellSize) {
    std::optional<Cell> hit;
    int cx = 0;
    int cy = 0;
    // The scan never stops early; the strict bounds let at most one cell match.
    for (int pass = 0; pass < kCells; ++pass) {
        for (int step = 0; step < kCells; ++step) {
            if (X > static_cast<float>(cx) && X < static_cast<float>(cx + cellSize) &&
                Y < static_cast<float>(cy + cellSize) && Y > static_cast<float>(cy)) {
                hit = Cell{cx / cellSize, cy / cellSize};
            }
            cx += cellSize;
            if (cx == kScanRowEnd) {
                cx = 0;
                cy += cellSize;
            }
        }
    }
    return hit;
}

Cell cellUnder(double x, double y) {
    const auto cellOf = [](double position) {
        const double cell = std::floor(position / kCellSize);
        if (!(cell > 0)) {  // below the first cell, or not a number at all
            return 0;
        }
        return static_cast<int>(std::min(cell, static_cast<double>(kCells - 1)));
    };
    return {cellOf(x), cellOf(y)};
}

}  // namespace mosaikon::grid
