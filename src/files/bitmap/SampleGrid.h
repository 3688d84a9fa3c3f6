#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "Picture.h"

namespace mosaikon {

// The pixels a drawing asked for ahead of time: for each of some rows, the pixels at the same
// columns. A picture whose pixels come from a file keeps the last grid it read, so that drawing
// it again the same way needs the file no more.
class SampleGrid {
public:
    SampleGrid() = default;
    SampleGrid(std::span<const int> rows, std::span<const int> columns)
        : m_rows(rows.begin(), rows.end()),
          m_columns(columns.begin(), columns.end()),
          m_pixels(rows.size() * columns.size(), opaquePixel(colours::kBlack)) {}

    const std::vector<int>& rows() const { return m_rows; }
    const std::vector<int>& columns() const { return m_columns; }
    bool isFor(std::span<const int> rows, std::span<const int> columns) const {
        return std::equal(rows.begin(), rows.end(), m_rows.begin(), m_rows.end()) &&
               std::equal(columns.begin(), columns.end(), m_columns.begin(), m_columns.end());
    }
    // The pixels of the row at `index` in rows(), one per column.
    std::span<Pixel> row(std::size_t index) {
        return std::span<Pixel>(m_pixels).subspan(index * m_columns.size(), m_columns.size());
    }
    // The pixels of picture row `row` at `columns`, when this grid holds exactly those.
    std::optional<std::span<const Pixel>> find(int row, std::span<const int> columns) const {
        if (!std::equal(columns.begin(), columns.end(), m_columns.begin(), m_columns.end())) {
            return std::nullopt;
        }
        for (std::size_t i = 0; i < m_rows.size(); ++i) {
            if (m_rows[i] == row) {
                return std::span<const Pixel>(m_pixels).subspan(i * m_columns.size(),
                                                                m_columns.size());
            }
        }
        return std::nullopt;
    }
    std::vector<Pixel> takePixels() { return std::move(m_pixels); }

private:
    std::vector<int> m_rows;
    std::vector<int> m_columns;
    std::vector<Pixel> m_pixels;  // row by row, in the order of m_rows
};

}  // namespace mosaikon
