#pragma once

#include <QImage>

#include "IconCanvas.h"

namespace mosaikon {

// The icon as a 32 × 32 image with its own colours and opacity, from the opacity plane: what an
// icon save writes, but with the soft edges kept.
QImage iconImage(const IconCanvas& canvas);
// Takes `image` into the editor as Open Icon takes an opened picture: drawn on the icon surface
// at its own size from the top left, then the view rebuilt from the icon.
void takeImage(IconCanvas& canvas, const QImage& image);

// `picture` as an image: an icon picture at its own size with its opacity, a bitmap with its
// pure-white pixels transparent, as an icon save writes them.
QImage imageOf(const Picture& picture);

void copyIconToClipboard(const IconCanvas& canvas);
void copyPictureToClipboard(const Picture& picture);
// An empty clipboard, or one without an image, changes nothing.
void pasteImageFromClipboard(IconCanvas& canvas);
// The clipboard's image, scaled down to fit 32 × 32 first (its shape kept) when it is larger, as
// the picture to float over the icon. Throws RefusedCommand, saying so, when the clipboard holds
// no image.
Picture floatingPictureFromClipboard();

}  // namespace mosaikon
