#include "ProgramIconReader.h"

#include <memory>
#include <vector>

#include "ByteReader.h"
#include "FileError.h"
#include "IconChoice.h"
#include "IconImage.h"
#include "ProgramResources.h"

namespace mosaikon {

namespace {

// The MS-DOS header every Windows program starts with; e_lfanew at 0x3C leads to the real
// header (Microsoft "PE Format" document, "MS-DOS Stub (Image Only)").
struct DosHeader {
    std::uint16_t magic;  // "MZ"
    std::uint16_t fields[29];
    std::uint32_t newHeaderOffset;  // e_lfanew
};
static_assert(sizeof(DosHeader) == 64);

// GRPICONDIR and GRPICONDIRENTRY: an icon group resource, laid out as Microsoft's "Icons"
// technical article describes it. Like an icon file's directory, but each entry names the
// image resource by number instead of giving its file offset.
struct GroupDirectoryHeader {
    std::uint16_t reserved;
    std::uint16_t type;
    std::uint16_t count;
};
static_assert(sizeof(GroupDirectoryHeader) == 6);

#pragma pack(push, 2)
struct GroupDirectoryEntry {
    std::uint8_t width;  // 0 means 256
    std::uint8_t height;
    std::uint8_t colourCount;
    std::uint8_t reserved;
    std::uint16_t planes;
    std::uint16_t bitCount;
    std::uint32_t bytesInResource;
    std::uint16_t id;
};
#pragma pack(pop)
static_assert(sizeof(GroupDirectoryEntry) == 14);

constexpr std::uint64_t kMaxGroupBytes =
    sizeof(GroupDirectoryHeader) + 0xFFFFull * sizeof(GroupDirectoryEntry);

struct GroupImage {
    IconCandidate candidate;
    std::uint16_t id = 0;
};

std::unique_ptr<ProgramIconDirectory> readIconDirectory(ByteSource& file) {
    if (file.size() < sizeof(DosHeader)) {
        throw FileError(file.name(), "is not a program file: it is too short.");
    }
    const std::vector<std::uint8_t> dos =
        readRange(file, 0, sizeof(DosHeader), sizeof(DosHeader), "the MS-DOS header");
    if (dos[0] != 'M' || dos[1] != 'Z') {
        throw FileError(file.name(), "is not a program file: it does not start with \"MZ\".");
    }
    const std::uint32_t newHeader = le32(dos, 0x3C);
    if (newHeader > file.size() || file.size() - newHeader < 4) {
        throw FileError(file.name(), "is not a Windows program file: it has no PE or NE header.");
    }
    const std::vector<std::uint8_t> signature =
        readRange(file, newHeader, 4, 4, "the program header");
    if (signature[0] == 'P' && signature[1] == 'E' && signature[2] == 0 && signature[3] == 0) {
        return readPeIconDirectory(file, newHeader);
    }
    if (signature[0] == 'N' && signature[1] == 'E') {
        return readNeIconDirectory(file, newHeader);
    }
    throw FileError(file.name(), "is not a Windows program file: it has no PE or NE header.");
}

// A directory entry that gives no bit count may still give the number of colours.
int bitCountOf(std::uint16_t bitCount, std::uint8_t colourCount) {
    if (bitCount != 0) {
        return bitCount;
    }
    int bits = 0;
    while (bits < 8 && (1 << bits) < colourCount) {
        ++bits;
    }
    return bits;
}

std::vector<GroupImage> parseGroup(std::span<const std::uint8_t> bytes, const std::string& path) {
    if (bytes.size() < sizeof(GroupDirectoryHeader)) {
        throw FileError(path, "is damaged: an icon group is cut short.");
    }
    // The count may claim more entries than the resource holds; only those inside are used.
    const std::size_t fits =
        (bytes.size() - sizeof(GroupDirectoryHeader)) / sizeof(GroupDirectoryEntry);
    const std::size_t count = std::min<std::size_t>(le16(bytes, 4), fits);
    if (count == 0) {
        throw FileError(path, "is damaged: an icon group lists no images.");
    }
    std::vector<GroupImage> images;
    images.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const auto entry =
            bytes.subspan(sizeof(GroupDirectoryHeader) + i * sizeof(GroupDirectoryEntry));
        GroupImage image;
        image.candidate.width = entry[0] == 0 ? 256 : entry[0];
        image.candidate.height = entry[1] == 0 ? 256 : entry[1];
        image.candidate.bitCount = bitCountOf(le16(entry, 6), entry[2]);
        image.id = le16(entry, 12);
        images.push_back(image);
    }
    return images;
}

}  // namespace

std::unique_ptr<ProgramIconDirectory> emptyIconDirectory() {
    class NoIcons final : public ProgramIconDirectory {
    public:
        std::size_t groupCount() const override { return 0; }
        ResourceSpan group(std::size_t) override { return {}; }
        std::optional<ResourceSpan> image(std::uint16_t) override { return std::nullopt; }
    };
    return std::make_unique<NoIcons>();
}

std::size_t countProgramIconGroups(ByteSource& file) {
    return readIconDirectory(file)->groupCount();
}

Picture readProgramIcon(ByteSource& file, std::uint16_t& index) {
    const std::unique_ptr<ProgramIconDirectory> directory = readIconDirectory(file);
    if (directory->groupCount() == 0) {
        throw FileError(file.name(), "holds no icons.");
    }
    const std::uint16_t used = index < directory->groupCount() ? index : std::uint16_t{0};

    const ResourceSpan groupSpan = directory->group(used);
    const std::vector<std::uint8_t> groupBytes =
        readRange(file, groupSpan.offset, groupSpan.size, kMaxGroupBytes, "an icon group");
    const std::vector<GroupImage> images = parseGroup(groupBytes, file.name());

    std::vector<IconCandidate> candidates;
    candidates.reserve(images.size());
    for (const GroupImage& image : images) {
        candidates.push_back(image.candidate);
    }
    const GroupImage& chosen = images[chooseIconFor32(candidates)];
    const std::optional<ResourceSpan> imageSpan = directory->image(chosen.id);
    if (!imageSpan) {
        throw FileError(file.name(), "is damaged: an icon group refers to image " +
                                         std::to_string(chosen.id) +
                                         ", which the file does not contain.");
    }
    const std::vector<std::uint8_t> imageBytes =
        readRange(file, imageSpan->offset, imageSpan->size, kMaxResourceBytes, "an icon image");
    Picture picture = decodeIconImage(imageBytes, file.name());
    index = used;
    return picture;
}

}  // namespace mosaikon
