#include "FileBackedBitmap.h"

#include <algorithm>
#include <cassert>

#include "FileError.h"

namespace mosaikon {

FileBackedBitmap::FileBackedBitmap(std::unique_ptr<ByteSource> file, const DibHeader& header,
                                   DibRowDecoder decoder, std::uint64_t pixelOffset)
    : m_width(header.width),
      m_height(header.height),
      m_topDown(header.topDown),
      m_stride(header.rowStride()),
      m_pixelOffset(pixelOffset),
      m_decoder(std::move(decoder)),
      m_file(std::move(file)) {}

std::uint64_t FileBackedBitmap::readCount() const {
    std::lock_guard lock(m_mutex);
    return m_reads;
}

const FileBackedBitmap::Piece* FileBackedBitmap::piece(std::uint64_t storedRow,
                                                       std::uint64_t firstByte,
                                                       std::uint64_t endByte) const {
    ++m_clock;
    for (Piece& cached : m_cache) {
        if (cached.storedRow == storedRow && cached.firstByte <= firstByte &&
            cached.endByte >= endByte) {
            cached.lastUse = m_clock;
            return &cached;
        }
    }
    Piece fresh;
    fresh.storedRow = storedRow;
    fresh.firstByte = firstByte;
    fresh.endByte = endByte;
    fresh.lastUse = m_clock;
    fresh.bytes.resize(static_cast<std::size_t>(endByte - firstByte));
    ++m_reads;
    try {
        m_file->read(m_pixelOffset + storedRow * m_stride + firstByte, fresh.bytes);
    } catch (const FileError&) {
        return nullptr;
    }
    if (m_cache.size() < kCachedPieces) {
        m_cache.push_back(std::move(fresh));
        return &m_cache.back();
    }
    auto oldest =
        std::min_element(m_cache.begin(), m_cache.end(),
                         [](const Piece& a, const Piece& b) { return a.lastUse < b.lastUse; });
    *oldest = std::move(fresh);
    return &*oldest;
}

void FileBackedBitmap::sampleRow(int row, std::span<const int> columns,
                                 std::span<Pixel> out) const {
    assert(row >= 0 && row < m_height && out.size() >= columns.size());
    if (columns.empty()) {
        return;
    }
    const auto [lowest, highest] = std::minmax_element(columns.begin(), columns.end());
    const std::uint64_t firstByte = m_decoder.firstByteOf(*lowest);
    const std::uint64_t endByte = std::min(m_decoder.endByteOf(*highest), m_stride);
    const std::uint64_t storedRow = m_topDown ? static_cast<std::uint64_t>(row)
                                              : static_cast<std::uint64_t>(m_height - 1 - row);

    std::lock_guard lock(m_mutex);
    const Piece* bytes = piece(storedRow, firstByte, endByte);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        out[i] = bytes ? m_decoder.pixel(bytes->bytes, bytes->firstByte, columns[i])
                       : opaquePixel(colours::kBlack);
    }
}

}  // namespace mosaikon
