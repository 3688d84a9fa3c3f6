#include "OpacityPlane.h"

#include <algorithm>
#include <optional>

namespace mosaikon {

namespace {

constexpr int kEdge = OpacityPlane::kEdge;
constexpr int kViewEdge = 319;       // the view's drawing area
constexpr int kViewOuterEdge = 321;  // what the rebuild and the extraction paint onto it

// The view pixel the read-back samples for icon pixel `i`, by the centre rule of drawing.
constexpr int viewPixelOf(int i) { return ((2 * i + 1) * kViewEdge) / (2 * kEdge); }

// The source pixel a paint of `sourceLength` pixels into `extent` destination pixels (negative:
// mirrored) from `origin` puts at destination `d`, or none when `d` lies outside it.
std::optional<int> sourceOf(int d, int origin, int extent, int sourceLength) {
    const int o = extent > 0 ? d - origin : origin - d;
    const int length = extent > 0 ? extent : -extent;
    if (o < 0 || o >= length) {
        return std::nullopt;
    }
    return static_cast<int>(((2LL * o + 1) * sourceLength) / (2LL * length));
}

Pixel normalised(Pixel pixel) {
    return pixel == (0xFF000000u | colours::kWhite.value()) ? kTransparentPixel : pixel;
}

Pixel asDrawn(const Picture& picture, Pixel pixel) {
    return normalised(picture.kind() == PictureKind::Icon ? pixel : pixel | 0xFF000000u);
}

}  // namespace

OpacityPlane::OpacityPlane() : m_layer(kEdge, kEdge, Colour(kTransparentPixel)) {}

void OpacityPlane::set(int x, int y, Pixel pixel) {
    PictureBox::Batch batch(m_layer);
    batch.set(x, y, normalised(pixel));
}

void OpacityPlane::clear() {
    replaceAll(std::vector<std::uint32_t>(kEdge * kEdge, kTransparentPixel));
}

void OpacityPlane::replaceAll(std::vector<std::uint32_t> pixels) {
    if (pixels != m_layer.pixels()) {
        m_layer.restorePixels(pixels);
    }
}

void OpacityPlane::take(const Picture& picture) {
    std::vector<std::uint32_t> pixels(kEdge * kEdge, kTransparentPixel);
    const int width = std::min(picture.width(), kEdge);
    const int height = std::min(picture.height(), kEdge);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            pixels[index(x, y)] = asDrawn(picture, picture.pixelAt(x, y));
        }
    }
    replaceAll(std::move(pixels));
}

void OpacityPlane::takeThroughView(const Picture& picture) {
    if (picture.isEmpty()) {
        return clear();
    }
    std::vector<std::uint32_t> pixels(kEdge * kEdge, kTransparentPixel);
    for (int y = 0; y < kEdge; ++y) {
        const int row = *sourceOf(viewPixelOf(y), 0, kViewOuterEdge, picture.height());
        for (int x = 0; x < kEdge; ++x) {
            const int column = *sourceOf(viewPixelOf(x), 0, kViewOuterEdge, picture.width());
            pixels[index(x, y)] = asDrawn(picture, picture.pixelAt(column, row));
        }
    }
    replaceAll(std::move(pixels));
}

void OpacityPlane::shiftByView(int dx, int dy) {
    const std::vector<std::uint32_t>& before = m_layer.pixels();
    std::vector<std::uint32_t> pixels(before);
    for (int y = 0; y < kEdge; ++y) {
        const std::optional<int> row = sourceOf(viewPixelOf(y), dy, kViewEdge, kEdge);
        for (int x = 0; x < kEdge; ++x) {
            const std::optional<int> column = sourceOf(viewPixelOf(x), dx, kViewEdge, kEdge);
            // Outside the painted rectangle the view keeps what it showed, the pixel itself.
            if (row && column) {
                pixels[index(x, y)] = before[index(*column, *row)];
            }
        }
    }
    replaceAll(std::move(pixels));
}

void OpacityPlane::flipLeftRight() {
    std::vector<std::uint32_t> pixels(m_layer.pixels());
    for (int y = 0; y < kEdge; ++y) {
        const auto row = pixels.begin() + static_cast<std::ptrdiff_t>(index(0, y));
        std::reverse(row, row + kEdge);
    }
    replaceAll(std::move(pixels));
}

void OpacityPlane::flipTopBottom() {
    std::vector<std::uint32_t> pixels(m_layer.pixels());
    for (int top = 0, bottom = kEdge - 1; top < bottom; ++top, --bottom) {
        const auto first = pixels.begin() + static_cast<std::ptrdiff_t>(index(0, top));
        std::swap_ranges(first, first + kEdge,
                         pixels.begin() + static_cast<std::ptrdiff_t>(index(0, bottom)));
    }
    replaceAll(std::move(pixels));
}

// Clockwise: the pixel at (x, y) comes from (y, 31 − x), as the transpose and the mirror of
// the rotation place it.
void OpacityPlane::rotateClockwise() {
    const std::vector<std::uint32_t>& before = m_layer.pixels();
    std::vector<std::uint32_t> pixels(before.size());
    for (int y = 0; y < kEdge; ++y) {
        for (int x = 0; x < kEdge; ++x) {
            pixels[index(x, y)] = before[index(y, kEdge - 1 - x)];
        }
    }
    replaceAll(std::move(pixels));
}

void OpacityPlane::follow(const PictureBox& icon) {
    const std::vector<std::uint32_t>& shown = icon.pixels();
    PictureBox::Batch batch(m_layer);
    for (int y = 0; y < kEdge; ++y) {
        for (int x = 0; x < kEdge; ++x) {
            const std::uint32_t plain = shown[index(x, y)];
            if (overWhite(at(x, y)) != plain) {
                batch.set(x, y, classicPixel(plain));
            }
        }
    }
}

bool OpacityPlane::matches(const PictureBox& icon) const {
    const std::vector<std::uint32_t>& shown = icon.pixels();
    const std::vector<std::uint32_t>& plane = m_layer.pixels();
    return shown.size() == plane.size() &&
           std::equal(plane.begin(), plane.end(), shown.begin(),
                      [](Pixel pixel, std::uint32_t plain) { return overWhite(pixel) == plain; });
}

Picture OpacityPlane::picture() const {
    return Picture::fromPixels(PictureKind::Icon, kEdge, kEdge,
                               std::vector<Pixel>(m_layer.pixels()));
}

bool OpacityPlane::hasPartialOpacity() const { return usesPartialOpacity(picture()); }

bool usesPartialOpacity(const Picture& picture) {
    if (picture.isEmpty() || picture.kind() != PictureKind::Icon) {
        return false;
    }
    const std::vector<Pixel> pixels = picture.allPixels();
    return std::any_of(pixels.begin(), pixels.end(), [](Pixel pixel) {
        const std::uint8_t alpha = pixelAlpha(pixel);
        return alpha != 0 && alpha != 255;
    });
}

}  // namespace mosaikon
