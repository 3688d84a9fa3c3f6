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
class StreamedPng final : public StreamDecodedSource {
public:
    StreamedPng(std::unique_ptr<ByteSource> source, std::uint64_t offset, const PngHeader& header,
                PngOpacity opacity);

    int width() const override { return m_header.width; }
    int height() const override { return m_header.height; }

private:
    SampleGrid decode(std::span<const int> rows, std::span<const int> columns) const override;

    PngHeader m_header;
    std::uint64_t m_offset;
    PngOpacity m_opacity;
    mutable std::unique_ptr<ByteSource> m_source;
};

// The PNG stream at `offset` in `source` as a picture of `kind`: decoded whole when it is small,
// otherwise left in `source` and decoded as it is drawn. Throws FileError when its header is not
// one this program can read, and, for a small one, when its stream is damaged.
Picture pngPicture(std::unique_ptr<ByteSource> source, std::uint64_t offset, PictureKind kind,
                   PngOpacity opacity);

}  // namespace mosaikon
