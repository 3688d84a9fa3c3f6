#pragma once

#include <QAccessible>
#include <QCoreApplication>
#include <array>
#include <optional>

#include "ColourChoice.h"

class QLabel;
class QWidget;

namespace mosaikon {

class ClickableLabel;

// Has Qt describe our own controls to assistive technology: the toolbar with one child per
// button, and the widgets given a role with `setAccessibleRole`. Safe to call more than once.
void installAccessibleInterfaces();

// The role assistive technology is told for `widget`; a ClickableLabel given one can also be
// pressed through it.
void setAccessibleRole(QWidget* widget, QAccessible::Role role);

// Keeps the accessible names of the swatches and of the two colour displays in line with the
// colours they show, renaming a control only when its colour has changed.
class AccessibleColourNames {
    Q_DECLARE_TR_FUNCTIONS(AccessibleColourNames)
public:
    using Swatches = std::array<ClickableLabel*, ColourChoice::kSwatchCount>;

    AccessibleColourNames(const ColourChoice& colours, const Swatches& swatches, QLabel* pallet,
                          QLabel* pallet2);
    void update();

private:
    enum class Shows { Swatch, CurrentColour, PickedColour };
    struct Display {
        QWidget* widget;
        const Colour* colour;
        Shows shows;
        std::optional<Colour> named;  // the colour the name was made for
    };
    static void name(Display& display);

    std::array<Display, ColourChoice::kSwatchCount + 2> m_displays;
};

}  // namespace mosaikon
