#pragma once

#include <vector>

#include "GridGeometry.h"

// The cells that the line, rectangle and ellipse tools cover, worked out on whole cells of the
// grid. Nothing here draws: the tools paint the cells these functions list.
namespace mosaikon::shapes {

using grid::Cell;

// A rectangle of cells: `left`, `top` and the number of columns and rows, at least one each.
// It may reach past the icon's edges (a selection moved partly off the icon does).
struct CellRect {
    int left = 0;
    int top = 0;
    int width = 1;
    int height = 1;

    int right() const { return left + width - 1; }
    int bottom() const { return top + height - 1; }
    bool contains(Cell cell) const {
        return cell.column >= left && cell.column <= right() && cell.row >= top &&
               cell.row <= bottom();
    }
    friend bool operator==(const CellRect&, const CellRect&) = default;
};

// The rectangle two corner cells span, both included, whichever corners they are.
CellRect spanOf(Cell a, Cell b);

enum class Fill { Outline, Solid };
enum class Shape { Line, Rectangle, Ellipse };

// One cell for every step along the longer axis from `from` to `to`, both included, each
// within half a cell of the ideal line. The same cells come out whichever end is given first;
// they are listed from `from`.
std::vector<Cell> lineCells(Cell from, Cell to);

// The border, or every cell, of the rectangle that `a` and `b` span; each cell once.
std::vector<Cell> rectangleCells(Cell a, Cell b, Fill fill);

// The ellipse inscribed in the rectangle that `a` and `b` span: it touches all four sides, is
// symmetric about both middle lines, and a rectangle one or two cells wide or high gives that
// whole rectangle. Solid: every row is one run of cells. Outline: the cells of the solid one
// that have a side on its edge, a closed ring one cell thin around the rest. Each cell once.
std::vector<Cell> ellipseCells(Cell a, Cell b, Fill fill);

// Where a drag from `anchor` to `end` ends while Shift holds the shape: a line at 0, 45 or 90
// degrees, whichever is nearest, or a square rectangle or ellipse. The result stays on the
// icon's 32 × 32 cells, so a square near an edge is as large as fits.
Cell constrained(Cell anchor, Cell end, Shape shape);

// The cell mirrored about the icon's vertical middle line: (31 − column, row).
Cell mirroredCell(Cell cell);

}  // namespace mosaikon::shapes
