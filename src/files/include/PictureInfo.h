#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ByteSource.h"
#include "FileError.h"

namespace mosaikon {

// What icon, cursor and bitmap files say about themselves, for a listing; nothing is decoded.

struct IconFileImageInfo {
    int width = 0;  // as the image's own header gives it, else as its directory entry does
    int height = 0;
    int bitCount = 0;  // 0 when neither says
    bool png = false;
    int hotspotX = 0;  // cursors only
    int hotspotY = 0;
    std::uint32_t offset = 0;
    std::uint32_t bytesInDirectory = 0;
    // What is wrong with the image, when its header cannot be read.
    std::optional<FileError> problem;
    // Whether a pixel is neither opaque nor clear (soft edges, a shadow); none when the image
    // cannot be decoded.
    std::optional<bool> partialOpacity;
};

struct IconFileInfo {
    bool cursor = false;
    std::vector<IconFileImageInfo> images;
    std::size_t chosen = 0;  // the image the editor opens: the one a 32 × 32 request gets
};

// Throws FileError when the file is not an icon or cursor file or its directory is cut short.
IconFileInfo describeIconFile(ByteSource& file);

struct BitmapFileInfo {
    int width = 0;
    int height = 0;
    bool topDown = false;
    int bitCount = 0;
    std::string compression;  // "none", "RLE8", "RLE4", "bit fields", …
    std::uint32_t headerSize = 0;
    std::uint32_t coloursUsed = 0;
    std::uint64_t pixelsOffset = 0;
};

// Throws FileError when the file is not a bitmap this editor can open.
BitmapFileInfo describeBitmapFile(ByteSource& file);

}  // namespace mosaikon
