#include "IconFileReader.h"

#include <cstddef>
#include <vector>

#include "ByteReader.h"
#include "FileError.h"
#include "IconChoice.h"
#include "IconImage.h"

namespace mosaikon {

namespace {

// ICONDIR and ICONDIRENTRY as Microsoft's "Icons" article (the "ICO file format" section of the
// Win32 documentation) lays them out. In a cursor file the planes and bit-count fields hold the
// hotspot instead, so neither is trusted: every image is described by its own header.
struct IconDir {
    std::uint16_t idReserved;
    std::uint16_t idType;
    std::uint16_t idCount;
};
static_assert(sizeof(IconDir) == 6);

struct IconDirEntry {
    std::uint8_t bWidth;
    std::uint8_t bHeight;
    std::uint8_t bColorCount;
    std::uint8_t bReserved;
    std::uint16_t wPlanes;
    std::uint16_t wBitCount;
    std::uint32_t dwBytesInRes;
    std::uint32_t dwImageOffset;
};
static_assert(sizeof(IconDirEntry) == 16);

constexpr std::uint16_t kTypeIcon = 1;
constexpr std::uint16_t kTypeCursor = 2;
// Icon files hold a few images of at most 256 × 256 pixels; anything larger is not one.
constexpr std::uint64_t kMaxIconFileSize = 64u * 1024u * 1024u;

}  // namespace

bool looksLikeIconFile(std::span<const std::uint8_t> head) {
    const ByteReader in(head);
    const auto reserved = in.u16(offsetof(IconDir, idReserved));
    const auto type = in.u16(offsetof(IconDir, idType));
    return reserved && type && *reserved == 0 && (*type == kTypeIcon || *type == kTypeCursor);
}

Picture readIconFile(ByteSource& file) {
    const std::string& path = file.name();
    if (file.size() > kMaxIconFileSize) {
        throw FileError(path, "is too large to be an icon file.");
    }
    const std::vector<std::uint8_t> bytes = readUpTo(file, 0, file.size());
    const ByteReader in(bytes);
    if (!looksLikeIconFile(bytes)) {
        throw FileError(path, "is not an icon file.");
    }
    const auto count = in.u16(offsetof(IconDir, idCount));
    if (!count || *count == 0) {
        throw FileError(path, "is an icon file without any image.");
    }
    const std::size_t directoryEnd = sizeof(IconDir) + std::size_t{*count} * sizeof(IconDirEntry);
    if (!in.has(0, directoryEnd)) {
        throw FileError(path, "is truncated: its image directory lists " + std::to_string(*count) +
                                  " images but ends early.");
    }

    // Each image runs from its offset to the end of the file: the stored byte counts are often
    // wrong, and each image's own header says how much of that it uses.
    std::vector<std::span<const std::uint8_t>> images;
    std::vector<IconCandidate> candidates;
    for (std::size_t i = 0; i < *count; ++i) {
        const std::size_t entry = sizeof(IconDir) + i * sizeof(IconDirEntry);
        const std::uint32_t offset = *in.u32(entry + offsetof(IconDirEntry, dwImageOffset));
        if (offset < directoryEnd || offset >= bytes.size()) {
            throw FileError(path, "is damaged: image " + std::to_string(i + 1) +
                                      " is said to lie outside the file.");
        }
        images.push_back(in.from(offset));
        candidates.push_back(describeIconImage(images.back(), path));
    }
    return decodeIconImage(images[chooseIconFor32(candidates)], path);
}

}  // namespace mosaikon
