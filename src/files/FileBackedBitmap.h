#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "ByteSource.h"
#include "DibFormat.h"
#include "Picture.h"

namespace mosaikon {

// The pixels of a large uncompressed bitmap, left in its file and read row by row as drawing asks
// for them. Only the bytes of the requested columns are read, and the last few row pieces are
// kept, so painting a 20000 × 20000 bitmap at 321 × 321 reads about 321 short pieces of rows.
class FileBackedBitmap final : public PixelSource {
public:
    // `file` must hold `header.rowStride() × header.height` bytes from `pixelOffset` on; the
    // reader checks that before building this.
    FileBackedBitmap(std::unique_ptr<ByteSource> file, const DibHeader& header,
                     DibRowDecoder decoder, std::uint64_t pixelOffset);

    int width() const override { return m_width; }
    int height() const override { return m_height; }
    // Should the file shrink after it was opened, the pixels that can no longer be read come out
    // black: drawing cannot stop halfway through a surface.
    void sampleRow(int row, std::span<const int> columns, std::span<Pixel> out) const override;

    // How many reads of the file sampling has made, for the benchmark and the tests.
    std::uint64_t readCount() const;

private:
    struct Piece {
        std::uint64_t storedRow = 0;
        std::uint64_t firstByte = 0;
        std::uint64_t endByte = 0;
        std::uint64_t lastUse = 0;
        std::vector<std::uint8_t> bytes;
    };
    const Piece* piece(std::uint64_t storedRow, std::uint64_t firstByte,
                       std::uint64_t endByte) const;

    static constexpr std::size_t kCachedPieces = 4;

    int m_width;
    int m_height;
    bool m_topDown;
    std::uint64_t m_stride;
    std::uint64_t m_pixelOffset;
    DibRowDecoder m_decoder;

    mutable std::mutex m_mutex;  // sampling may come from any thread; the file has one position
    mutable std::unique_ptr<ByteSource> m_file;
    mutable std::vector<Piece> m_cache;
    mutable std::uint64_t m_clock = 0;
    mutable std::uint64_t m_reads = 0;
};

}  // namespace mosaikon
