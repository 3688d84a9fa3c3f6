#pragma once

#include <algorithm>
#include <cstddef>
#include <mutex>
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
    // Copies the pixels of picture row `row` at `columns` into `out` when this grid holds that
    // row and every one of those columns: the same columns, or some of them (the opacity plane
    // asks for every tenth pixel of what the view drew). False when it does not.
    bool copyHeld(int row, std::span<const int> columns, std::span<Pixel> out) const {
        const auto found = std::find(m_rows.begin(), m_rows.end(), row);
        if (found == m_rows.end()) {
            return false;
        }
        const std::span<const Pixel> held = std::span<const Pixel>(m_pixels).subspan(
            static_cast<std::size_t>(found - m_rows.begin()) * m_columns.size(), m_columns.size());
        if (std::equal(columns.begin(), columns.end(), m_columns.begin(), m_columns.end())) {
            std::copy(held.begin(), held.end(), out.begin());
            return true;
        }
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const auto column = std::find(m_columns.begin(), m_columns.end(), columns[i]);
            if (column == m_columns.end()) {
                return false;
            }
            out[i] = held[static_cast<std::size_t>(column - m_columns.begin())];
        }
        return true;
    }
    std::vector<Pixel> takePixels() { return std::move(m_pixels); }

private:
    std::vector<int> m_rows;
    std::vector<int> m_columns;
    std::vector<Pixel> m_pixels;  // row by row, in the order of m_rows
};

// A picture left in its file and decoded in one pass, in order, as it is drawn (a large
// run-length bitmap, a large PNG): the grid a drawing prepared is kept, so drawing it again the
// same way, or asking for some of those pixels, needs the file no more; any other pixel costs a
// pass of its own.
class StreamDecodedSource : public PixelSource {
public:
    void prepareSamples(std::span<const int> rows, std::span<const int> columns) const final {
        std::lock_guard lock(m_mutex);
        if (!m_prepared.isFor(rows, columns)) {
            m_prepared = decode(rows, columns);
        }
    }
    // Throws FileError when the file cannot give the pixels or its stream is damaged.
    void sampleRow(int row, std::span<const int> columns, std::span<Pixel> out) const final {
        checkSampleRequest(width(), height(), row, columns, out);
        std::lock_guard lock(m_mutex);
        if (m_prepared.copyHeld(row, columns, out)) {
            return;
        }
        SampleGrid single = decode(std::span<const int>(&row, 1), columns);
        const auto pixels = single.row(0);
        std::copy(pixels.begin(), pixels.end(), out.begin());
    }

protected:
    // One pass over the stream keeping the pixels at `rows` × `columns`; called with the lock
    // held, so one pass runs at a time.
    virtual SampleGrid decode(std::span<const int> rows, std::span<const int> columns) const = 0;

private:
    mutable std::mutex m_mutex;
    mutable SampleGrid m_prepared;
};

}  // namespace mosaikon
