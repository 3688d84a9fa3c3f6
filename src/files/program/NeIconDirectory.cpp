// The resource table of 16-bit NE files, read for the icon groups and images only. Layouts
// follow Microsoft's NE format documentation ("Executable-File Header Format": the new
// executable header and the resource table with its TYPEINFO and NAMEINFO records).
#include <algorithm>
#include <optional>
#include <span>
#include <vector>

#include "FileError.h"
#include "bytes/FieldReader.h"
#include "program/ProgramIconDirectory.h"

namespace mosaikon {

namespace {

// The new executable header. Only the resource table and the resident-name table that follows
// it are used here; both are given as distances from the start of this header.
struct NeHeader {
    static constexpr std::size_t kSize = 64;
    std::uint16_t resourceTableOffset = 0;
    std::uint16_t residentNamesOffset = 0;
};

std::optional<NeHeader> parseNeHeader(std::span<const std::uint8_t> bytes) {
    return parseFields<NeHeader>(bytes, [](FieldReader& in, NeHeader& header) {
        in.skip(0x24);  // from the magic to the segment table's offset: what the loader needs
        header.resourceTableOffset = in.u16();
        header.residentNamesOffset = in.u16();
        in.skip(0x18);  // from the module-reference table's offset to the Windows version
    });
}

// The resource table starts with the alignment shift of every resource's offset and length.
struct ResourceTableHeader {
    static constexpr std::size_t kSize = 2;
    std::uint16_t alignmentShift = 0;
};

// The type ID that starts each TYPEINFO; a zero one, alone, ends the list of them.
struct TypeId {
    static constexpr std::size_t kSize = 2;
    std::uint16_t typeId = 0;
};

// TYPEINFO: one resource type and the number of NAMEINFO records after it.
struct TypeInfo {
    static constexpr std::size_t kSize = 8;
    std::uint16_t typeId = 0;  // top bit set: an integer type
    std::uint16_t resourceCount = 0;
};

// NAMEINFO: one resource, its position and length in alignment units.
struct NameInfo {
    static constexpr std::size_t kSize = 12;
    std::uint16_t offset = 0;
    std::uint16_t length = 0;
    std::uint16_t id = 0;  // top bit set: an integer ID
};

// The resource table is walked record by record; each of these parses the record at the start
// of `bytes`, or gives nothing when the table ends before it does.
std::optional<ResourceTableHeader> parseResourceTableHeader(std::span<const std::uint8_t> bytes) {
    return parseFields<ResourceTableHeader>(
        bytes,
        [](FieldReader& in, ResourceTableHeader& header) { header.alignmentShift = in.u16(); });
}

std::optional<TypeId> parseTypeId(std::span<const std::uint8_t> bytes) {
    return parseFields<TypeId>(bytes, [](FieldReader& in, TypeId& id) { id.typeId = in.u16(); });
}

std::optional<TypeInfo> parseTypeInfo(std::span<const std::uint8_t> bytes) {
    return parseFields<TypeInfo>(bytes, [](FieldReader& in, TypeInfo& type) {
        type.typeId = in.u16();
        type.resourceCount = in.u16();
        in.skip(4);  // reserved
    });
}

std::optional<NameInfo> parseNameInfo(std::span<const std::uint8_t> bytes) {
    return parseFields<NameInfo>(bytes, [](FieldReader& in, NameInfo& info) {
        info.offset = in.u16();
        info.length = in.u16();
        in.skip(2);  // flags
        info.id = in.u16();
        in.skip(4);  // handle and usage, reserved
    });
}

constexpr std::uint16_t kIntegerId = 0x8000;
// Every table offset in the header is a 16-bit distance from it, so the resource table lies in
// the 64 KiB after the header; nothing beyond that can belong to it.
constexpr std::uint64_t kMaxResourceTableBytes = 0x10000;
// Offsets are 16-bit counts of 2^shift bytes; a shift past 31 would point beyond any file.
constexpr std::uint16_t kMaxAlignmentShift = 31;

class NeIconDirectory final : public ProgramIconDirectory {
public:
    NeIconDirectory(ByteSource& file, std::vector<std::uint8_t> table, unsigned shift,
                    std::vector<NameInfo> groups, std::vector<NameInfo> images)
        : m_file(file),
          m_table(std::move(table)),
          m_shift(shift),
          m_groups(std::move(groups)),
          m_images(std::move(images)) {}

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
    // A name is a string in the resource table: a length byte, then that many characters,
    // which are taken as Latin-1.
    ResourceName groupName(std::size_t index) override {
        const std::uint16_t id = m_groups.at(index).id;
        if ((id & kIntegerId) != 0) {
            return ResourceName{std::nullopt, static_cast<std::uint16_t>(id & ~kIntegerId)};
        }
        if (id >= m_table.size() || m_table[id] > m_table.size() - id - 1) {
            throw FileError(m_file.name(),
                            "is damaged: an icon group's name lies outside the "
                            "resource table.");
        }
        std::vector<std::uint16_t> text(m_table.begin() + id + 1,
                                        m_table.begin() + id + 1 + m_table[id]);
        return ResourceName{utf8FromUtf16(text), 0};
    }
    const char* format() const override { return "NE"; }

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
        return {offset, static_cast<std::uint32_t>(inside), m_shift > 0};
    }

    ByteSource& m_file;
    std::vector<std::uint8_t> m_table;  // the resource table, where names are kept
    unsigned m_shift;
    std::vector<NameInfo> m_groups;
    std::vector<NameInfo> m_images;
};

// The resource table's bytes: from its offset up to the resident-name table that follows it,
// within the file and the 64 KiB the header's offsets can reach.
std::vector<std::uint8_t> readResourceTable(ByteSource& file, std::uint64_t neHeaderOffset,
                                            const NeHeader& header) {
    const std::uint16_t tableOffset = header.resourceTableOffset;
    const std::uint16_t namesOffset = header.residentNamesOffset;
    const std::uint64_t tableStart = neHeaderOffset + tableOffset;
    if (tableStart >= file.size()) {
        throw FileError(file.name(),
                        "is damaged: its resource table lies past the end of the file.");
    }
    std::uint64_t tableLength = namesOffset > tableOffset ? std::uint64_t{namesOffset} - tableOffset
                                                          : kMaxResourceTableBytes;
    tableLength = std::min(tableLength, file.size() - tableStart);
    return readRange(file, tableStart, tableLength, kMaxResourceTableBytes, "the resource table");
}

// The shift the table's header gives every resource's offset and length.
unsigned alignmentShiftOf(std::span<const std::uint8_t> table, const std::string& path) {
    const std::optional<ResourceTableHeader> tableHeader = parseResourceTableHeader(table);
    if (!tableHeader) {
        throw FileError(path, "is damaged: its resource table is cut short.");
    }
    const std::uint16_t shift = tableHeader->alignmentShift;
    if (shift > kMaxAlignmentShift) {
        throw FileError(path, "is damaged: its resource alignment shift " + std::to_string(shift) +
                                  " is too large.");
    }
    return shift;
}

// The NAMEINFO records of the icon groups and of the icon images, in stored order.
struct IconResources {
    std::vector<NameInfo> groups;
    std::vector<NameInfo> images;
};

// Walks the TYPEINFO records after the table's header up to the zero type ID that ends them.
IconResources listIconResources(std::span<const std::uint8_t> table, const std::string& path) {
    IconResources icons;
    std::size_t position = ResourceTableHeader::kSize;
    // Each record moves on by at least its own eight bytes, so the walk ends within the table.
    for (;;) {
        const std::optional<TypeId> typeId = parseTypeId(table.subspan(position));
        if (!typeId) {
            throw FileError(path, "is damaged: its resource table has no end marker.");
        }
        if (typeId->typeId == 0) {
            return icons;
        }
        const std::optional<TypeInfo> type = parseTypeInfo(table.subspan(position));
        if (!type) {
            throw FileError(path, "is damaged: its resource table is cut short.");
        }
        position += TypeInfo::kSize;
        const std::size_t recordBytes = std::size_t{type->resourceCount} * NameInfo::kSize;
        if (table.size() - position < recordBytes) {
            throw FileError(path,
                            "is damaged: its resource table lists more resources than it holds.");
        }
        std::vector<NameInfo>* into = nullptr;
        if (type->typeId == (kIntegerId | kResourceTypeGroupIcon)) {
            into = &icons.groups;
        } else if (type->typeId == (kIntegerId | kResourceTypeIcon)) {
            into = &icons.images;
        }
        for (std::size_t i = 0; into != nullptr && i < type->resourceCount; ++i) {
            into->push_back(*parseNameInfo(table.subspan(position + i * NameInfo::kSize)));
        }
        position += recordBytes;
    }
}

}  // namespace

std::unique_ptr<ProgramIconDirectory> readNeIconDirectory(ByteSource& file,
                                                          std::uint64_t neHeaderOffset) {
    const NeHeader header = readStructure(file, neHeaderOffset, "the NE header", parseNeHeader);
    if (header.resourceTableOffset == header.residentNamesOffset) {
        return emptyIconDirectory("NE");  // the header's way of saying there are no resources
    }
    std::vector<std::uint8_t> table = readResourceTable(file, neHeaderOffset, header);
    const unsigned shift = alignmentShiftOf(table, file.name());
    IconResources icons = listIconResources(table, file.name());
    return std::make_unique<NeIconDirectory>(file, std::move(table), shift, std::move(icons.groups),
                                             std::move(icons.images));
}

}  // namespace mosaikon
