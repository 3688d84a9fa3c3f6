#pragma once

#include <vector>

#include "GridGeometry.h"
#include "PictureBox.h"

namespace mosaikon {

// The pixels of `surface` that show the colour of the pixel at `start` and are joined to it
// through such pixels side by side (not corner to corner), `start` first. Pixels compare as
// they show, by their plain colours. Empty when `start` lies outside the surface.
std::vector<grid::Cell> fillRegion(const PictureBox& surface, grid::Cell start);

}  // namespace mosaikon
