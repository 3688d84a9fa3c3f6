#include "access/ColourNames.h"

#include <array>
#include <cstdint>
#include <utility>

namespace mosaikon {

namespace {

// The names of the classic desktop's system colours, by index, as the colour table counts them.
constexpr std::array<const char*, 31> kSystemColourNames = {
    QT_TRANSLATE_NOOP("ColourNames", "Scroll bar"),
    QT_TRANSLATE_NOOP("ColourNames", "Desktop background"),
    QT_TRANSLATE_NOOP("ColourNames", "Active title bar"),
    QT_TRANSLATE_NOOP("ColourNames", "Inactive title bar"),
    QT_TRANSLATE_NOOP("ColourNames", "Menu background"),
    QT_TRANSLATE_NOOP("ColourNames", "Window background"),
    QT_TRANSLATE_NOOP("ColourNames", "Window frame"),
    QT_TRANSLATE_NOOP("ColourNames", "Menu text"),
    QT_TRANSLATE_NOOP("ColourNames", "Window text"),
    QT_TRANSLATE_NOOP("ColourNames", "Title bar text"),
    QT_TRANSLATE_NOOP("ColourNames", "Active border"),
    QT_TRANSLATE_NOOP("ColourNames", "Inactive border"),
    QT_TRANSLATE_NOOP("ColourNames", "Application workspace"),
    QT_TRANSLATE_NOOP("ColourNames", "Selected item background"),
    QT_TRANSLATE_NOOP("ColourNames", "Selected item text"),
    QT_TRANSLATE_NOOP("ColourNames", "Button face"),
    QT_TRANSLATE_NOOP("ColourNames", "Button shadow"),
    QT_TRANSLATE_NOOP("ColourNames", "Disabled text"),
    QT_TRANSLATE_NOOP("ColourNames", "Button text"),
    QT_TRANSLATE_NOOP("ColourNames", "Inactive title bar text"),
    QT_TRANSLATE_NOOP("ColourNames", "3-D highlight"),
    QT_TRANSLATE_NOOP("ColourNames", "3-D dark shadow"),
    QT_TRANSLATE_NOOP("ColourNames", "3-D light"),
    QT_TRANSLATE_NOOP("ColourNames", "Tooltip text"),
    QT_TRANSLATE_NOOP("ColourNames", "Tooltip background"),
    QT_TRANSLATE_NOOP("ColourNames", "Alternate button face"),
    QT_TRANSLATE_NOOP("ColourNames", "Hot-tracked item"),
    QT_TRANSLATE_NOOP("ColourNames", "Active title bar gradient"),
    QT_TRANSLATE_NOOP("ColourNames", "Inactive title bar gradient"),
    QT_TRANSLATE_NOOP("ColourNames", "Highlighted menu item"),
    QT_TRANSLATE_NOOP("ColourNames", "Menu bar"),
};

// The sixteen colours every palette shares, and the window's own light grey, as 0x00BBGGRR.
constexpr std::array<std::pair<std::uint32_t, const char*>, 17> kPlainColourNames = {{
    {0x000000, QT_TRANSLATE_NOOP("ColourNames", "Black")},
    {0xFFFFFF, QT_TRANSLATE_NOOP("ColourNames", "White")},
    {0x0000FF, QT_TRANSLATE_NOOP("ColourNames", "Red")},
    {0x00FF00, QT_TRANSLATE_NOOP("ColourNames", "Green")},
    {0xFF0000, QT_TRANSLATE_NOOP("ColourNames", "Blue")},
    {0x00FFFF, QT_TRANSLATE_NOOP("ColourNames", "Yellow")},
    {0xFFFF00, QT_TRANSLATE_NOOP("ColourNames", "Cyan")},
    {0xFF00FF, QT_TRANSLATE_NOOP("ColourNames", "Magenta")},
    {0x000080, QT_TRANSLATE_NOOP("ColourNames", "Dark red")},
    {0x008000, QT_TRANSLATE_NOOP("ColourNames", "Dark green")},
    {0x800000, QT_TRANSLATE_NOOP("ColourNames", "Dark blue")},
    {0x008080, QT_TRANSLATE_NOOP("ColourNames", "Olive")},
    {0x808000, QT_TRANSLATE_NOOP("ColourNames", "Teal")},
    {0x800080, QT_TRANSLATE_NOOP("ColourNames", "Purple")},
    {0xC0C0C0, QT_TRANSLATE_NOOP("ColourNames", "Silver")},
    {0x808080, QT_TRANSLATE_NOOP("ColourNames", "Grey")},
    {0xE0E0E0, QT_TRANSLATE_NOOP("ColourNames", "Light grey")},
}};

}  // namespace

QString ColourNames::name(Colour colour) {
    if (colour.isSystemReference()) {
        const std::uint32_t index = colour.value() - Colour::kSystemFlag;
        if (index < kSystemColourNames.size()) {
            return tr(kSystemColourNames[index]);
        }
        return tr("System colour %1").arg(index);
    }
    return shownName(colour);
}

QString ColourNames::shownName(Colour colour) {
    const Colour plain = colour.resolved();
    for (const auto& [value, name] : kPlainColourNames) {
        if (plain.value() == value) {
            return tr(name);
        }
    }
    return tr("Red %1, green %2, blue %3").arg(plain.red()).arg(plain.green()).arg(plain.blue());
}

}  // namespace mosaikon
