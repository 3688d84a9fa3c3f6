#include "icon/IconFileReader.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "FileError.h"
#include "icon/IconChoice.h"
#include "icon/IconDirectory.h"
#include "icon/IconImage.h"
#include "png/PngImage.h"

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

IconFileListing listIconFile(ByteSource& file, int side) {
    const std::string& path = file.name();
    if (file.size() > kMaxIconFileSize) {
        throw FileError(path, "is too large to be an icon file.");
    }
    IconFileListing listing;
    listing.bytes = readUpTo(file, 0, file.size());
    const std::span<const std::uint8_t> all(listing.bytes);
    if (!looksLikeIconFile(all)) {
        throw FileError(path, "is not an icon file.");
    }
    const IconDirectoryHeader dir = *parseIconDirectoryHeader(all);
    listing.cursor = dir.type == kTypeCursor;
    if (dir.count == 0) {
        throw FileError(path, "is an icon file without any image.");
    }
    const std::size_t directoryEnd =
        IconDirectoryHeader::kSize + std::size_t{dir.count} * IconFileEntry::kSize;
    if (all.size() < directoryEnd) {
        throw FileError(path, "is truncated: its image directory lists " +
                                  std::to_string(dir.count) + " images but ends early.");
    }

    // Each image runs from its offset to the end of the file: the stored byte counts are often
    // wrong, and each image's own header says how much of that it uses. An image that cannot
    // be described is ranked by its directory entry and refuses the file only if it is chosen,
    // so a damaged image the request would not take does not cost the sound one.
    std::vector<IconCandidate> candidates;
    candidates.reserve(dir.count);
    listing.images.reserve(dir.count);
    for (std::size_t i = 0; i < dir.count; ++i) {
        IconFileImage image;
        image.entry =
            *parseIconFileEntry(all.subspan(IconDirectoryHeader::kSize + i * IconFileEntry::kSize));
        try {
            if (image.entry.imageOffset < directoryEnd || image.entry.imageOffset >= all.size()) {
                throw FileError(path, "is damaged: image " + std::to_string(i + 1) +
                                          " is said to lie outside the file.");
            }
            const std::span<const std::uint8_t> bytes = all.subspan(image.entry.imageOffset);
            image.candidate = describeIconImage(bytes, path);
            image.png = hasPngSignature(bytes);
        } catch (const FileError& problem) {
            image.candidate = candidateFromDirectory(image.entry.image, dir.type);
            image.problem = problem;
        }
        candidates.push_back(image.candidate);
        listing.images.push_back(std::move(image));
    }
    listing.chosen = chooseIconForSide(candidates, side);
    return listing;
}

Picture decodeListedImage(const IconFileListing& listing, std::size_t index,
                          const std::string& path) {
    if (index >= listing.images.size()) {
        throw FileError(path, "has no image " + std::to_string(index + 1) + ".");
    }
    const IconFileImage& image = listing.images[index];
    if (image.problem) {
        throw *image.problem;
    }
    return decodeIconImage(std::span(listing.bytes).subspan(image.entry.imageOffset), path);
}

Picture readIconFile(ByteSource& file, int side) {
    const IconFileListing listing = listIconFile(file, side);
    return decodeListedImage(listing, listing.chosen, file.name());
}

}  // namespace mosaikon
