#pragma once

#include <span>

#include "Colour.h"
#include "GridGeometry.h"
#include "PictureBox.h"

namespace mosaikon {

class OpacityPlane;

// The icon's two surfaces, which every tool paints together, and the opacity plane beside the
// icon surface, when there is one: a painted cell is opaque there in its colour, pure white
// transparent.
struct IconSurfaces {
    PictureBox& icon;
    PictureBox& view;
    OpacityPlane* opacity;
};

// Paints `cell` as the Paint tool paints one: its interior on the view with a filled box, then
// its pixel on the icon surface. Nothing else changes, the grid lines included.
void paintCell(IconSurfaces surfaces, grid::Cell cell, Colour colour);

// Paints many cells, each exactly as paintCell would, as one change of each surface: when the
// batch ends (finish(), or at the latest when it goes away) each surface records a single
// change covering the cells whose pixels changed there. Both surfaces are measured in pixels,
// as the icon's two are. A batch that painted no cell records nothing.
class CellBatch {
public:
    explicit CellBatch(IconSurfaces surfaces)
        : m_icon(surfaces.icon), m_view(surfaces.view), m_opacity(surfaces.opacity) {}

    void paint(grid::Cell cell, Colour colour) { paintPlain(cell, colour.resolved().value()); }
    // Every cell in one colour, resolved once.
    void paint(std::span<const grid::Cell> cells, Colour colour);
    void finish();

private:
    void paintPlain(grid::Cell cell, std::uint32_t plain);

    PictureBox::Batch m_icon;
    PictureBox::Batch m_view;
    OpacityPlane* m_opacity;
};

}  // namespace mosaikon
