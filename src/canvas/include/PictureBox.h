#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "Colour.h"
#include "Picture.h"

namespace mosaikon {

// The unit of a surface's coordinates: whole pixels, or twips (15 to the pixel, a twip
// coordinate t lying on pixel floor(t / 15)).
enum class ScaleUnit { Pixels, Twips };
inline constexpr int kTwipsPerPixel = 15;

enum class LineShape { Plain, Box, FilledBox };

// A rectangle of whole pixels; right and bottom are one past the last column and row.
struct PixelArea {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool isEmpty() const { return left >= right || top >= bottom; }
    PixelArea united(const PixelArea& other) const;
    friend bool operator==(const PixelArea&, const PixelArea&) = default;
};

// Pointer shapes a surface can ask for; the window maps them onto cursors.
namespace pointers {
inline constexpr std::int16_t kDefault = 0;
inline constexpr std::int16_t kArrow = 1;
inline constexpr std::int16_t kCross = 2;
inline constexpr std::int16_t kUpArrow = 10;
inline constexpr std::int16_t kPencil = 99;  // our own cursor
}  // namespace pointers

// A persistent drawing surface: what is drawn on it stays until drawn over or cleared, and is
// what Point and Image read. The operations carry the names the rest of the editor uses for
// them. All coordinates are in the surface's scale unit.
class PictureBox {
public:
    PictureBox(int widthPixels, int heightPixels, Colour background,
               ScaleUnit unit = ScaleUnit::Pixels);

    int widthPixels() const { return m_width; }
    int heightPixels() const { return m_height; }
    Colour background() const { return m_background; }
    ScaleUnit scaleUnit() const { return m_unit; }

    // The drawing area's size in scale units.
    double ScaleWidth() const;
    double ScaleHeight() const;

    // The plain colour at (x, y). Outside the drawing area the answer is 0xFFFFFFFF, a value no
    // pixel can have, so it never equals a colour read from the surface.
    Colour Point(double x, double y) const;
    void PSet(double x, double y, Colour colour);
    // Plain: a one-pixel line from the first point up to, not including, the second.
    // Box: the outline of the rectangle with both corners included. FilledBox: the rectangle
    // with its outline, both corners included. Everything is clipped to the drawing area.
    void Line(double x1, double y1, double x2, double y2, Colour colour,
              LineShape shape = LineShape::Plain);
    // Draws the whole picture scaled into |width| × |height| pixels with its corner at (x1, y1),
    // nearest neighbour with centre sampling; a negative size mirrors towards smaller
    // coordinates. Only the visible part is sampled. Icon pixels blend by their opacity.
    void PaintPicture(const Picture& picture, double x1, double y1, double width, double height);
    // A picture of the whole drawing area as it is now.
    Picture Image() const;
    // Picture assignment: clear to the background, then draw the picture at (0, 0) at its own
    // size. The empty picture only clears.
    void setPicture(const Picture& picture);

    std::int16_t MousePointer() const { return m_mousePointer; }
    void setMousePointer(std::int16_t pointer) { m_mousePointer = pointer; }

    // Asks the window to show the drawing now. The window shows every surface after each
    // handler anyway, so this only counts requests.
    void Refresh() { ++m_refreshCount; }
    int refreshCount() const { return m_refreshCount; }

    // Plain colours of the drawing area, row by row from the top.
    const std::vector<std::uint32_t>& pixels() const { return m_pixels; }
    Colour pixel(int x, int y) const;
    // Puts back a whole drawing area taken earlier from pixels() of a surface of this size; the
    // edit history restores surfaces through it.
    void restorePixels(std::span<const std::uint32_t> pixels);
    // Counts every change of the drawing, so a view can tell when to repaint.
    std::uint64_t revision() const { return m_revision; }
    // The pixels the changes after `revision` changed, as one rectangle, so that a view redraws
    // only those (empty when the changes drew what was there): the whole drawing area when
    // that is further back than the surface remembers, or when `revision` is not one it had.
    PixelArea changedSince(std::uint64_t revision) const;

    // Many rectangles drawn as one change: what painting a run of cells costs is then the
    // pixels, not a change recorded for each. The change is recorded when the batch ends
    // (finish(), or at the latest when it goes away) and covers the rectangles whose pixels it
    // changed: one drawn in the colour already there adds nothing, as with Line. A batch that
    // drew nothing at all records no change.
    class Batch {
    public:
        explicit Batch(PictureBox& surface) : m_surface(surface) {}
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;
        ~Batch() { finish(); }

        // Fills `area`, in whole pixels whatever the scale unit, clipped to the drawing area,
        // with a plain colour as Colour::resolved() gives it.
        void fill(const PixelArea& area, std::uint32_t plain);
        // The one pixel at (x, y), when it lies in the drawing area.
        void set(int x, int y, std::uint32_t plain);
        // Records the change; later fills start another one.
        void finish();

    private:
        PictureBox& m_surface;
        PixelArea m_changed;
        bool m_drawn = false;
    };

private:
    int toPixelX(double x) const;
    int toPixelY(double y) const;
    int toPixelLength(double length) const;
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }
    void setPixel(int x, int y, std::uint32_t plain);
    void fillRect(int left, int top, int right, int bottom, std::uint32_t plain);
    void plainLine(int x1, int y1, int x2, int y2, std::uint32_t plain);
    // Draws `picture` into the pixel rectangle at (x1, y1) of the given signed extent.
    void paintScaled(const Picture& picture, int x1, int y1, int destWidth, int destHeight);
    PixelArea wholeArea() const { return {0, 0, m_width, m_height}; }
    // Counts one change that touched `area` (clipped to the drawing area).
    void recordChange(const PixelArea& area);

    int m_width;
    int m_height;
    Colour m_background;
    ScaleUnit m_unit;
    std::vector<std::uint32_t> m_pixels;
    std::int16_t m_mousePointer = pointers::kDefault;
    int m_refreshCount = 0;
    std::uint64_t m_revision = 0;
    // What the latest changes touched, the change to revision r at r % size: a painting
    // stroke redraws a cell or two, not the whole view.
    static constexpr std::uint64_t kRememberedChanges = 8;
    std::array<PixelArea, kRememberedChanges> m_recentChanges{};
    bool m_pixelsChanged = false;  // by the change being made
};

}  // namespace mosaikon
