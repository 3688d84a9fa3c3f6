#include "FloodFill.h"

#include <cstdint>

namespace mosaikon {

std::vector<grid::Cell> fillRegion(const PictureBox& surface, grid::Cell start) {
    const int width = surface.widthPixels();
    const int height = surface.heightPixels();
    std::vector<grid::Cell> region;
    if (start.column < 0 || start.row < 0 || start.column >= width || start.row >= height) {
        return region;
    }
    const std::vector<std::uint32_t>& pixels = surface.pixels();
    const auto indexOf = [width](grid::Cell cell) {
        return static_cast<std::size_t>(cell.row) * static_cast<std::size_t>(width) +
               static_cast<std::size_t>(cell.column);
    };
    const std::uint32_t colour = pixels[indexOf(start)];
    std::vector<std::uint8_t> taken(pixels.size(), 0);
    const auto take = [&](grid::Cell cell) {
        const std::size_t index = indexOf(cell);
        if (taken[index] == 0 && pixels[index] == colour) {
            taken[index] = 1;
            region.push_back(cell);
        }
    };
    // The region list doubles as the queue: every pixel is taken once, and its neighbours are
    // looked at when the walk reaches it.
    region.reserve(pixels.size());
    take(start);
    for (std::size_t next = 0; next < region.size(); ++next) {
        const auto [column, row] = region[next];
        if (column > 0) take({column - 1, row});
        if (column + 1 < width) take({column + 1, row});
        if (row > 0) take({column, row - 1});
        if (row + 1 < height) take({column, row + 1});
    }
    return region;
}

}  // namespace mosaikon
