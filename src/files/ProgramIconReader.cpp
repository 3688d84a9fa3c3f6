#include "ProgramIconReader.h"

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

#include "ByteReader.h"
#include "FieldReader.h"
#include "FileError.h"
#include "IconChoice.h"
#include "IconImage.h"
#include "ProgramResources.h"

namespace mosaikon {

namespace {

// The MS-DOS header every Windows program starts with; e_lfanew at 0x3C leads to the real
// header (Microsoft "PE Format" document, "MS-DOS Stub (Image Only)").
struct DosHeader {
    static constexpr std::size_t kSize = 64;
    std::array<std::uint8_t, 2> magic{};  // "MZ"
    std::uint32_t newHeaderOffset = 0;    // e_lfanew
};

DosHeader parseDosHeader(std::span<const std::uint8_t> bytes) {
    auto in = fieldsOf(bytes, DosHeader::kSize);
    if (!in) throw std::logic_error("An MS-DOS header was read short.");
    DosHeader header;
    header.magic = in->bytes<2>();
    in->skip(0x3C - 2);  // the fields of MS-DOS itself
    header.newHeaderOffset = in->u32();
    in->end();
    return header;
}

// GRPICONDIR and GRPICONDIRENTRY: an icon group resource, laid out as Microsoft's "Icons"
// technical article describes it. Like an icon file's directory, but each entry names the
// image resource by number instead of giving its file offset.
struct GroupDirectoryHeader {
    static constexpr std::size_t kSize = 6;
    std::uint16_t reserved = 0;
    std::uint16_t type = 0;
    std::uint16_t count = 0;
};

struct GroupDirectoryEntry {
    static constexpr std::size_t kSize = 14;
    std::uint8_t width = 0;  // 0 means 256
    std::uint8_t height = 0;
    std::uint8_t colourCount = 0;
    std::uint8_t reserved = 0;
    std::uint16_t planes = 0;
    std::uint16_t bitCount = 0;
    std::uint32_t bytesInResource = 0;
    std::uint16_t id = 0;
};

std::optional<GroupDirectoryHeader> parseGroupDirectoryHeader(std::span<const std::uint8_t> bytes) {
    auto in = fieldsOf(bytes, GroupDirectoryHeader::kSize);
    if (!in) return std::nullopt;
    GroupDirectoryHeader header;
    header.reserved = in->u16();
    header.type = in->u16();
    header.count = in->u16();
    in->end();
    return header;
}

std::optional<GroupDirectoryEntry> parseGroupDirectoryEntry(std::span<const std::uint8_t> bytes) {
    auto in = fieldsOf(bytes, GroupDirectoryEntry::kSize);
    if (!in) return std::nullopt;
    GroupDirectoryEntry entry;
    entry.width = in->u8();
    entry.height = in->u8();
    entry.colourCount = in->u8();
    entry.reserved = in->u8();
    entry.planes = in->u16();
    entry.bitCount = in->u16();
    entry.bytesInResource = in->u32();
    entry.id = in->u16();
    in->end();
    return entry;
}

constexpr std::uint64_t kMaxGroupBytes =
    GroupDirectoryHeader::kSize + 0xFFFFull * GroupDirectoryEntry::kSize;
// Enough of an image resource for its own header: a PNG signature and header chunk, or the
// largest bitmap header with its colour masks.
constexpr std::uint64_t kImageHeaderBytes = 1024;

std::unique_ptr<ProgramIconDirectory> readIconDirectory(ByteSource& file) {
    if (file.size() < DosHeader::kSize) {
        throw FileError(file.name(), "is not a program file: it is too short.");
    }
    const DosHeader dos =
        parseDosHeader(readRange(file, 0, DosHeader::kSize, DosHeader::kSize, "the MS-DOS header"));
    if (dos.magic[0] != 'M' || dos.magic[1] != 'Z') {
        throw FileError(file.name(), "is not a program file: it does not start with \"MZ\".");
    }
    const std::uint32_t newHeader = dos.newHeaderOffset;
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

std::vector<GroupDirectoryEntry> parseGroup(std::span<const std::uint8_t> bytes,
                                            const std::string& path) {
    const std::optional<GroupDirectoryHeader> header = parseGroupDirectoryHeader(bytes);
    if (!header) {
        throw FileError(path, "is damaged: an icon group is cut short.");
    }
    // The count may claim more entries than the resource holds; only those inside are used.
    const std::size_t fits =
        (bytes.size() - GroupDirectoryHeader::kSize) / GroupDirectoryEntry::kSize;
    const std::size_t count = std::min<std::size_t>(header->count, fits);
    if (count == 0) {
        throw FileError(path, "is damaged: an icon group lists no images.");
    }
    std::vector<GroupDirectoryEntry> entries;
    entries.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        entries.push_back(*parseGroupDirectoryEntry(
            bytes.subspan(GroupDirectoryHeader::kSize + i * GroupDirectoryEntry::kSize)));
    }
    return entries;
}

// The depth image resource `id` declares in its own header, for a group entry that gives none;
// 0 when the image is missing or its header unreadable. Such an image then ranks as the best
// depth, so the file is refused if it might be the one asked for.
int depthOfImage(ProgramIconDirectory& directory, ByteSource& file, std::uint16_t id) {
    try {
        const std::optional<ResourceSpan> span = directory.image(id);
        if (!span) {
            return 0;
        }
        const std::vector<std::uint8_t> head =
            readRange(file, span->offset, std::min<std::uint64_t>(span->size, kImageHeaderBytes),
                      kImageHeaderBytes, "an icon image");
        return describeIconImage(head, file.name()).bitCount;
    } catch (const FileError&) {
        return 0;
    }
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

ProgramIcon readProgramIcon(ByteSource& file, std::uint16_t group) {
    const std::unique_ptr<ProgramIconDirectory> directory = readIconDirectory(file);
    if (directory->groupCount() == 0) {
        throw FileError(file.name(), "holds no icons.");
    }
    const std::uint16_t used = group < directory->groupCount() ? group : std::uint16_t{0};

    const ResourceSpan groupSpan = directory->group(used);
    const std::vector<std::uint8_t> groupBytes =
        readRange(file, groupSpan.offset, groupSpan.size, kMaxGroupBytes, "an icon group");
    const std::vector<GroupDirectoryEntry> entries = parseGroup(groupBytes, file.name());

    std::vector<IconCandidate> candidates;
    candidates.reserve(entries.size());
    for (const GroupDirectoryEntry& entry : entries) {
        int depth = directoryBitCount(entry.bitCount, entry.colourCount);
        if (depth == 0) {
            depth = depthOfImage(*directory, file, entry.id);
        }
        candidates.push_back(IconCandidate{entry.width == 0 ? 256 : entry.width,
                                           entry.height == 0 ? 256 : entry.height, depth});
    }
    const GroupDirectoryEntry& chosen = entries[chooseIconFor32(candidates)];
    const std::optional<ResourceSpan> imageSpan = directory->image(chosen.id);
    if (!imageSpan) {
        throw FileError(file.name(), "is damaged: an icon group refers to image " +
                                         std::to_string(chosen.id) +
                                         ", which the file does not contain.");
    }
    const std::vector<std::uint8_t> imageBytes =
        readRange(file, imageSpan->offset, imageSpan->size, kMaxResourceBytes, "an icon image");
    return ProgramIcon{decodeIconImage(imageBytes, file.name()), used};
}

}  // namespace mosaikon
