#pragma once

#include <optional>

namespace mosaikon::grid {

// The magnified view's layout: 32 × 32 cells of 10 view pixels, cell (c, r) with its top-left
// grid corner at (10·c, 10·r), its 9 × 9 interior from (10·c + 1, 10·r + 1), and grid lines on
// the view rows and columns 0, 10, …, 310. Every part of the editor that turns view positions
// into cells, or cells into view pixels, asks here.
inline constexpr int kCells = 32;
inline constexpr int kCellSize = 10;
inline constexpr int kCellFill = 9;
// Where the paint scan's columns wrap to the next row: one cell past the last.
inline constexpr int kScanRowEnd = kCells * kCellSize;

struct Cell {
    int column = 0;
    int row = 0;
    friend bool operator==(const Cell&, const Cell&) = default;
};

// A rectangle of view pixels, both corners included.
struct ViewRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const ViewRect&, const ViewRect&) = default;
};

// The cell's square of grid lines, 11 × 11 view pixels, its lines included.
ViewRect cellSquare(Cell cell);
// The cell's interior, which painting the cell fills: 9 × 9 view pixels inside its lines.
ViewRect cellInterior(Cell cell);
// The view pixel in the middle of the cell's interior; a press there hits the cell.
struct ViewPoint {
    int x = 0;
    int y = 0;
};
ViewPoint cellCentre(Cell cell);

// The paint scan: the cell a press or a drag at view position (X, Y) paints, if any. Every cell
// is tested in turn, row after row from the top, with strict bounds, so a position on a grid
// line, at 320 or beyond, or below 0 hits nothing; `cellSize` is the record's cell pitch.
std::optional<Cell> paintScanHit(float X, float Y, int cellSize = kCellSize);

// The plain cell under view position (x, y): floor(x / 10), floor(y / 10), each clamped to
// 0 … 31, so a grid line belongs to the cell right of or below it.
Cell cellUnder(double x, double y);

}  // namespace mosaikon::grid
