#include "png/PngFileReader.h"

#include <utility>

#include "png/PngStream.h"
#include "png/StreamedPng.h"

namespace mosaikon {

namespace {

constexpr int kIconEdge = 32;

}  // namespace

Picture readPngFile(std::unique_ptr<ByteSource> file) {
    const PngHeader header = readPngHeader(*file, 0);
    const bool icon = header.width == kIconEdge && header.height == kIconEdge;
    return pngPicture(std::move(file), 0, icon ? PictureKind::Icon : PictureKind::Bitmap,
                      icon ? PngOpacity::Kept : PngOpacity::OverWhite);
}

}  // namespace mosaikon
