#pragma once

#include <string>

#include "ByteSource.h"
#include "Picture.h"

namespace mosaikon {

// Thumbnails for file managers: what an icon, cursor or program file looks like, no larger than
// a requested size, with the opacity the file gives its pixels.

// The largest side a thumbnail may be asked for.
inline constexpr int kMaxThumbnailSide = 1024;
// The most pixels an image may have to be made into a thumbnail: more would take a file
// manager's thumbnailer longer than the moment it may.
inline constexpr long long kMaxThumbnailSourcePixels = 4096LL * 4096LL;

// `picture` scaled down to fit `side` × `side` when larger, its shape kept: each pixel the mean
// of a few samples of the area it covers, the colour weighted by the opacity, as the 16-pixel
// icon size averages. Only the samples are read, so a picture left in its file costs one pass.
Picture fittedPicture(const Picture& picture, int side);

// For an icon or cursor file, its image closest to `side` × `side` (by the rule a request of
// that size follows); for a program file or library, its first icon group's image closest to
// that size, the program's own icon. Scaled down to fit `side` × `side` when larger, its shape
// kept: each pixel the mean of a few samples of the area it covers, the colour weighted by the
// opacity. Throws FileError when the file is none of those kinds, holds no icon, or its chosen
// image is damaged or larger than kMaxThumbnailSourcePixels; std::invalid_argument for a side
// outside 1 … kMaxThumbnailSide.
Picture thumbnailOf(ByteSource& file, int side);

// Writes the thumbnail of the file at `in` as an RGBA PNG at `out`, replacing it whole or not at
// all; nothing else is written. Throws FileError.
void writeThumbnail(const std::string& in, const std::string& out, int side);

}  // namespace mosaikon
