#include "bitmap/RleBitmap.h"

#include <algorithm>
#include <utility>

namespace mosaikon {

RleBitmap::RleBitmap(std::unique_ptr<ByteSource> file, RleStream stream)
    : m_stream(std::move(stream)), m_file(std::move(file)) {
    m_file->release();
}

SampleGrid RleBitmap::decode(std::span<const int> rows, std::span<const int> columns) const {
    SampleGrid grid(rows, columns);
    try {
        decodeRle(*m_file, m_stream, grid);
    } catch (...) {
        m_file->release();
        throw;
    }
    m_file->release();
    return grid;
}

void RleBitmap::prepareSamples(std::span<const int> rows, std::span<const int> columns) const {
    std::lock_guard lock(m_mutex);
    if (!m_prepared.isFor(rows, columns)) {
        m_prepared = decode(rows, columns);
    }
}

void RleBitmap::sampleRow(int row, std::span<const int> columns, std::span<Pixel> out) const {
    checkSampleRequest(width(), height(), row, columns, out);
    std::lock_guard lock(m_mutex);
    if (m_prepared.copyHeld(row, columns, out)) {
        return;
    }
    SampleGrid single = decode(std::span<const int>(&row, 1), columns);
    const auto pixels = single.row(0);
    std::copy(pixels.begin(), pixels.end(), out.begin());
}

}  // namespace mosaikon
