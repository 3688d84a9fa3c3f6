#pragma once

#include <array>

#include "Picture.h"

namespace mosaikon {

// The sides iconAtSide draws a 32 × 32 icon at, smallest first: those of the exported icons.
inline constexpr std::array<int, 6> kIconScalingSides{16, 32, 48, 64, 128, 256};

// The 32 × 32 icon `icon` at `side` pixels a side (one of kIconScalingSides), as an icon
// picture. Pixel art must stay crisp, so no size mixes colours across a hard edge:
// - 64, 128 and 256 repeat every pixel as a 2 × 2, 4 × 4 or 8 × 8 block;
// - 16 averages each 2 × 2 block: the opacity is the mean of the four, the colour the mean of
//   the four weighted by their opacity, so a clear pixel lends the block no colour;
// - 48 is nearest neighbour with a fixed pattern: of every two source columns (and rows) the
//   first becomes two destination columns and the second one, so each source pixel stays one
//   hard-edged block of 1 or 2 pixels a side and no new colour appears.
// Throws std::invalid_argument for another side or an icon that is not 32 × 32.
Picture iconAtSide(const Picture& icon, int side);

}  // namespace mosaikon
