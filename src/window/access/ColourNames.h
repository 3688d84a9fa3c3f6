#pragma once

#include <QCoreApplication>
#include <QString>

#include "Colour.h"

namespace mosaikon {

// Colours in words, for people who hear the window rather than see it: a system colour
// reference by the desktop element it stands for ("Button face"), a common plain colour by its
// name ("Dark red"), any other by its three components.
class ColourNames {
    Q_DECLARE_TR_FUNCTIONS(ColourNames)
public:
    static QString name(Colour colour);
    // The plain colour a reference shows on this desktop, in words; a plain colour's own name.
    static QString shownName(Colour colour);
};

}  // namespace mosaikon
