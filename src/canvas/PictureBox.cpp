#include "PictureBox.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "OpacityPlane.h"

namespace mosaikon {

namespace {

constexpr std::uint32_t kOutsideDrawingArea = 0xFFFFFFFFu;

// Fills `rows` rows of `count` pixels, the first starting at `first`, each `stride` pixels after
// the one before. Rows at least four pixels wide are written four columns at a time down all the
// rows, the last four ending exactly at the right edge (overlapping the four before when the
// width is not a multiple of four): a cell's nine-pixel rows take three wide stores each, with
// no loop set up afresh for every row.
void fillRows(std::uint32_t* first, std::ptrdiff_t stride, int rows, int count,
              std::uint32_t plain) {
    if (count < 4) {
        for (int y = 0; y < rows; ++y, first += stride) {
            std::fill(first, first + count, plain);
        }
        return;
    }
    const std::array<std::uint32_t, 4> four{plain, plain, plain, plain};
    for (int x = 0;; x += 4) {
        const int column = std::min(x, count - 4);
        std::uint32_t* pixel = first + column;
        for (int y = 0; y < rows; ++y, pixel += stride) {
            std::memcpy(pixel, four.data(), sizeof four);
        }
        if (column == count - 4) {
            return;
        }
    }
}

// Clamps a coordinate far outside any surface so that integer arithmetic on it cannot overflow.
int toClampedInt(double value) {
    constexpr double kLimit = 1 << 28;
    if (std::isnan(value)) {
        return 0;
    }
    return static_cast<int>(std::clamp(std::floor(value), -kLimit, kLimit));
}

}  // namespace

PixelArea PixelArea::united(const PixelArea& other) const {
    if (isEmpty()) {
        return other;
    }
    if (other.isEmpty()) {
        return *this;
    }
    return {std::min(left, other.left), std::min(top, other.top), std::max(right, other.right),
            std::max(bottom, other.bottom)};
}

PictureBox::PictureBox(int widthPixels, int heightPixels, Colour background, ScaleUnit unit)
    : m_width(widthPixels),
      m_height(heightPixels),
      m_background(background),
      m_unit(unit),
      m_pixels(static_cast<std::size_t>(widthPixels) * static_cast<std::size_t>(heightPixels),
               background.resolved().value()) {
    if (widthPixels <= 0 || heightPixels <= 0) {
        throw std::invalid_argument("A drawing surface needs a positive size.");
    }
}

double PictureBox::ScaleWidth() const {
    return m_unit == ScaleUnit::Twips ? m_width * double{kTwipsPerPixel} : m_width;
}

double PictureBox::ScaleHeight() const {
    return m_unit == ScaleUnit::Twips ? m_height * double{kTwipsPerPixel} : m_height;
}

int PictureBox::toPixelX(double x) const {
    return toClampedInt(m_unit == ScaleUnit::Twips ? x / kTwipsPerPixel : x);
}

int PictureBox::toPixelY(double y) const { return toPixelX(y); }

int PictureBox::toPixelLength(double length) const {
    const double pixels = m_unit == ScaleUnit::Twips ? length / kTwipsPerPixel : length;
    constexpr double kLimit = 1 << 28;
    if (std::isnan(pixels)) {
        return 0;
    }
    return static_cast<int>(std::clamp(std::round(pixels), -kLimit, kLimit));
}

Colour PictureBox::pixel(int x, int y) const {
    return Colour(m_pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) +
                           static_cast<std::size_t>(x)]);
}

void PictureBox::restorePixels(std::span<const std::uint32_t> pixels) {
    if (pixels.size() != m_pixels.size()) {
        throw std::invalid_argument("Restored pixels do not fit the drawing surface.");
    }
    std::copy(pixels.begin(), pixels.end(), m_pixels.begin());
    m_pixelsChanged = true;
    recordChange(wholeArea());
}

void PictureBox::setPixel(int x, int y, std::uint32_t plain) {
    if (inside(x, y)) {
        std::uint32_t& pixel =
            m_pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) +
                     static_cast<std::size_t>(x)];
        m_pixelsChanged = m_pixelsChanged || pixel != plain;
        pixel = plain;
    }
}

Colour PictureBox::Point(double x, double y) const {
    const int px = toPixelX(x);
    const int py = toPixelY(y);
    return inside(px, py) ? pixel(px, py) : Colour(kOutsideDrawingArea);
}

void PictureBox::PSet(double x, double y, Colour colour) {
    const int px = toPixelX(x);
    const int py = toPixelY(y);
    setPixel(px, py, colour.resolved().value());
    recordChange({px, py, px + 1, py + 1});
}

void PictureBox::recordChange(const PixelArea& area) {
    ++m_revision;
    const PixelArea clipped{std::max(area.left, 0), std::max(area.top, 0),
                            std::min(area.right, m_width), std::min(area.bottom, m_height)};
    // Painting a cell again in its own colour, as every move within it does, changes nothing.
    m_recentChanges[m_revision % kRememberedChanges] =
        m_pixelsChanged && !clipped.isEmpty() ? clipped : PixelArea{};
    m_pixelsChanged = false;
}

PixelArea PictureBox::changedSince(std::uint64_t revision) const {
    if (revision > m_revision || m_revision - revision > kRememberedChanges) {
        return wholeArea();
    }
    PixelArea area;
    for (std::uint64_t r = revision + 1; r <= m_revision; ++r) {
        area = area.united(m_recentChanges[r % kRememberedChanges]);
    }
    return area;
}

void PictureBox::Batch::fill(const PixelArea& area, std::uint32_t plain) {
    m_drawn = true;
    const int width = m_surface.m_width;
    const PixelArea clipped{std::max(area.left, 0), std::max(area.top, 0),
                            std::min(area.right, width), std::min(area.bottom, m_surface.m_height)};
    if (clipped.isEmpty()) {
        return;
    }
    // Pixels already in the colour are left as they are: the rows are only written from the
    // first row with a pixel of another colour on, and not at all when there is none.
    const auto stride = static_cast<std::ptrdiff_t>(width);
    std::uint32_t* row =
        m_surface.m_pixels.data() + static_cast<std::ptrdiff_t>(clipped.top) * stride;
    const auto differs = [plain](std::uint32_t pixel) { return pixel != plain; };
    int y = clipped.top;
    while (y < clipped.bottom && std::none_of(row + clipped.left, row + clipped.right, differs)) {
        ++y;
        row += stride;
    }
    if (y == clipped.bottom) {
        return;
    }
    m_changed = m_changed.united(clipped);
    fillRows(row + clipped.left, stride, clipped.bottom - y, clipped.right - clipped.left, plain);
}

void PictureBox::Batch::set(int x, int y, std::uint32_t plain) {
    m_drawn = true;
    if (!m_surface.inside(x, y)) {
        return;
    }
    std::uint32_t& pixel =
        m_surface
            .m_pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_surface.m_width) +
                      static_cast<std::size_t>(x)];
    if (pixel != plain) {
        pixel = plain;
        m_changed = m_changed.united({x, y, x + 1, y + 1});
    }
}

void PictureBox::Batch::finish() {
    if (!m_drawn) {
        return;
    }
    m_surface.m_pixelsChanged = !m_changed.isEmpty();
    m_surface.recordChange(m_changed);
    m_changed = {};
    m_drawn = false;
}

void PictureBox::fillRect(int left, int top, int right, int bottom, std::uint32_t plain) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, m_width - 1);
    bottom = std::min(bottom, m_height - 1);
    if (left > right) {
        return;  // wholly left or right of the area: no row has anything to fill
    }
    for (int y = top; y <= bottom; ++y) {
        auto row = m_pixels.begin() + static_cast<std::ptrdiff_t>(y) * m_width;
        m_pixelsChanged =
            m_pixelsChanged || std::any_of(row + left, row + right + 1,
                                           [plain](std::uint32_t pixel) { return pixel != plain; });
        std::fill(row + left, row + right + 1, plain);
    }
}

// Bresenham's line from (x1, y1) towards (x2, y2), leaving out the end point so that lines
// drawn end to end never cover a pixel twice.
void PictureBox::plainLine(int x1, int y1, int x2, int y2, std::uint32_t plain) {
    if (y1 == y2) {
        const int step = x2 >= x1 ? 1 : -1;
        const int last = x2 - step;
        if (x1 == x2) {
            return;
        }
        fillRect(std::min(x1, last), y1, std::max(x1, last), y1, plain);
        return;
    }
    if (x1 == x2) {
        const int step = y2 >= y1 ? 1 : -1;
        const int last = y2 - step;
        fillRect(x1, std::min(y1, last), x1, std::max(y1, last), plain);
        return;
    }
    const long dx = std::labs(static_cast<long>(x2) - x1);
    const long dy = -std::labs(static_cast<long>(y2) - y1);
    const int sx = x1 < x2 ? 1 : -1;
    const int sy = y1 < y2 ? 1 : -1;
    long error = dx + dy;
    int x = x1;
    int y = y1;
    const bool missesSurface = std::max(x1, x2) < 0 || std::max(y1, y2) < 0 ||
                               std::min(x1, x2) >= m_width || std::min(y1, y2) >= m_height;
    if (missesSurface) {
        return;
    }
    while (x != x2 || y != y2) {
        setPixel(x, y, plain);
        const long doubled = 2 * error;
        if (doubled >= dy) {
            error += dy;
            x += sx;
        }
        if (doubled <= dx) {
            error += dx;
            y += sy;
        }
    }
}

void PictureBox::Line(double x1, double y1, double x2, double y2, Colour colour, LineShape shape) {
    const std::uint32_t plain = colour.resolved().value();
    const int px1 = toPixelX(x1);
    const int py1 = toPixelY(y1);
    const int px2 = toPixelX(x2);
    const int py2 = toPixelY(y2);
    const int left = std::min(px1, px2);
    const int right = std::max(px1, px2);
    const int top = std::min(py1, py2);
    const int bottom = std::max(py1, py2);
    switch (shape) {
        case LineShape::Plain:
            plainLine(px1, py1, px2, py2, plain);
            break;
        case LineShape::FilledBox:
            fillRect(left, top, right, bottom, plain);
            break;
        case LineShape::Box:
            fillRect(left, top, right, top, plain);
            fillRect(left, bottom, right, bottom, plain);
            fillRect(left, top, left, bottom, plain);
            fillRect(right, top, right, bottom, plain);
            break;
    }
    recordChange({left, top, right + 1, bottom + 1});
}

void PictureBox::PaintPicture(const Picture& picture, double x1, double y1, double width,
                              double height) {
    if (picture.isEmpty()) {
        return;
    }
    const int destWidth = toPixelLength(width);
    const int destHeight = toPixelLength(height);
    if (destWidth == 0 || destHeight == 0) {
        return;
    }
    paintScaled(picture, toPixelX(x1), toPixelY(y1), destWidth, destHeight);
    m_pixelsChanged = true;
    recordChange(wholeArea());
}

// For a rectangle of `extent` pixels (negative: mirrored) starting at `origin`, the offsets o
// whose destination origin ± o lies in [0, limit), as a half-open range.
static std::pair<long, long> visibleOffsets(int origin, int extent, int limit) {
    const long length = std::labs(static_cast<long>(extent));
    long first = 0;
    long last = length - 1;
    if (extent > 0) {
        first = std::max(first, -static_cast<long>(origin));
        last = std::min(last, static_cast<long>(limit) - 1 - origin);
    } else {
        first = std::max(first, static_cast<long>(origin) - (limit - 1));
        last = std::min(last, static_cast<long>(origin));
    }
    return {first, last + 1};
}

namespace {

// Which source columns and rows a scaled drawing samples, by centre sampling: destination
// offset o takes source column ((2o + 1) · srcW) / (2 · |w|), rows likewise. Only the offsets
// that land inside the surface are planned.
struct SamplingPlan {
    std::vector<int> columns;  // one per visible destination offset, in offset order
    std::vector<int> rows;     // every source row sampled, each once, in order
    long firstY = 0;
    long endY = 0;
    long long sourceHeight = 0;
    long long spanY = 0;

    int sourceRowOf(long o) const {
        return static_cast<int>(((2LL * o + 1) * sourceHeight) / spanY);
    }
};

SamplingPlan planSampling(const PixelSource& source, std::pair<long, long> offsetsX,
                          std::pair<long, long> offsetsY, int destWidth, int destHeight) {
    SamplingPlan plan;
    plan.firstY = offsetsY.first;
    plan.endY = offsetsY.second;
    plan.sourceHeight = source.height();
    plan.spanY = 2LL * std::llabs(destHeight);
    const long long sourceWidth = source.width();
    const long long spanX = 2LL * std::llabs(destWidth);
    plan.columns.reserve(static_cast<std::size_t>(offsetsX.second - offsetsX.first));
    for (long o = offsetsX.first; o < offsetsX.second; ++o) {
        plan.columns.push_back(static_cast<int>(((2LL * o + 1) * sourceWidth) / spanX));
    }
    for (long o = plan.firstY; o < plan.endY; ++o) {
        if (plan.rows.empty() || plan.rows.back() != plan.sourceRowOf(o)) {
            plan.rows.push_back(plan.sourceRowOf(o));
        }
    }
    return plan;
}

// One sampled source row laid out in screen order, as plain colours and opacities.
class SampledRow {
public:
    SampledRow(std::size_t count, bool mirrored, bool isIcon)
        : m_sampled(count),
          m_plain(count),
          m_alpha(count),
          m_mirrored(mirrored),
          m_isIcon(isIcon) {}

    void load(const PixelSource& source, int row, const std::vector<int>& columns) {
        source.sampleRow(row, columns, m_sampled);
        m_opaque = true;
        const std::size_t count = m_sampled.size();
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t j = m_mirrored ? count - 1 - i : i;
            m_plain[j] = m_sampled[i] & 0x00FFFFFFu;
            m_alpha[j] = m_isIcon ? pixelAlpha(m_sampled[i]) : std::uint8_t{255};
            m_opaque = m_opaque && m_alpha[j] == 255;
        }
    }

    // Puts the row onto `line`: copied whole when nothing in it needs blending, otherwise
    // blended, which is exact at both ends (opacity 255 gives the source, 0 leaves the
    // surface), so every pixel takes the same branch-free path.
    void drawOnto(std::uint32_t* line) const {
        if (m_opaque) {
            std::copy(m_plain.begin(), m_plain.end(), line);
            return;
        }
        for (std::size_t j = 0; j < m_plain.size(); ++j) {
            line[j] = blendPlain(line[j], m_plain[j], m_alpha[j]);
        }
    }

private:
    std::vector<Pixel> m_sampled;
    std::vector<std::uint32_t> m_plain;
    std::vector<std::uint8_t> m_alpha;
    bool m_mirrored;
    bool m_isIcon;
    bool m_opaque = true;
};

}  // namespace

void PictureBox::paintScaled(const Picture& picture, int x1, int y1, int destWidth,
                             int destHeight) {
    const PixelSource& source = *picture.source();
    const auto offsetsX = visibleOffsets(x1, destWidth, m_width);
    const auto offsetsY = visibleOffsets(y1, destHeight, m_height);
    if (offsetsX.first >= offsetsX.second || offsetsY.first >= offsetsY.second) {
        return;
    }
    const SamplingPlan plan = planSampling(source, offsetsX, offsetsY, destWidth, destHeight);
    // Every row this drawing samples is read ahead, before any pixel changes.
    source.prepareSamples(plan.rows, plan.columns);
    const bool mirrored = destWidth < 0;
    // The visible destination columns are contiguous; `left` is the first of them on screen.
    const int left = mirrored ? x1 - static_cast<int>(offsetsX.second - 1)
                              : x1 + static_cast<int>(offsetsX.first);

    // Rows that repeat (enlarging) are sampled once.
    SampledRow row(plan.columns.size(), mirrored, picture.kind() == PictureKind::Icon);
    int loadedRow = -1;
    for (long o = plan.firstY; o < plan.endY; ++o) {
        const int sourceRow = plan.sourceRowOf(o);
        if (sourceRow != loadedRow) {
            row.load(source, sourceRow, plan.columns);
            loadedRow = sourceRow;
        }
        const int y = destHeight > 0 ? y1 + static_cast<int>(o) : y1 - static_cast<int>(o);
        row.drawOnto(m_pixels.data() +
                     static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) +
                     static_cast<std::size_t>(left));
    }
}

Picture PictureBox::Image() const {
    std::vector<Pixel> copy(m_pixels.size());
    std::transform(m_pixels.begin(), m_pixels.end(), copy.begin(),
                   [](std::uint32_t plain) { return plain | 0xFF000000u; });
    return Picture::fromPixels(PictureKind::Bitmap, m_width, m_height, std::move(copy));
}

void PictureBox::setPicture(const Picture& picture) {
    // Drawn on a fresh surface that then takes this one's place, so a picture that cannot be
    // read (its file gone) leaves this surface as it was.
    PictureBox fresh(m_width, m_height, m_background);
    if (!picture.isEmpty()) {
        fresh.paintScaled(picture, 0, 0, picture.width(), picture.height());
    }
    m_pixels.swap(fresh.m_pixels);
    m_pixelsChanged = true;
    recordChange(wholeArea());
}

}  // namespace mosaikon
