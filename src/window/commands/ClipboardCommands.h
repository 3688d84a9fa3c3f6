#pragma once

#include <QImage>

#include "IconCanvas.h"

namespace mosaikon {

// The icon as a 32 × 32 image with its own colours and opacity, from the opacity plane: what an
// icon save writes, but with the soft edges kept.
QImage iconImage(const IconCanvas& canvas);

// `picture` as an image: an icon picture at its own size with its opacity, a bitmap with its
// pure-white pixels transparent, as an icon save writes them.
QImage imageOf(const Picture& picture);

void copyIconToClipboard(const IconCanvas& canvas);
void copyPictureToClipboard(const Picture& picture);
// The clipboard's image, scaled down to fit 32 × 32 first (its shape kept) when it is larger, as
// the picture to float over the icon. Throws RefusedCommand, saying so, when the clipboard holds
// no image.
Picture floatingPictureFromClipboard();

}  // namespace mosaikon
