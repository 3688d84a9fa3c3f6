#include "ProgramIcons.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "FileBytes.h"
#include "FileError.h"
#include "ProgramIconReader.h"
#include "program/GenericAppIcon.h"

namespace mosaikon {

const ModuleInstance& ModuleInstance::program() {
    static const ModuleInstance instance(genericApplicationIcon());
    return instance;
}

namespace {

IconHandle substituteFor(const ModuleInstance& instance, std::int32_t* iconIndex) {
    if (iconIndex != nullptr) {
        *iconIndex = 0;
    }
    return IconHandle(instance.substituteIcon());
}

}  // namespace

IconHandle ExtractAssociatedIconA(const ModuleInstance& instance, std::span<char> iconPath,
                                  std::int32_t* iconIndex) {
    const auto end = std::find(iconPath.begin(), iconPath.end(), '\0');
    // A buffer without its terminating NUL holds no path we could trust.
    if (end != iconPath.end() && end != iconPath.begin()) {
        std::optional<FileBytes> file;
        try {
            file.emplace(std::string(iconPath.begin(), end));
        } catch (const FileError&) {
            // Missing or unreadable: no usable icon, so the substitute below.
        }
        if (file) {
            return extractIconOf(instance, *file, iconIndex);
        }
    }
    return substituteFor(instance, iconIndex);
}

IconHandle extractIconOf(const ModuleInstance& instance, ByteSource& file,
                         std::int32_t* iconIndex) {
    const std::uint16_t index =
        iconIndex != nullptr ? static_cast<std::uint16_t>(*iconIndex & 0xFFFF) : std::uint16_t{0};
    try {
        ProgramIcon icon = readProgramIcon(file, index);
        if (iconIndex != nullptr) {
            *iconIndex = icon.group;
        }
        return IconHandle(std::move(icon.picture));
    } catch (const FileError&) {
        // The file has no usable icon, yet the person still gets one: the substitute. The
        // desktop's own function reports nothing either, and neither do its callers.
    }
    return substituteFor(instance, iconIndex);
}

namespace {

// The icon with `transform` applied to each of its pixels.
template <typename Transform>
Picture transformed(const Picture& icon, Transform transform) {
    std::vector<Pixel> pixels = icon.allPixels();
    std::transform(pixels.begin(), pixels.end(), pixels.begin(), transform);
    return Picture::fromPixels(PictureKind::Icon, icon.width(), icon.height(), std::move(pixels));
}

}  // namespace

bool DrawIconEx(PictureBox& surface, int x, int y, const IconHandle& icon, int width, int height,
                unsigned /*step*/, std::optional<Colour> flickerFreeBrush, unsigned flags) {
    if (!icon || width < 0 || height < 0 || (flags & iconflags::kNormal) == 0) {
        return false;
    }
    const Picture& picture = icon.picture();
    const int drawWidth = width == 0 ? picture.width() : width;
    const int drawHeight = height == 0 ? picture.height() : height;
    if (flickerFreeBrush) {
        surface.Line(x, y, x + drawWidth - 1, y + drawHeight - 1, *flickerFreeBrush,
                     LineShape::FilledBox);
    }
    switch (flags & iconflags::kNormal) {
        case iconflags::kNormal:
            surface.PaintPicture(picture, x, y, drawWidth, drawHeight);
            break;
        case iconflags::kImage:
            surface.PaintPicture(transformed(picture, [](Pixel p) { return p | 0xFF000000u; }), x,
                                 y, drawWidth, drawHeight);
            break;
        default:  // the mask alone: black, as opaque as the icon is
            surface.PaintPicture(transformed(picture, [](Pixel p) { return p & 0xFF000000u; }), x,
                                 y, drawWidth, drawHeight);
            break;
    }
    return true;
}

bool DestroyIcon(IconHandle& icon) {
    if (!icon) {
        return false;
    }
    icon.release();
    return true;
}

}  // namespace mosaikon
