#include "icon/IconDirectory.h"

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

}  // namespace mosaikon
