#include "png/StreamedPng.h"

#include <algorithm>
#include <numeric>
#include <utility>
#include <vector>

#include "bitmap/BmpReader.h"

namespace mosaikon {

namespace {

// The pixel as it shows over white, fully opaque: what a PNG drawn without its opacity shows.
Pixel opaqueOverWhite(Pixel pixel) {
    const std::uint32_t alpha = pixelAlpha(pixel);
    const std::uint32_t colour = pixelColour(pixel).value();
    std::uint32_t result = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const std::uint32_t channel = (colour >> shift) & 0xFFu;
        const std::uint32_t mixed = (channel * alpha + 255u * (255u - alpha) + 127u) / 255u;
        result |= mixed << shift;
    }
    return 0xFF000000u | result;
}

// The pixels of `grid`'s rows and columns of the PNG stream at `offset` in `source`.
SampleGrid decodeGrid(ByteSource& source, std::uint64_t offset, std::span<const int> rows,
                      std::span<const int> columns, PngOpacity opacity) {
    SampleGrid grid(rows, columns);
    decodePngSamples(source, offset, grid);
    if (opacity == PngOpacity::OverWhite) {
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const std::span<Pixel> row = grid.row(i);
            std::transform(row.begin(), row.end(), row.begin(), opaqueOverWhite);
        }
    }
    return grid;
}

}  // namespace

StreamedPng::StreamedPng(std::unique_ptr<ByteSource> source, std::uint64_t offset,
                         const PngHeader& header, PngOpacity opacity)
    : m_header(header), m_offset(offset), m_opacity(opacity), m_source(std::move(source)) {
    m_source->release();
}

SampleGrid StreamedPng::decode(std::span<const int> rows, std::span<const int> columns) const {
    try {
        SampleGrid grid = decodeGrid(*m_source, m_offset, rows, columns, m_opacity);
        m_source->release();
        return grid;
    } catch (...) {
        m_source->release();
        throw;
    }
}

Picture pngPicture(std::unique_ptr<ByteSource> source, std::uint64_t offset, PictureKind kind,
                   PngOpacity opacity) {
    const PngHeader header = readPngHeader(*source, offset);
    const std::uint64_t pixels =
        static_cast<std::uint64_t>(header.width) * static_cast<std::uint64_t>(header.height);
    if (pixels > kFileBackedPixels) {
        return Picture(kind,
                       std::make_shared<StreamedPng>(std::move(source), offset, header, opacity));
    }
    // Small enough to hold: at most kFileBackedPixels pixels.
    std::vector<int> rows(static_cast<std::size_t>(header.height));
    std::iota(rows.begin(), rows.end(), 0);
    std::vector<int> columns(static_cast<std::size_t>(header.width));
    std::iota(columns.begin(), columns.end(), 0);
    SampleGrid grid = decodeGrid(*source, offset, rows, columns, opacity);
    source->release();
    return Picture::fromPixels(kind, header.width, header.height, grid.takePixels());
}

}  // namespace mosaikon
