#include "IconFileReader.h"

#include <cstddef>
#include <optional>
#include <vector>

#include "FileError.h"
#include "IconChoice.h"
#include "IconDirectory.h"
#include "IconImage.h"

namespace mosaikon {

namespace {

constexpr std::uint16_t kTypeIcon = 1;
constexpr std::uint16_t kTypeCursor = 2;
// Icon files hold a few images of at most 256 × 256 pixels; anything larger is not one.
constexpr std::uint64_t kMaxIconFileSize = 64u * 1024u * 1024u;

// What the directory entry alone says of its image, for ranking an image whose own header
// cannot be read. A cursor's entry gives no bit count, only the colour count.
IconCandidate candidateFromDirectory(const IconEntryDescription& image, std::uint16_t type) {
    return IconCandidate{
        image.widthInPixels(), image.heightInPixels(),
        directoryBitCount(type == kTypeIcon ? image.bitCount : 0, image.colourCount)};
}

}  // namespace

bool looksLikeIconFile(std::span<const std::uint8_t> head) {
    const std::optional<IconDirectoryHeader> dir = parseIconDirectoryHeader(head);
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
    const IconDirectoryHeader dir = *parseIconDirectoryHeader(bytes);
    if (dir.count == 0) {
        throw FileError(path, "is an icon file without any image.");
    }
    const std::size_t directoryEnd =
        IconDirectoryHeader::kSize + std::size_t{dir.count} * IconFileEntry::kSize;
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
        const IconFileEntry entry =
            *parseIconFileEntry(all.subspan(IconDirectoryHeader::kSize + i * IconFileEntry::kSize));
        offsets.push_back(entry.imageOffset);
        try {
            if (entry.imageOffset < directoryEnd || entry.imageOffset >= bytes.size()) {
                throw FileError(path, "is damaged: image " + std::to_string(i + 1) +
                                          " is said to lie outside the file.");
            }
            candidates.push_back(describeIconImage(all.subspan(entry.imageOffset), path));
            problems.emplace_back();
        } catch (const FileError& problem) {
            candidates.push_back(candidateFromDirectory(entry.image, dir.type));
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
