#pragma once

#include <cstdint>
#include <vector>

#include "Picture.h"
#include "PictureBox.h"

namespace mosaikon {

// Blends `source` over `below` by `alpha` (0–255), channel by channel, rounding to nearest:
// each channel is (s·a + b·(255 − a)) / 255 rounded. Red and blue are worked side by side in
// 16-bit lanes, then green; (t + 128 + ((t + 128) >> 8)) >> 8 is t / 255 rounded for every t
// up to 255 · 255, so no lane overflows into the next. Every drawing of an icon picture blends
// with it, and so does the opacity plane's rule for what the icon surface shows.
constexpr std::uint32_t blendPlain(std::uint32_t below, std::uint32_t source, std::uint32_t alpha) {
    const std::uint32_t inverse = 255 - alpha;
    std::uint32_t redBlue =
        (source & 0xFF00FFu) * alpha + (below & 0xFF00FFu) * inverse + 0x800080u;
    redBlue = ((redBlue + ((redBlue >> 8) & 0xFF00FFu)) >> 8) & 0xFF00FFu;
    std::uint32_t green = (source & 0xFF00u) * alpha + (below & 0xFF00u) * inverse + 0x8000u;
    green = ((green + ((green >> 8) & 0xFF00u)) >> 8) & 0xFF00u;
    return redBlue | green;
}

// The plain colour `pixel` shows over the icon surface's white background.
constexpr std::uint32_t overWhite(Pixel pixel) {
    return blendPlain(colours::kWhite.value(), pixel & 0x00FFFFFFu, pixelAlpha(pixel));
}

// The classic rule for a colour put down on the icon: pure white is transparent, every other
// plain colour opaque.
inline constexpr Pixel kTransparentPixel = 0x00FFFFFFu;
constexpr Pixel classicPixel(std::uint32_t plain) {
    const std::uint32_t colour = plain & 0x00FFFFFFu;
    return colour == colours::kWhite.value() ? kTransparentPixel : 0xFF000000u | colour;
}

// What the icon surface cannot hold: for each icon pixel the colour and opacity the icon really
// has (0xAABBGGRR, as a picture's pixels), kept beside the surface by every operation so that
// the exports, copy and the command-line tool write soft edges as the file gave them.
//
// The invariant, after every operation: the plane drawn over white is the icon surface, pixel
// for pixel. An opaque pure white pixel is kept as transparent white, whatever its origin, so
// that a saved icon and an export agree on it.
//
// The pixels live in a 32 × 32 drawing surface of their own, which is never shown: the edit
// history keeps and restores it as it does the icon's two surfaces.
class OpacityPlane {
public:
    static constexpr int kEdge = 32;

    OpacityPlane();  // every pixel transparent

    Pixel at(int x, int y) const { return m_layer.pixels()[index(x, y)]; }
    // Sets one pixel (inside the plane), opaque white made transparent.
    void set(int x, int y, Pixel pixel);
    // What a tool puts down: `plain` by the classic rule.
    void paint(int x, int y, std::uint32_t plain) { set(x, y, classicPixel(plain)); }
    // Every pixel transparent, as Clear and New leave the icon.
    void clear();

    // The picture as the icon surface's picture assignment draws it: at its own size from the
    // top-left, an icon with its opacity, a bitmap opaque; what it does not cover transparent.
    void take(const Picture& picture);
    // The picture as it reaches the icon when drawn 321 × 321 onto the view and read back
    // (Open Bitmap, the extraction): each icon pixel takes the source pixel the two samplings
    // chose for it, an icon's with its opacity, a bitmap's opaque.
    void takeThroughView(const Picture& picture);

    // The whole-icon transforms, carried as they carry the icon: a move by `dx`, `dy` view
    // pixels (the strip it leaves keeps its pixels, so the edge row or column repeats), the
    // flips and the quarter turn clockwise.
    void shiftByView(int dx, int dy);
    void flipLeftRight();
    void flipTopBottom();
    void rotateClockwise();

    // Takes, for each pixel where the plane over white is not what `icon` shows, the icon's
    // colour by the classic rule: whatever drew the surface without the plane, the invariant
    // then holds again.
    void follow(const PictureBox& icon);
    // Whether the invariant holds over `icon`.
    bool matches(const PictureBox& icon) const;

    // The plane as a 32 × 32 icon picture: what the exports write.
    Picture picture() const;
    // Every pixel, row by row from the top.
    const std::vector<std::uint32_t>& pixels() const { return m_layer.pixels(); }
    // Whether any pixel is neither fully opaque nor fully transparent.
    bool hasPartialOpacity() const;

    // The surface that holds the pixels, for the edit history, and its change count, for views.
    const PictureBox& layer() const { return m_layer; }
    PictureBox& layer() { return m_layer; }
    std::uint64_t revision() const { return m_layer.revision(); }

private:
    static std::size_t index(int x, int y) {
        return static_cast<std::size_t>(y) * kEdge + static_cast<std::size_t>(x);
    }
    // Replaces every pixel; `pixels` holds kEdge × kEdge of them.
    void replaceAll(std::vector<std::uint32_t> pixels);

    PictureBox m_layer;
};

// Whether `picture`, an icon, has a pixel of partial opacity (1 to 254).
bool usesPartialOpacity(const Picture& picture);

}  // namespace mosaikon
