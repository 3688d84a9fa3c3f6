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

}  // namespace mosaikon
