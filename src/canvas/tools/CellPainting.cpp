#include "CellPainting.h"

#include "OpacityPlane.h"

namespace mosaikon {

void paintCell(IconSurfaces surfaces, grid::Cell cell, Colour colour) {
    const grid::ViewRect interior = grid::cellInterior(cell);
    surfaces.view.Line(interior.left, interior.top, interior.right, interior.bottom, colour,
                       LineShape::FilledBox);
    surfaces.icon.PSet(cell.column, cell.row, colour);
    if (surfaces.opacity != nullptr) {
        surfaces.opacity->paint(cell.column, cell.row, colour.resolved().value());
    }
}

void CellBatch::paintPlain(grid::Cell cell, std::uint32_t plain) {
    // The interior's corners are both inside it; a pixel area ends one past them.
    const grid::ViewRect interior = grid::cellInterior(cell);
    m_view.fill({interior.left, interior.top, interior.right + 1, interior.bottom + 1}, plain);
    m_icon.set(cell.column, cell.row, plain);
    if (m_opacity != nullptr && cell.column >= 0 && cell.row >= 0 &&
        cell.column < OpacityPlane::kEdge && cell.row < OpacityPlane::kEdge) {
        m_opacity->paint(cell.column, cell.row, plain);
    }
}

void CellBatch::paint(std::span<const grid::Cell> cells, Colour colour) {
    const std::uint32_t plain = colour.resolved().value();
    for (const grid::Cell cell : cells) {
        paintPlain(cell, plain);
    }
}

void CellBatch::finish() {
    m_view.finish();
    m_icon.finish();
}

}  // namespace mosaikon
