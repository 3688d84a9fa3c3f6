#include "IconFileReader.h"

#include <cstddef>
#include <optional>
#include <vector>

#include "FieldReader.h"
#include "FileError.h"
#include "IconChoice.h"
#include "IconImage.h"

namespace mosaikon {

namespace {

// ICONDIR and ICONDIRENTRY as Microsoft's "Icons" article (the "ICO file format" section of the
// Win32 documentation) lays them out. In a cursor file the planes and bit-count fields hold the
// hotspot instead, so neither is trusted: every image is described by its own header.
struct IconDir {
    static constexpr std::size_t kSize = 6;
    std::uint16_t reserved = 0;
    std::uint16_t type = 0;
    std::uint16_t count = 0;
};

struct IconDirEntry {
    static constexpr std::size_t kSize = 16;
    std::uint8_t width = 0;  // 0 means 256
    std::uint8_t height = 0;
    std::uint8_t colourCount = 0;
    std::uint8_t reserved = 0;
    std::uint16_t planes = 0;    // a cursor's hotspot x
    std::uint16_t bitCount = 0;  // a cursor's hotspot y
    std::uint32_t bytesInResource = 0;
    std::uint32_t imageOffset = 0;
};

std::optional<IconDir> parseIconDir(std::span<const std::uint8_t> bytes) {
    auto in = fieldsOf(bytes, IconDir::kSize);
    if (!in) return std::nullopt;
    IconDir dir;
    dir.reserved = in->u16();
    dir.type = in->u16();
    dir.count = in->u16();
    in->end();
    return dir;
}

std::optional<IconDirEntry> parseIconDirEntry(std::span<const std::uint8_t> bytes) {
    auto in = fieldsOf(bytes, IconDirEntry::kSize);
    if (!in) return std::nullopt;
    IconDirEntry entry;
    entry.width = in->u8();
    entry.height = in->u8();
    entry.colourCount = in->u8();
    entry.reserved = in->u8();
    entry.planes = in->u16();
    entry.bitCount = in->u16();
    entry.bytesInResource = in->u32();
    entry.imageOffset = in->u32();
    in->end();
    return entry;
}

constexpr std::uint16_t kTypeIcon = 1;
constexpr std::uint16_t kTypeCursor = 2;
// Icon files hold a few images of at most 256 × 256 pixels; anything larger is not one.
constexpr std::uint64_t kMaxIconFileSize = 64u * 1024u * 1024u;

// What the directory entry alone says of its image, for ranking an image whose own header
// cannot be read. A cursor's entry gives no bit count, only the colour count.
IconCandidate candidateFromDirectory(const IconDirEntry& entry, std::uint16_t type) {
    return IconCandidate{
        entry.width == 0 ? 256 : entry.width, entry.height == 0 ? 256 : entry.height,
        directoryBitCount(type == kTypeIcon ? entry.bitCount : 0, entry.colourCount)};
}

}  // namespace

bool looksLikeIconFile(std::span<const std::uint8_t> head) {
    const std::optional<IconDir> dir = parseIconDir(head);
    return dir && dir->reserved == 0 && (dir->type == kTypeIcon || dir->type == kTypeCursor);
}

Picture readIconFile(ByteSource& file) {
    const std::string& path = file.name();
    if (file.size() > kMaxIconFileSize) {
        throw FileError(path, "is too large to be an icon file.");
    }
    const std::vector<std::uint8_t> bytes = readUpTo(file, 0, file.size());
    const std::span<const std::uint8_t> all(bytes);
    if (!looksLikeIconFile(bytes)) {
        throw FileError(path, "is not an icon file.");
    }
    const IconDir dir = *parseIconDir(bytes);
    if (dir.count == 0) {
        throw FileError(path, "is an icon file without any image.");
    }
    const std::size_t directoryEnd = IconDir::kSize + std::size_t{dir.count} * IconDirEntry::kSize;
    if (bytes.size() < directoryEnd) {
        throw FileError(path, "is truncated: its image directory lists " +
                                  std::to_string(dir.count) + " images but ends early.");
    }

    // Each image runs from its offset to the end of the file: the stored byte counts are often
    // wrong, and each image's own header says how much of that it uses. An image that cannot
    // be described is ranked by its directory entry and refuses the file only if it is chosen,
    // so a damaged image the request would not take does not cost the sound one.
    std::vector<IconCandidate> candidates;
    std::vector<std::uint32_t> offsets;
    std::vector<std::optional<FileError>> problems;
    candidates.reserve(dir.count);
    offsets.reserve(dir.count);
    problems.reserve(dir.count);
    for (std::size_t i = 0; i < dir.count; ++i) {
        const IconDirEntry entry =
            *parseIconDirEntry(all.subspan(IconDir::kSize + i * IconDirEntry::kSize));
        offsets.push_back(entry.imageOffset);
        try {
            if (entry.imageOffset < directoryEnd || entry.imageOffset >= bytes.size()) {
                throw FileError(path, "is damaged: image " + std::to_string(i + 1) +
                                          " is said to lie outside the file.");
            }
            candidates.push_back(describeIconImage(all.subspan(entry.imageOffset), path));
            problems.emplace_back();
        } catch (const FileError& problem) {
            candidates.push_back(candidateFromDirectory(entry, dir.type));
            problems.emplace_back(problem);
        }
    }
    const std::size_t chosen = chooseIconFor32(candidates);
    if (problems[chosen]) {
        throw *problems[chosen];
    }
    return decodeIconImage(all.subspan(offsets[chosen]), path);
}

}  // namespace mosaikon
