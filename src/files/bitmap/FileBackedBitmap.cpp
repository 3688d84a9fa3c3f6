#include "bitmap/FileBackedBitmap.h"

#include <algorithm>
#include <numeric>

namespace mosaikon {

namespace {

// Sampled pixels whose bytes lie at most this far apart are read together: one read of a few
// kilobytes costs about what one more system call would.
constexpr std::uint64_t kLargestGap = 4096;
// No single read is longer than this, so sampling never needs more memory than this buffer.
constexpr std::uint64_t kLargestRead = 1u << 20;

}  // namespace

std::vector<std::size_t> increasingOrder(std::span<const int> columns) {
    std::vector<std::size_t> order(columns.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    if (!std::is_sorted(columns.begin(), columns.end())) {
        std::stable_sort(order.begin(), order.end(),
                         [&](std::size_t a, std::size_t b) { return columns[a] < columns[b]; });
    }
    return order;
}

FileBackedBitmap::FileBackedBitmap(std::unique_ptr<ByteSource> file, const DibHeader& header,
                                   DibRowDecoder decoder, std::uint64_t pixelOffset)
    : m_width(header.width),
      m_height(header.height),
      m_topDown(header.topDown),
      m_stride(header.rowStride()),
      m_pixelOffset(pixelOffset),
      m_decoder(std::move(decoder)),
      m_file(std::move(file)) {
    m_file->release();
}

std::uint64_t FileBackedBitmap::readCount() const {
    std::lock_guard lock(m_mutex);
    return m_reads;
}

void FileBackedBitmap::readRow(int row, std::span<const int> columns,
                               std::span<const std::size_t> order, std::span<Pixel> out) const {
    checkSampleRequest(m_width, m_height, row, columns, out);
    const std::uint64_t storedRow = m_topDown ? static_cast<std::uint64_t>(row)
                                              : static_cast<std::uint64_t>(m_height - 1 - row);
    const std::uint64_t rowStart = m_pixelOffset + storedRow * m_stride;
    // Runs of sampled columns, by increasing column, each read at once.
    for (std::size_t first = 0; first < order.size();) {
        const std::uint64_t firstByte = m_decoder.firstByteOf(columns[order[first]]);
        std::uint64_t endByte = std::min(m_decoder.endByteOf(columns[order[first]]), m_stride);
        std::size_t last = first + 1;
        for (; last < order.size(); ++last) {
            const int column = columns[order[last]];
            const std::uint64_t end = std::min(m_decoder.endByteOf(column), m_stride);
            if (m_decoder.firstByteOf(column) > endByte + kLargestGap ||
                end - firstByte > kLargestRead) {
                break;
            }
            endByte = std::max(endByte, end);
        }
        m_buffer.resize(static_cast<std::size_t>(endByte - firstByte));
        ++m_reads;
        m_file->read(rowStart + firstByte, m_buffer);
        for (std::size_t i = first; i < last; ++i) {
            out[order[i]] = m_decoder.pixel(m_buffer, firstByte, columns[order[i]]);
        }
        first = last;
    }
}

void FileBackedBitmap::prepareSamples(std::span<const int> rows,
                                      std::span<const int> columns) const {
    std::lock_guard lock(m_mutex);
    if (m_prepared.isFor(rows, columns)) {
        return;
    }
    SampleGrid grid(rows, columns);
    const std::vector<std::size_t> order = increasingOrder(columns);
    try {
        for (std::size_t i = 0; i < rows.size(); ++i) {
            readRow(rows[i], columns, order, grid.row(i));
        }
    } catch (...) {
        m_file->release();
        throw;
    }
    m_file->release();
    m_prepared = std::move(grid);
    m_buffer = {};
}

void FileBackedBitmap::sampleRow(int row, std::span<const int> columns,
                                 std::span<Pixel> out) const {
    checkSampleRequest(m_width, m_height, row, columns, out);
    std::lock_guard lock(m_mutex);
    if (m_prepared.copyHeld(row, columns, out)) {
        return;
    }
    try {
        readRow(row, columns, increasingOrder(columns), out);
    } catch (...) {
        m_file->release();
        throw;
    }
    m_file->release();
}

}  // namespace mosaikon
