#include "Picture.h"

#include <algorithm>
#include <numeric>
#include <stdexcept>
#include <utility>

namespace mosaikon {

PixelBuffer::PixelBuffer(int width, int height, std::vector<Pixel> pixels)
    : m_width(width), m_height(height), m_pixels(std::move(pixels)) {
    if (width <= 0 || height <= 0 ||
        m_pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        throw std::invalid_argument("A picture's pixel count does not match its size.");
    }
}

void checkSampleRequest(int width, int height, int row, std::span<const int> columns,
                        std::span<const Pixel> out) {
    if (row < 0 || row >= height || out.size() < columns.size() ||
        std::any_of(columns.begin(), columns.end(),
                    [width](int column) { return column < 0 || column >= width; })) {
        throw std::out_of_range("A picture was asked for pixels outside it.");
    }
}

void PixelBuffer::sampleRow(int row, std::span<const int> columns, std::span<Pixel> out) const {
    checkSampleRequest(m_width, m_height, row, columns, out);
    const Pixel* line =
        m_pixels.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(m_width);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        out[i] = line[columns[i]];
    }
}

Picture::Picture(PictureKind kind, std::shared_ptr<const PixelSource> source)
    : m_kind(kind), m_source(std::move(source)) {}

Picture Picture::fromPixels(PictureKind kind, int width, int height, std::vector<Pixel> pixels) {
    return Picture(kind, std::make_shared<PixelBuffer>(width, height, std::move(pixels)));
}

Pixel Picture::pixelAt(int x, int y) const {
    if (!m_source) {
        throw std::out_of_range("The empty picture has no pixels.");
    }
    const int column = x;  // the source checks it and the row
    Pixel pixel = 0;
    m_source->sampleRow(y, std::span<const int>(&column, 1), std::span<Pixel>(&pixel, 1));
    return pixel;
}

std::vector<Pixel> Picture::allPixels() const {
    if (!m_source) {
        return {};
    }
    const int w = width();
    const int h = height();
    std::vector<int> columns(static_cast<std::size_t>(w));
    std::iota(columns.begin(), columns.end(), 0);
    std::vector<Pixel> result(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    for (int y = 0; y < h; ++y) {
        m_source->sampleRow(y, columns,
                            std::span<Pixel>(result.data() + static_cast<std::size_t>(y) *
                                                                 static_cast<std::size_t>(w),
                                             static_cast<std::size_t>(w)));
    }
    return result;
}

}  // namespace mosaikon
