#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <span>

#include "ByteSource.h"
#include "Picture.h"
#include "bitmap/SampleGrid.h"
#include "png/PngStream.h"

namespace mosaikon {

// What a PNG picture does with the image's own opacity.
enum class PngOpacity {
    Kept,       // each pixel keeps it (an icon picture)
    OverWhite,  // each pixel shows as it would over white, opaque (a bitmap picture)
};

// A PNG image too large to hold decoded, left in its source: a drawing decodes the stream once,
// in order, keeping only the pixels it samples (see PixelSource::prepareSamples and RleBitmap,
// which it follows for the source).
class StreamedPng final : public PixelSource {
public:
    StreamedPng(std::unique_ptr<ByteSource> source, std::uint64_t offset, const PngHeader& header,
                PngOpacity opacity);

    int width() const override { return m_header.width; }
    int height() const override { return m_header.height; }
    void prepareSamples(std::span<const int> rows, std::span<const int> columns) const override;
    // Pixels not among those prepared cost a pass over the stream; throws FileError when the
    // source cannot give them or the stream is damaged.
    void sampleRow(int row, std::span<const int> columns, std::span<Pixel> out) const override;

private:
    SampleGrid decode(std::span<const int> rows, std::span<const int> columns) const;

    PngHeader m_header;
    std::uint64_t m_offset;
    PngOpacity m_opacity;
    mutable std::mutex m_mutex;
    mutable std::unique_ptr<ByteSource> m_source;
    mutable SampleGrid m_prepared;
};

// The PNG stream at `offset` in `source` as a picture of `kind`: decoded whole when it is small,
// otherwise left in `source` and decoded as it is drawn. Throws FileError when its header is not
// one this program can read, and, for a small one, when its stream is damaged.
Picture pngPicture(std::unique_ptr<ByteSource> source, std::uint64_t offset, PictureKind kind,
                   PngOpacity opacity);

}  // namespace mosaikon
