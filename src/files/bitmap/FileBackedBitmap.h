#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "ByteSource.h"
#include "Picture.h"
#include "bitmap/DibFormat.h"
#include "bitmap/DibRowDecoder.h"
#include "bitmap/SampleGrid.h"

namespace mosaikon {

// The pixels of a large uncompressed bitmap, left in its file and read as drawing asks for
// them: only the sampled pixels, a row's sampled span at once where they lie close together,
// each pixel alone where they lie far apart. Painting any such bitmap into the view therefore
// costs about what its 321 × 321 sampled pixels cost, whatever its width and height.
//
// The file is not kept open: a drawing reads all it needs before it changes its surface (see
// PixelSource::prepareSamples), keeps those pixels, and lets the file go, so the disk holding
// it can be removed. Drawing the same way again uses the kept pixels; anything else reopens
// the file and fails with FileError when the file is gone or has changed. Nothing drawn ever
// comes from a read that failed.
class FileBackedBitmap final : public PixelSource {
public:
    // `file` must hold `header.rowStride() × header.height` bytes from `pixelOffset` on; the
    // reader checks that before building this.
    FileBackedBitmap(std::unique_ptr<ByteSource> file, const DibHeader& header,
                     DibRowDecoder decoder, std::uint64_t pixelOffset);

    int width() const override { return m_width; }
    int height() const override { return m_height; }
    void prepareSamples(std::span<const int> rows, std::span<const int> columns) const override;
    // Throws FileError when the pixels are not among those prepared and the file cannot give
    // them.
    void sampleRow(int row, std::span<const int> columns, std::span<Pixel> out) const override;

    // How many reads of the file sampling has made, for the tests.
    std::uint64_t readCount() const;

private:
    // Reads the pixels at `columns` of picture row `row` into `out`; `order` lists the indices
    // of `columns` by increasing column.
    void readRow(int row, std::span<const int> columns, std::span<const std::size_t> order,
                 std::span<Pixel> out) const;

    int m_width;
    int m_height;
    bool m_topDown;
    std::uint64_t m_stride;
    std::uint64_t m_pixelOffset;
    DibRowDecoder m_decoder;

    mutable std::mutex m_mutex;  // sampling may come from any thread; the file has one position
    mutable std::unique_ptr<ByteSource> m_file;
    mutable SampleGrid m_prepared;
    mutable std::vector<std::uint8_t> m_buffer;
    mutable std::uint64_t m_reads = 0;
};

// The indices of `columns` by increasing column.
std::vector<std::size_t> increasingOrder(std::span<const int> columns);

}  // namespace mosaikon
