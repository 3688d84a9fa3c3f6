#include "FloodFill.h"

#include <cstdint>

namespace mosaikon {

std::vector<grid::Cell> fillRegion(const PictureBox& surface, grid::Cell start) {
    const int width = surface.widthPixels();
    const int height = surface.heightPixels();
    const auto inside = [&](int x, int y) { return x >= 0 && y >= 0 && x < width && y < height; };
    std::vector<grid::Cell> region;
    if (!inside(start.column, start.row)) {
        return region;
    }
    const std::vector<std::uint32_t>& pixels = surface.pixels();
    const auto indexOf = [width](int x, int y) {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
               static_cast<std::size_t>(x);
    };
    const std::uint32_t colour = pixels[indexOf(start.column, start.row)];
    std::vector<bool> taken(pixels.size(), false);
    // The region list doubles as the queue: every pixel is taken once, and its neighbours are
    // looked at when the walk reaches it.
    region.push_back(start);
    taken[indexOf(start.column, start.row)] = true;
    for (std::size_t next = 0; next < region.size(); ++next) {
        const grid::Cell at = region[next];
        const grid::Cell neighbours[] = {{at.column - 1, at.row},
                                         {at.column + 1, at.row},
                                         {at.column, at.row - 1},
                                         {at.column, at.row + 1}};
        for (const grid::Cell n : neighbours) {
            if (!inside(n.column, n.row)) {
                continue;
            }
            const std::size_t index = indexOf(n.column, n.row);
            if (!taken[index] && pixels[index] == colour) {
                taken[index] = true;
                region.push_back(n);
            }
        }
    }
    return region;
}

}  // namespace mosaikon
