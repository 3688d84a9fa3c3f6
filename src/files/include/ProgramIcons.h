#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <utility>

#include "ByteSource.h"
#include "Colour.h"
#include "Picture.h"
#include "PictureBox.h"

namespace mosaikon {

// Our own layer in place of the desktop's icon functions: taking the icon of a program file,
// drawing an icon onto a surface, and releasing it. The names and arguments are those the
// editor's commands are written against.

// Room every path buffer handed to ExtractAssociatedIconA must have at least.
inline constexpr std::size_t kMaxPath = 260;

// An icon owned by whoever holds it. Moving hands it on; destroying it (or letting it go out of
// scope) releases it, so no path through a command can leak one.
class IconHandle {
public:
    IconHandle() = default;
    explicit IconHandle(Picture icon) : m_icon(std::move(icon)) {}
    IconHandle(IconHandle&& other) noexcept : m_icon(std::exchange(other.m_icon, Picture{})) {}
    IconHandle& operator=(IconHandle&& other) noexcept {
        m_icon = std::exchange(other.m_icon, Picture{});
        return *this;
    }
    IconHandle(const IconHandle&) = delete;
    IconHandle& operator=(const IconHandle&) = delete;

    // False for the handle that stands for "no icon".
    explicit operator bool() const { return !m_icon.isEmpty(); }
    const Picture& picture() const { return m_icon; }
    void release() { m_icon = Picture{}; }

private:
    Picture m_icon;
};

// The running program, as far as icon extraction needs it: it supplies the icon given when a
// file has none of its own.
class ModuleInstance {
public:
    explicit ModuleInstance(Picture substituteIcon) : m_substitute(std::move(substituteIcon)) {}
    // This program, whose substitute is the generic application icon.
    static const ModuleInstance& program();
    const Picture& substituteIcon() const { return m_substitute; }

private:
    Picture m_substitute;
};

// Takes the icon at index (*iconIndex & 0xFFFF) of the program file or library whose path
// (UTF-8, NUL-terminated) is in `iconPath`, the image a 32 × 32 request gets from that group.
// An index past the file's last icon takes its first and writes 0 back. A file with no usable
// icon (none at all, not a program, damaged, or not readable) gives `instance`'s substitute
// icon, and 0 is written back; the result is empty only when the substitute is. Throws only what
// no file can cause: std::bad_alloc, or std::logic_error for a programming error.
IconHandle ExtractAssociatedIconA(const ModuleInstance& instance, std::span<char> iconPath,
                                  std::int32_t* iconIndex);

// The same for a program file already open as `file`.
IconHandle extractIconOf(const ModuleInstance& instance, ByteSource& file, std::int32_t* iconIndex);

// What DrawIconEx draws: the mask darkens the surface where the icon is opaque, the image
// paints the colours ignoring transparency, both together draw the icon as it should look.
namespace iconflags {
inline constexpr unsigned kMask = 1;
inline constexpr unsigned kImage = 2;
inline constexpr unsigned kNormal = kMask | kImage;
}  // namespace iconflags

// Draws `icon` onto `surface` stretched to `width` × `height` with its corner at (x, y), by the
// surface's own nearest-neighbour rule; 0 for a size means the icon's own. With kNormal, fully
// transparent pixels leave the surface as it was and partial opacity blends over it. A
// `flickerFreeBrush` fills the rectangle first. `step` (the frame of an animated cursor) has no
// meaning for icons. Returns false, drawing nothing, for an empty handle, a negative size or
// flags that draw neither part.
bool DrawIconEx(PictureBox& surface, int x, int y, const IconHandle& icon, int width, int height,
                unsigned step, std::optional<Colour> flickerFreeBrush, unsigned flags);

// Releases the icon; the handle is empty afterwards. False when it already was.
bool DestroyIcon(IconHandle& icon);

}  // namespace mosaikon
