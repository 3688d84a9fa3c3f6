#include "icon/IconDirectory.h"

#include <algorithm>

#include "FileError.h"
#include "bytes/FieldReader.h"

namespace mosaikon {

namespace {

// The first twelve bytes of either kind of entry.
void readDescription(FieldReader& in, IconEntryDescription& image) {
    image.width = in.u8();
    image.height = in.u8();
    image.colourCount = in.u8();
    image.reserved = in.u8();
    image.planes = in.u16();
    image.bitCount = in.u16();
    image.bytesInResource = in.u32();
}

}  // namespace

std::optional<IconDirectoryHeader> parseIconDirectoryHeader(std::span<const std::uint8_t> bytes) {
    return parseFields<IconDirectoryHeader>(bytes, [](FieldReader& in, IconDirectoryHeader& h) {
        h.reserved = in.u16();
        h.type = in.u16();
        h.count = in.u16();
    });
}

std::optional<IconFileEntry> parseIconFileEntry(std::span<const std::uint8_t> bytes) {
    return parseFields<IconFileEntry>(bytes, [](FieldReader& in, IconFileEntry& entry) {
        readDescription(in, entry.image);
        entry.imageOffset = in.u32();
    });
}

std::optional<IconGroupEntry> parseIconGroupEntry(std::span<const std::uint8_t> bytes) {
    return parseFields<IconGroupEntry>(bytes, [](FieldReader& in, IconGroupEntry& entry) {
        readDescription(in, entry.image);
        entry.imageId = in.u16();
    });
}

std::vector<IconGroupEntry> parseIconGroup(std::span<const std::uint8_t> bytes,
                                           const std::string& path) {
    const std::optional<IconDirectoryHeader> header = parseIconDirectoryHeader(bytes);
    if (!header) {
        throw FileError(path, "is damaged: an icon group is cut short.");
    }
    // The count may claim more entries than the resource holds; only those inside are used.
    const std::size_t fits = (bytes.size() - IconDirectoryHeader::kSize) / IconGroupEntry::kSize;
    const std::size_t count = std::min<std::size_t>(header->count, fits);
    if (count == 0) {
        throw FileError(path, "is damaged: an icon group lists no images.");
    }
    std::vector<IconGroupEntry> entries;
    entries.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        entries.push_back(*parseIconGroupEntry(
            bytes.subspan(IconDirectoryHeader::kSize + i * IconGroupEntry::kSize)));
    }
    return entries;
}

}  // namespace mosaikon
