#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "Colour.h"

namespace mosaikon {

// One pixel of a picture: 0xAABBGGRR, the plain colour in the low 24 bits and its opacity in
// the high byte (255 opaque, 0 fully transparent).
using Pixel = std::uint32_t;

constexpr Pixel opaquePixel(Colour colour) { return 0xFF000000u | (colour.value() & 0x00FFFFFFu); }
constexpr std::uint8_t pixelAlpha(Pixel pixel) { return static_cast<std::uint8_t>(pixel >> 24); }
constexpr Colour pixelColour(Pixel pixel) { return Colour(pixel & 0x00FFFFFFu); }
constexpr Pixel makePixel(Colour colour, std::uint8_t alpha) {
    return (static_cast<std::uint32_t>(alpha) << 24) | (colour.value() & 0x00FFFFFFu);
}

enum class PictureKind { Bitmap, Icon };

// Where a picture's pixels come from. Most pictures keep them in memory; a huge bitmap may read
// them from its file on demand, which is why drawing asks only for the pixels it needs.
class PixelSource {
public:
    virtual ~PixelSource() = default;
    virtual int width() const = 0;
    virtual int height() const = 0;
    // Fills out[i] with the pixel at (columns[i], row); row 0 is the top. Every column and the
    // row are inside the picture.
    // A source that reads its pixels from somewhere that can fail (a file) may throw here.
    virtual void sampleRow(int row, std::span<const int> columns, std::span<Pixel> out) const = 0;
    // Drawing calls this before it changes anything, with the rows it will sample (each once)
    // and the columns it will ask for in each. A source that can fail reads them all here and
    // throws if it cannot, so a drawing either completes or leaves its surface as it was;
    // sampling those rows afterwards does not fail. Calling it again with the same rows and
    // columns costs nothing.
    virtual void prepareSamples(std::span<const int> /*rows*/,
                                std::span<const int> /*columns*/) const {}
};

// Throws std::out_of_range unless `row` lies inside a picture of `width` × `height`, every
// column too, and `out` has room for a pixel per column. Every pixel source checks each request
// with it, in every build: a bad request must not read or write outside memory.
void checkSampleRequest(int width, int height, int row, std::span<const int> columns,
                        std::span<const Pixel> out);

// The pixels of a picture held in memory, row by row from the top.
class PixelBuffer final : public PixelSource {
public:
    PixelBuffer(int width, int height, std::vector<Pixel> pixels);
    int width() const override { return m_width; }
    int height() const override { return m_height; }
    void sampleRow(int row, std::span<const int> columns, std::span<Pixel> out) const override;
    const std::vector<Pixel>& pixels() const { return m_pixels; }

private:
    int m_width;
    int m_height;
    std::vector<Pixel> m_pixels;
};

// An immutable, shared picture: a bitmap or an icon. The default-constructed picture is the
// empty picture, which has no pixels at all.
class Picture {
public:
    Picture() = default;
    Picture(PictureKind kind, std::shared_ptr<const PixelSource> source);

    // A picture of `width` × `height` pixels given row by row from the top.
    static Picture fromPixels(PictureKind kind, int width, int height, std::vector<Pixel> pixels);

    bool isEmpty() const { return m_source == nullptr; }
    PictureKind kind() const { return m_kind; }
    int width() const { return m_source ? m_source->width() : 0; }
    int height() const { return m_source ? m_source->height() : 0; }
    const PixelSource* source() const { return m_source.get(); }

    // One pixel; throws std::out_of_range unless (x, y) lies inside the picture.
    Pixel pixelAt(int x, int y) const;
    // Every pixel, row by row from the top (reads the whole picture).
    std::vector<Pixel> allPixels() const;

    // True when both are the same shared picture (or both empty).
    bool sharesWith(const Picture& other) const { return m_source == other.m_source; }

private:
    PictureKind m_kind = PictureKind::Bitmap;
    std::shared_ptr<const PixelSource> m_source;
};

}  // namespace mosaikon
