#include "CellPainting.h"

namespace mosaikon {

void paintCell(IconSurfaces surfaces, grid::Cell cell, Colour colour) {
    const grid::ViewRect interior = grid::cellInterior(cell);
    surfaces.view.Line(interior.left, interior.top, interior.right, interior.bottom, colour,
                       LineShape::FilledBox);
    surfaces.icon.PSet(cell.column, cell.row, colour);
}

}  // namespace mosaikon
