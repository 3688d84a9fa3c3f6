#include "CellShapes.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace mosaikon::shapes {

namespace {

constexpr int kLastCell = grid::kCells - 1;

int floorDiv(std::int64_t numerator, std::int64_t denominator) {
    std::int64_t quotient = numerator / denominator;
    if ((numerator % denominator != 0) && ((numerator < 0) != (denominator < 0))) {
        --quotient;
    }
    return static_cast<int>(quotient);
}

// The nearest whole number to step · delta / steps, a half rounded up.
int roundedShare(int step, int delta, int steps) {
    return floorDiv(2 * std::int64_t{step} * delta + steps, 2 * std::int64_t{steps});
}

// The columns of one row of a filled ellipse, relative to its rectangle.
struct Span {
    int first = 0;
    int last = -1;
    bool contains(int column) const { return column >= first && column <= last; }
};

// The rows of the filled ellipse in a `width` × `height` rectangle. A cell belongs when its
// centre lies inside the ellipse inscribed a quarter cell inside the rectangle's outer edges:
// the quarter keeps the corners of small circles out (a 3 × 3 one is a plus, not a square).
// That ellipse can pass just inside the middle of a side, so the middle rows span the whole
// width and every row holds the middle columns: the shape touches all four sides. Everything
// is measured in quarter cells from the centre, in whole numbers, so both halves come out
// exactly alike.
std::vector<Span> ellipseRows(int width, int height) {
    const std::int64_t a = 2 * std::int64_t{width} - 1;  // semi-axes, in quarter cells
    const std::int64_t b = 2 * std::int64_t{height} - 1;
    const auto inside = [&](int column, int row) {
        const std::int64_t dx = 2 * (2 * std::int64_t{column} + 1 - width);
        const std::int64_t dy = 2 * (2 * std::int64_t{row} + 1 - height);
        return dx * dx * b * b + dy * dy * a * a <= a * a * b * b;
    };
    const int middleColumn = (width - 1) / 2;
    std::vector<Span> rows(static_cast<std::size_t>(height));
    for (int row = 0; row < height; ++row) {
        int first = 0;
        const bool middleRow = row == (height - 1) / 2 || row == height / 2;
        while (!middleRow && first < middleColumn && !inside(first, row)) {
            ++first;
        }
        rows[static_cast<std::size_t>(row)] = {first, width - 1 - first};
    }
    return rows;
}

// Whether the filled cell (column, row) has a side on the ellipse's edge.
bool onEdge(const std::vector<Span>& rows, int column, int row) {
    const auto spanAt = [&](int r) {
        return r < 0 || r >= static_cast<int>(rows.size()) ? Span{}
                                                           : rows[static_cast<std::size_t>(r)];
    };
    const Span here = spanAt(row);
    return column == here.first || column == here.last || !spanAt(row - 1).contains(column) ||
           !spanAt(row + 1).contains(column);
}

int signOf(int value) { return value < 0 ? -1 : 1; }

// How many cells there are from `from` to the icon's edge in `direction`.
int roomFrom(int from, int direction) { return direction < 0 ? from : kLastCell - from; }

// The end of a diagonal from `anchor` as long as the drag's longer side, or as long as fits.
// A drag straight along one axis turns the other way where there is more room.
Cell diagonalEnd(Cell anchor, Cell end) {
    const int dx = end.column - anchor.column;
    const int dy = end.row - anchor.row;
    const auto directionOf = [](int delta, int from) {
        if (delta != 0) {
            return signOf(delta);
        }
        return roomFrom(from, 1) >= roomFrom(from, -1) ? 1 : -1;
    };
    const int sx = directionOf(dx, anchor.column);
    const int sy = directionOf(dy, anchor.row);
    const int length = std::min({std::max(std::abs(dx), std::abs(dy)), roomFrom(anchor.column, sx),
                                 roomFrom(anchor.row, sy)});
    return {anchor.column + sx * length, anchor.row + sy * length};
}

}  // namespace

CellRect spanOf(Cell a, Cell b) {
    const int left = std::min(a.column, b.column);
    const int top = std::min(a.row, b.row);
    return {left, top, std::abs(a.column - b.column) + 1, std::abs(a.row - b.row) + 1};
}

std::vector<Cell> lineCells(Cell from, Cell to) {
    // A tie rounds towards the larger column or row: the same cell, whichever end comes first.
    const int dx = to.column - from.column;
    const int dy = to.row - from.row;
    const int steps = std::max(std::abs(dx), std::abs(dy));
    if (steps == 0) {
        return {from};
    }
    std::vector<Cell> cells;
    cells.reserve(static_cast<std::size_t>(steps) + 1);
    for (int step = 0; step <= steps; ++step) {
        cells.push_back({from.column + roundedShare(step, dx, steps),
                         from.row + roundedShare(step, dy, steps)});
    }
    return cells;
}

std::vector<Cell> rectangleCells(Cell a, Cell b, Fill fill) {
    const CellRect rect = spanOf(a, b);
    std::vector<Cell> cells;
    for (int row = rect.top; row <= rect.bottom(); ++row) {
        const bool wholeRow = fill == Fill::Solid || row == rect.top || row == rect.bottom();
        if (wholeRow) {
            for (int column = rect.left; column <= rect.right(); ++column) {
                cells.push_back({column, row});
            }
        } else {
            cells.push_back({rect.left, row});
            if (rect.width > 1) {
                cells.push_back({rect.right(), row});
            }
        }
    }
    return cells;
}

std::vector<Cell> ellipseCells(Cell a, Cell b, Fill fill) {
    const CellRect rect = spanOf(a, b);
    const std::vector<Span> rows = ellipseRows(rect.width, rect.height);
    std::vector<Cell> cells;
    for (int row = 0; row < rect.height; ++row) {
        const Span span = rows[static_cast<std::size_t>(row)];
        for (int column = span.first; column <= span.last; ++column) {
            if (fill == Fill::Solid || onEdge(rows, column, row)) {
                cells.push_back({rect.left + column, rect.top + row});
            }
        }
    }
    return cells;
}

Cell constrained(Cell anchor, Cell end, Shape shape) {
    if (shape != Shape::Line) {
        return diagonalEnd(anchor, end);
    }
    // The nearest of the eight directions: within 22.5 degrees of an axis the line keeps to
    // it. |d| < tan(22.5°) · |e| is (|d| + |e|)² < 2e², with no rounding at all.
    const std::int64_t dx = std::abs(end.column - anchor.column);
    const std::int64_t dy = std::abs(end.row - anchor.row);
    if ((dx + dy) * (dx + dy) < 2 * dx * dx) {
        return {end.column, anchor.row};
    }
    if ((dx + dy) * (dx + dy) < 2 * dy * dy) {
        return {anchor.column, end.row};
    }
    return diagonalEnd(anchor, end);
}

Cell mirroredCell(Cell cell) { return {kLastCell - cell.column, cell.row}; }

}  // namespace mosaikon::shapes
