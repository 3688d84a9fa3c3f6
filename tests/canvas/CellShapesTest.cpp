// The cells of lines, rectangles and ellipses, and the Shift constraint, as properties over
// every size a drag on the grid can give.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "CellShapes.h"

namespace mosaikon {
namespace {

using grid::Cell;
using namespace shapes;

using CellSet = std::set<std::pair<int, int>>;

CellSet setOf(const std::vector<Cell>& cells) {
    CellSet set;
    for (const Cell c : cells) {
        EXPECT_TRUE(set.insert({c.column, c.row}).second)
            << "(" << c.column << ", " << c.row << ") listed twice";
    }
    return set;
}

bool has(const CellSet& set, int column, int row) { return set.count({column, row}) > 0; }

// A picture of `set` over a rectangle at (0, 0): '#' for a cell, '.' for none.
std::string pictureOf(const CellSet& set, int width, int height) {
    std::string picture;
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            picture += has(set, column, row) ? '#' : '.';
        }
        picture += '\n';
    }
    return picture;
}

TEST(LineCellsTest, OneCellPerStepWithinHalfACellOfTheLineTheSameEitherWay) {
    const Cell ends[] = {{0, 0}, {31, 31}, {5, 2}, {2, 5}, {31, 0}, {17, 9}, {3, 30}, {16, 16}};
    for (const Cell a : ends) {
        for (const Cell b : ends) {
            const std::vector<Cell> line = lineCells(a, b);
            const int dx = b.column - a.column;
            const int dy = b.row - a.row;
            const int steps = std::max(std::abs(dx), std::abs(dy));
            ASSERT_EQ(line.size(), static_cast<std::size_t>(steps + 1));
            EXPECT_EQ(line.front(), a);
            EXPECT_EQ(line.back(), b);
            for (std::size_t t = 0; t < line.size(); ++t) {
                // |cell − (a + t/steps · (b − a))| ≤ ½ on both axes, in whole numbers.
                const auto off = [&](int cell, int from, int delta) {
                    return std::abs(2 * ((cell - from) * steps - static_cast<int>(t) * delta));
                };
                if (steps > 0) {
                    EXPECT_LE(off(line[t].column, a.column, dx), steps);
                    EXPECT_LE(off(line[t].row, a.row, dy), steps);
                }
            }
            EXPECT_EQ(setOf(line), setOf(lineCells(b, a)));
        }
    }
    EXPECT_EQ(pictureOf(setOf(lineCells({0, 0}, {5, 2})), 6, 3), "##....\n..##..\n....##\n");
}

// The cells of `solid` with a side on its edge.
CellSet edgeOf(const CellSet& solid) {
    CellSet edge;
    for (const auto& [c, r] : solid) {
        if (!has(solid, c - 1, r) || !has(solid, c + 1, r) || !has(solid, c, r - 1) ||
            !has(solid, c, r + 1)) {
            edge.insert({c, r});
        }
    }
    return edge;
}

TEST(RectangleCellsTest, SolidIsEveryCellAndOutlineItsEdgeWhicheverCornersAreGiven) {
    const std::pair<Cell, Cell> spans[] = {
        {{3, 4}, {3, 4}}, {{3, 4}, {4, 4}}, {{3, 4}, {4, 9}}, {{2, 2}, {7, 5}}, {{0, 0}, {31, 31}}};
    for (const auto& [a, b] : spans) {
        const CellRect rect = spanOf(a, b);
        const CellSet solid = setOf(rectangleCells(a, b, Fill::Solid));
        EXPECT_EQ(solid.size(), static_cast<std::size_t>(rect.width * rect.height));
        for (const auto& [c, r] : solid) EXPECT_TRUE(rect.contains({c, r}));
        const CellSet outline = setOf(rectangleCells(a, b, Fill::Outline));
        EXPECT_EQ(outline, edgeOf(solid));
        EXPECT_EQ(setOf(rectangleCells(b, a, Fill::Outline)), outline);
        EXPECT_EQ(setOf(rectangleCells({a.column, b.row}, {b.column, a.row}, Fill::Outline)),
                  outline);
    }
}

CellSet transposed(const CellSet& set) {
    CellSet out;
    for (const auto& [c, r] : set) out.insert({r, c});
    return out;
}

enum class Joined { BySides, ByCorners };

// The cells reached from `start` through cells that `open` lets through.
CellSet reach(std::pair<int, int> start, const std::function<bool(int, int)>& open, Joined joined) {
    CellSet seen = {start};
    std::vector<std::pair<int, int>> todo = {start};
    while (!todo.empty()) {
        const auto [c, r] = todo.back();
        todo.pop_back();
        for (int dr = -1; dr <= 1; ++dr) {
            for (int dc = -1; dc <= 1; ++dc) {
                const bool corner = dr != 0 && dc != 0;
                if ((!corner || joined == Joined::ByCorners) && open(c + dc, r + dr) &&
                    seen.insert({c + dc, r + dr}).second) {
                    todo.push_back({c + dc, r + dr});
                }
            }
        }
    }
    return seen;
}

// Every width and height from 1 to 32.
TEST(EllipseCellsTest, InscribedSymmetricGaplessAndOutlinedByAClosedRingOfItsEdgeCells) {
    for (int w = 1; w <= 32; ++w) {
        for (int h = 1; h <= 32; ++h) {
            SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
            const Cell corner{w - 1, h - 1};
            const CellSet solid = setOf(ellipseCells({0, 0}, corner, Fill::Solid));
            const CellSet outline = setOf(ellipseCells(corner, {0, 0}, Fill::Outline));
            int top = h, bottom = -1, left = w, right = -1;
            for (const auto& [c, r] : solid) {
                ASSERT_TRUE(c >= 0 && c < w && r >= 0 && r < h);
                EXPECT_TRUE(has(solid, w - 1 - c, r) && has(solid, c, h - 1 - r));
                top = std::min(top, r), bottom = std::max(bottom, r);
                left = std::min(left, c), right = std::max(right, c);
                // No gap in any row or column: the cells between this one and the middle lines.
                EXPECT_TRUE(has(solid, c + (2 * c < w - 1 ? 1 : 0), r));
                EXPECT_TRUE(has(solid, c, r + (2 * r < h - 1 ? 1 : 0)));
            }
            EXPECT_EQ(std::vector({top, bottom, left, right}), std::vector({0, h - 1, 0, w - 1}));
            EXPECT_EQ(outline, edgeOf(solid));
            const auto inOutline = [&](int c, int r) { return has(outline, c, r); };
            EXPECT_EQ(reach(*outline.begin(), inOutline, Joined::ByCorners), outline);
            // Closed: from beyond the rectangle, side by side, nothing inside it is reached.
            const CellSet outside = reach(
                {-1, -1},
                [&](int c, int r) {
                    return c >= -1 && r >= -1 && c <= w && r <= h && !inOutline(c, r);
                },
                Joined::BySides);
            for (const auto& cell : solid) EXPECT_EQ(outside.count(cell), 0u);
            EXPECT_EQ(transposed(solid), setOf(ellipseCells({0, 0}, {h - 1, w - 1}, Fill::Solid)));
            if (w <= 2 || h <= 2) {
                EXPECT_EQ(solid, setOf(rectangleCells({0, 0}, corner, Fill::Solid)));
            }
        }
    }
}

TEST(EllipseCellsTest, SmallCirclesHaveNoSquareCornersAndShapesMoveWithTheirRectangle) {
    EXPECT_EQ(pictureOf(setOf(ellipseCells({0, 0}, {2, 2}, Fill::Outline)), 3, 3),
              ".#.\n#.#\n.#.\n");
    EXPECT_EQ(pictureOf(setOf(ellipseCells({0, 0}, {5, 5}, Fill::Outline)), 6, 6),
              "..##..\n.#..#.\n#....#\n#....#\n.#..#.\n..##..\n");
    std::vector<Cell> moved = ellipseCells({0, 0}, {9, 6}, Fill::Outline);
    for (Cell& c : moved) c = {c.column + 20, c.row + 11};
    EXPECT_EQ(setOf(moved), setOf(ellipseCells({29, 11}, {20, 17}, Fill::Outline)));
}

TEST(ConstrainedTest, ShiftKeepsLinesToEightDirectionsAndShapesSquareOnTheIcon) {
    struct Case {
        Cell anchor, end;
        Shape shape;
        Cell expected;
    };
    const Case cases[] = {
        {{10, 10}, {20, 12}, Shape::Line, {20, 10}},       // nearer 0 degrees
        {{10, 10}, {12, 2}, Shape::Line, {10, 2}},         // nearer 90
        {{10, 10}, {17, 15}, Shape::Line, {17, 17}},       // nearer 45
        {{10, 10}, {3, 14}, Shape::Line, {3, 17}},         // nearer 135
        {{10, 10}, {14, 20}, Shape::Rectangle, {20, 20}},  // the longer side
        {{5, 5}, {0, 20}, Shape::Ellipse, {0, 10}},        // as large as fits on the left
        {{28, 3}, {28, 9}, Shape::Rectangle, {22, 9}},     // no width: towards the room
        {{7, 7}, {7, 7}, Shape::Line, {7, 7}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(constrained(c.anchor, c.end, c.shape), c.expected)
            << c.end.column << ", " << c.end.row;
    }
    for (int i = 0; i < 32 * 32; i += 7) {
        const Cell anchor{i % 32, i / 32};
        const Cell end{(i * 13) % 32, (i * 5) % 32};
        const Cell square = constrained(anchor, end, Shape::Ellipse);
        const Cell line = constrained(anchor, end, Shape::Line);
        EXPECT_TRUE(square.column >= 0 && square.column < 32 && square.row >= 0 && square.row < 32);
        EXPECT_EQ(std::abs(square.column - anchor.column), std::abs(square.row - anchor.row));
        const int dx = std::abs(line.column - anchor.column);
        const int dy = std::abs(line.row - anchor.row);
        EXPECT_TRUE(dx == 0 || dy == 0 || dx == dy);
    }
}

TEST(MirroredCellTest, MirrorsAboutTheMiddleColumnAndTwiceGivesTheCellBack) {
    EXPECT_EQ(mirroredCell({0, 4}), (Cell{31, 4}));
    EXPECT_EQ(mirroredCell({15, 9}), (Cell{16, 9}));
    for (int i = 0; i < 32 * 32; ++i) {
        const Cell cell{i % 32, i / 32};
        EXPECT_EQ(mirroredCell(mirroredCell(cell)), cell);
    }
}

}  // namespace
}  // namespace mosaikon
