#pragma once

#include "Colour.h"
#include "GridGeometry.h"
#include "PictureBox.h"

namespace mosaikon {

// The icon's two surfaces, which every tool paints together.
struct IconSurfaces {
    PictureBox& icon;
    PictureBox& view;
};

// Paints `cell` as the Paint tool paints one: its interior on the view with a filled box, then
// its pixel on the icon surface. Nothing else changes, the grid lines included.
void paintCell(IconSurfaces surfaces, grid::Cell cell, Colour colour);

}  // namespace mosaikon
