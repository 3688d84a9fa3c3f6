#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "ByteSource.h"
#include "Picture.h"

namespace mosaikon {

// Reads an icon, cursor, bitmap or PNG file, told apart by their content rather than their name:
// an icon or cursor gives an icon picture (the image a 32 × 32 request gets, at its own size), a
// bitmap an opaque bitmap picture, a PNG what readPngFile gives. An empty path gives the empty
// picture. Throws FileError.
Picture LoadPicture(const std::string& path = {});

// What LoadPicture does, for bytes from any source (a file, or memory when fuzzing). A large
// bitmap keeps `source` to read its pixels as they are drawn.
Picture readPicture(std::unique_ptr<ByteSource> source);

// The picture a PNG stream holds, with its opacity, as an icon picture; for pictures that come
// with the program rather than from a file. Throws FileError naming `name`.
Picture pictureFromPng(std::span<const std::uint8_t> png, const std::string& name);

// Writes an icon picture as an icon file and a bitmap picture as a 24-bit bitmap file. The target
// is replaced only once the new file is complete. Throws FileError.
void SavePicture(const Picture& picture, const std::string& path);

}  // namespace mosaikon
