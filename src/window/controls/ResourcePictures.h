#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace mosaikon {

// Our own pictures, compiled into the program as PNG files. They are decoded with the editor's
// own PNG reader: Qt's reader loads every image plug-in to ask each one, even when told the
// format, and that was the largest single cost of starting the editor.

// Our pictures are drawn at whole scales: ":/<name>.png", ":/<name>@2x.png", ":/<name>@3x.png".
constexpr int kLargestPictureScale = 3;

// The drawn scale to show at `devicePixelRatio`: the smallest drawn one that covers it, so that
// a picture is only ever made smaller, never blown up.
int pictureScale(qreal devicePixelRatio);

// The picture at ":/<name>.png".
QPixmap resourcePixmap(const QString& name);
// The picture drawn for `devicePixelRatio` (the plain one where the name has no larger
// drawing), marked with the scale it was drawn at.
QPixmap resourcePixmap(const QString& name, qreal devicePixelRatio);
// The plain picture together with the one drawn for `devicePixelRatio`, so that it stays crisp
// there. Only the sizes the display needs are decoded.
QIcon resourceIcon(const QString& name, qreal devicePixelRatio);
// The program's own icon in the sizes a window's title bar and task switcher use.
QIcon programIcon();

}  // namespace mosaikon
