#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "ByteSource.h"
#include "FileError.h"
#include "Picture.h"
#include "icon/IconChoice.h"
#include "icon/IconDirectory.h"

namespace mosaikon {

// True when `head` (the first bytes of a file) starts an icon or cursor directory.
bool looksLikeIconFile(std::span<const std::uint8_t> head);

// One image of an icon or cursor file: its directory entry, how the 32 × 32 choice ranks it
// (by its own header, or by its entry when that cannot be read), and what is wrong with it.
struct IconFileImage {
    IconFileEntry entry;
    IconCandidate candidate;
    bool png = false;
    std::optional<FileError> problem;
};

// The images of an icon or cursor file and the one a `side` × `side` request gets (32 × 32: the
// image the editor opens), with the file's bytes. Throws FileError when the file is not an icon
// file or its directory is cut short.
struct IconFileListing {
    std::vector<std::uint8_t> bytes;
    bool cursor = false;
    std::vector<IconFileImage> images;
    std::size_t chosen = 0;
};
IconFileListing listIconFile(ByteSource& file, int side = 32);

// Image `index` of `listing` as an icon picture at its own size: throws what is wrong with it,
// or FileError naming `path` when the listing has no such image or it cannot be decoded.
Picture decodeListedImage(const IconFileListing& listing, std::size_t index,
                          const std::string& path);

// Reads an icon (.ico) or cursor (.cur) file: of its images, the one a `side` × `side` request
// gets, as an icon picture at that image's own size. Throws FileError.
Picture readIconFile(ByteSource& file, int side = 32);

}  // namespace mosaikon
