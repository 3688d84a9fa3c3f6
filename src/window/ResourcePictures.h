#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace mosaikon {

// Our own pictures, compiled into the program as PNG files. They are decoded with the editor's
// own PNG reader: Qt's reader loads every image plug-in to ask each one, even when told the
// format, and that was the largest single cost of starting the editor.

// The picture at ":/<name>.png".
QPixmap resourcePixmap(const QString& name);
// The picture with its twice-size variant ":/<name>@2x.png" where there is one and the display
// scales by more than one, so that it stays crisp there.
QIcon resourceIcon(const QString& name);
// The program's own icon in the sizes a window's title bar and task switcher use.
QIcon programIcon();

}  // namespace mosaikon
