// The resource table of 16-bit NE files, read for the icon groups and images only. Layouts
// follow Microsoft's NE format documentation ("Executable-File Header Format": the new
// executable header and the resource table with its TYPEINFO and NAMEINFO records).
#include <algorithm>
#include <vector>

#include "ByteReader.h"
#include "FileError.h"
#include "ProgramResources.h"

namespace mosaikon {

namespace {

// The new executable header. Only the resource table and the resident-name table that follows
// it are used here.
struct NeHeader {
    std::uint16_t magic;
    std::uint8_t linkerVersion;
    std::uint8_t linkerRevision;
    std::uint16_t entryTableOffset;
    std::uint16_t entryTableLength;
    std::uint32_t crc;
    std::uint16_t flags;
    std::uint16_t autoDataSegment;
    std::uint16_t heapSize;
    std::uint16_t stackSize;
    std::uint32_t csIp;
    std::uint32_t ssSp;
    std::uint16_t segmentCount;
    std::uint16_t moduleReferenceCount;
    std::uint16_t nonResidentNamesLength;
    std::uint16_t segmentTableOffset;
    std::uint16_t resourceTableOffset;
    std::uint16_t residentNamesOffset;
    std::uint16_t moduleReferenceOffset;
    std::uint16_t importedNamesOffset;
    std::uint32_t nonResidentNamesPosition;
    std::uint16_t movableEntryCount;
    std::uint16_t segmentAlignmentShift;
    std::uint16_t resourceSegmentCount;
    std::uint8_t targetSystem;
    std::uint8_t otherFlags;
    std::uint16_t fastLoadOffset;
    std::uint16_t fastLoadLength;
    std::uint16_t minimumCodeSwapArea;
    std::uint16_t expectedWindowsVersion;
};
static_assert(sizeof(NeHeader) == 64);

// TYPEINFO: one resource type and the number of NAMEINFO records after it.
struct TypeInfo {
    std::uint16_t typeId;  // top bit set: an integer type
    std::uint16_t resourceCount;
    std::uint32_t reserved;
};
static_assert(sizeof(TypeInfo) == 8);

// NAMEINFO: one resource, its position and length in alignment units.
struct NameInfo {
    std::uint16_t offset;
    std::uint16_t length;
    std::uint16_t flags;
    std::uint16_t id;  // top bit set: an integer ID
    std::uint16_t handle;
    std::uint16_t usage;
};
static_assert(sizeof(NameInfo) == 12);

constexpr std::uint16_t kIntegerId = 0x8000;
// Every table offset in the header is a 16-bit distance from it, so the resource table lies in
// the 64 KiB after the header; nothing beyond that can belong to it.
constexpr std::uint64_t kMaxResourceTableBytes = 0x10000;
// Offsets are 16-bit counts of 2^shift bytes; a shift past 31 would point beyond any file.
constexpr std::uint16_t kMaxAlignmentShift = 31;

class NeIconDirectory final : public ProgramIconDirectory {
public:
    NeIconDirectory(ByteSource& file, unsigned shift, std::vector<NameInfo> groups,
                    std::vector<NameInfo> images)
        : m_file(file), m_shift(shift), m_groups(std::move(groups)), m_images(std::move(images)) {}

    std::size_t groupCount() const override { return m_groups.size(); }
    ResourceSpan group(std::size_t index) override {
        return spanOf(m_groups.at(index), "an icon group");
    }
    std::optional<ResourceSpan> image(std::uint16_t id) override {
        for (const NameInfo& info : m_images) {
            if (info.id == (kIntegerId | id)) {
                return spanOf(info, "an icon image");
            }
        }
        return std::nullopt;
    }

private:
    // A resource's length is rounded up to the alignment, so the last one may run past the end
    // of a file that was not padded; the part inside the file is what it holds.
    ResourceSpan spanOf(const NameInfo& info, const char* what) const {
        const std::uint64_t offset = std::uint64_t{info.offset} << m_shift;
        const std::uint64_t length = std::uint64_t{info.length} << m_shift;
        if (offset >= m_file.size()) {
            throw FileError(m_file.name(),
                            std::string("is damaged: ") + what + " lies past the end of the file.");
        }
        const std::uint64_t inside = std::min({length, m_file.size() - offset, kMaxResourceBytes});
        return {offset, static_cast<std::uint32_t>(inside)};
    }

    ByteSource& m_file;
    unsigned m_shift;
    std::vector<NameInfo> m_groups;
    std::vector<NameInfo> m_images;
};

}  // namespace

std::unique_ptr<ProgramIconDirectory> readNeIconDirectory(ByteSource& file,
                                                          std::uint64_t neHeaderOffset) {
    const std::vector<std::uint8_t> header =
        readRange(file, neHeaderOffset, sizeof(NeHeader), sizeof(NeHeader), "the NE header");
    const std::uint16_t tableOffset = le16(header, 0x24);
    const std::uint16_t namesOffset = le16(header, 0x26);
    if (tableOffset == namesOffset) {
        return emptyIconDirectory();  // the header's way of saying there are no resources
    }
    const std::uint64_t tableStart = neHeaderOffset + tableOffset;
    if (tableStart >= file.size()) {
        throw FileError(file.name(),
                        "is damaged: its resource table lies past the end of the file.");
    }
    std::uint64_t tableLength = namesOffset > tableOffset ? std::uint64_t{namesOffset} - tableOffset
                                                          : kMaxResourceTableBytes;
    tableLength = std::min(tableLength, file.size() - tableStart);
    const std::vector<std::uint8_t> table =
        readRange(file, tableStart, tableLength, kMaxResourceTableBytes, "the resource table");
    const std::span<const std::uint8_t> bytes(table);
    if (bytes.size() < 2) {
        throw FileError(file.name(), "is damaged: its resource table is cut short.");
    }
    const std::uint16_t shift = le16(bytes, 0);
    if (shift > kMaxAlignmentShift) {
        throw FileError(file.name(), "is damaged: its resource alignment shift " +
                                         std::to_string(shift) + " is too large.");
    }

    std::vector<NameInfo> groups;
    std::vector<NameInfo> images;
    std::size_t position = 2;
    // Each record moves on by at least its own eight bytes, so the walk ends within the table.
    for (;;) {
        if (bytes.size() - position < 2) {
            throw FileError(file.name(), "is damaged: its resource table has no end marker.");
        }
        const std::uint16_t typeId = le16(bytes, position);
        if (typeId == 0) {
            break;
        }
        if (bytes.size() - position < sizeof(TypeInfo)) {
            throw FileError(file.name(), "is damaged: its resource table is cut short.");
        }
        const TypeInfo type{typeId, le16(bytes, position + 2), le32(bytes, position + 4)};
        position += sizeof(TypeInfo);
        const std::size_t recordBytes = std::size_t{type.resourceCount} * sizeof(NameInfo);
        if (bytes.size() - position < recordBytes) {
            throw FileError(file.name(),
                            "is damaged: its resource table lists more resources than it holds.");
        }
        std::vector<NameInfo>* into = nullptr;
        if (type.typeId == (kIntegerId | kResourceTypeGroupIcon)) {
            into = &groups;
        } else if (type.typeId == (kIntegerId | kResourceTypeIcon)) {
            into = &images;
        }
        for (std::size_t i = 0; into != nullptr && i < type.resourceCount; ++i) {
            const std::size_t at = position + i * sizeof(NameInfo);
            into->push_back({le16(bytes, at), le16(bytes, at + 2), le16(bytes, at + 4),
                             le16(bytes, at + 6), le16(bytes, at + 8), le16(bytes, at + 10)});
        }
        position += recordBytes;
    }
    return std::make_unique<NeIconDirectory>(file, shift, std::move(groups), std::move(images));
}

}  // namespace mosaikon
