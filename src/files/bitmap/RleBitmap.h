#pragma once

#include <memory>
#include <mutex>
#include <span>

#include "ByteSource.h"
#include "Picture.h"
#include "bitmap/RleDecoder.h"
#include "bitmap/SampleGrid.h"

namespace mosaikon {

// A run-length compressed bitmap too large to hold decoded, left in its file: a drawing
// decodes the stream once, in order, keeping only the pixels it samples (see
// PixelSource::prepareSamples and FileBackedBitmap, which it follows for the file).
class RleBitmap final : public StreamDecodedSource {
public:
    RleBitmap(std::unique_ptr<ByteSource> file, RleStream stream);

    int width() const override { return m_stream.header.width; }
    int height() const override { return m_stream.header.height; }

private:
    SampleGrid decode(std::span<const int> rows, std::span<const int> columns) const override;

    RleStream m_stream;
    mutable std::unique_ptr<ByteSource> m_file;
};

}  // namespace mosaikon
