#pragma once

#include <QImage>

#include "Picture.h"

namespace mosaikon {

// `picture` as an image with each pixel's own colour and opacity, for showing it in a list or a
// menu.
QImage pictureImage(const Picture& picture);

}  // namespace mosaikon
